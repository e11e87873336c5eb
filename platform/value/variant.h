// vb::Variant — the loosely typed value that crosses every boundary of the
// component: control values, record-set fields, script results, properties.
//
// Subtypes and their VarType numbers are the platform's. Object holds a
// shared reference to a late-bound object (platform/object builds on it);
// Array an immutable array of Variants (variant_array.h), shared by copies
// because nothing an expression does can change an array once made.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <variant>

#include "platform/value/currency.h"
#include "platform/value/date.h"

namespace vb {

enum class VarType : int {
  Empty = 0,
  Null = 1,
  Integer = 2,  // 16-bit
  Long = 3,     // 32-bit
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Boolean = 11,
  Byte = 17,
  // An array of Variants: the platform's array flag (8192) on Variant (12).
  Array = 8204,
};

// Root of every object a Variant can hold. Late binding (member access by
// name) is added by platform/object's Dispatch, which derives from this.
class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;
  // The class name the platform's TypeName reports ("TextBox", "Recordset").
  virtual std::string TypeName() const = 0;
};
using ObjectRef = std::shared_ptr<Object>;

class VariantArray;
using ArrayRef = std::shared_ptr<const VariantArray>;

class Variant {
 public:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };

  Variant() = default;  // Empty
  Variant(bool value) : value_(value) {}
  Variant(int32_t value) : value_(value) {}  // Long
  Variant(float value) : value_(value) {}
  Variant(double value) : value_(value) {}
  Variant(Currency value) : value_(value) {}
  Variant(Date value) : value_(value) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(const char* value) : value_(std::string(value)) {}
  Variant(ObjectRef value) : value_(std::move(value)) {}
  // An array; a null reference is taken as an empty array.
  explicit Variant(ArrayRef value);

  static Variant Null() { return Variant(NullTag{}); }
  static Variant Integer(int16_t value) { return Variant(value); }
  static Variant Byte(uint8_t value) { return Variant(value); }

  VarType type() const;
  // The platform's TypeName: "Empty", "Null", "Integer", ..., or the
  // object's own class name ("Nothing" for an empty object reference).
  std::string TypeName() const;

  bool IsEmpty() const { return value_.index() == 0; }
  bool IsNull() const { return std::holds_alternative<NullTag>(value_); }
  bool IsObject() const { return std::holds_alternative<ObjectRef>(value_); }
  bool IsString() const { return std::holds_alternative<std::string>(value_); }
  bool IsArray() const { return std::holds_alternative<SharedArray>(value_); }
  // Integer, Long, Single, Double, Currency, Byte (not Boolean, not Date).
  bool IsNumber() const;

  // The held value of exactly that subtype, or nullptr.
  template <class T>
  const T* get_if() const {
    return std::get_if<T>(&value_);
  }
  // The held array, or nullptr.
  const VariantArray* array() const {
    const SharedArray* held = std::get_if<SharedArray>(&value_);
    return held ? held->array.get() : nullptr;
  }

  // Structural equality: same subtype and same value (for tests and
  // change detection; the platform's "=" lives in the script engine).
  bool operator==(const Variant& other) const = default;

 private:
  // Arrays compare by their elements, not by which copy is held.
  struct SharedArray {
    ArrayRef array;
    bool operator==(const SharedArray& other) const;
  };
  using Storage = std::variant<std::monostate, NullTag, bool, int16_t, int32_t, float, double,
                               Currency, Date, std::string, ObjectRef, uint8_t, SharedArray>;
  explicit Variant(NullTag tag) : value_(tag) {}
  explicit Variant(int16_t value) : value_(value) {}
  explicit Variant(uint8_t value) : value_(value) {}

  Storage value_;
};

// Writes the subtype and the value ("Currency 12.5", "Null"), for logs
// and test failure messages.
std::ostream& operator<<(std::ostream& out, const Variant& value);

}  // namespace vb
