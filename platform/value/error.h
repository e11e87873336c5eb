// vb::Error — the failure every platform operation raises.
//
// An Error carries the number, source and description a Visual Basic host
// expects to read from its Err object. The description is the system's own
// wording and is never decorated; operands, SQL text or token positions go
// into `context`, which is for logs and debugging only.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace vb {

// Base of application-defined error numbers (0x80040000).
inline constexpr int32_t vbObjectError = static_cast<int32_t>(0x80040000u);

// The classic run-time error numbers the component and its platform raise.
namespace err {
inline constexpr int32_t kReturnWithoutGoSub = 3;
inline constexpr int32_t kInvalidCall = 5;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kDivisionByZero = 11;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kOutOfStackSpace = 28;
inline constexpr int32_t kInternalError = 51;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kFileAlreadyExists = 58;
inline constexpr int32_t kPathFileAccessError = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kInvalidFileFormat = 321;
inline constexpr int32_t kPrinterError = 482;
inline constexpr int32_t kObjectRequired = 424;
inline constexpr int32_t kObjectNotSet = 91;
inline constexpr int32_t kInvalidUseOfNull = 94;
inline constexpr int32_t kCantCreateObject = 429;
inline constexpr int32_t kNoSuchMember = 438;
inline constexpr int32_t kWrongArgumentCount = 450;
inline constexpr int32_t kInvalidPropertyValue = 380;
// Data-access errors (record sets, connections).
inline constexpr int32_t kAdoNoCurrentRecord = 3021;
inline constexpr int32_t kAdoItemNotFound = 3265;
inline constexpr int32_t kAdoDataConversion = 3421;
inline constexpr int32_t kAdoObjectClosed = 3704;
inline constexpr int32_t kAdoProviderNotFound = 3706;
inline constexpr int32_t kAdoInvalidArgument = 3001;
inline constexpr int32_t kAdoOperationNotAllowed = 3219;
inline constexpr int32_t kAdoConnectionFailed = -2147467259;  // 0x80004005
}  // namespace err

class Error : public std::exception {
 public:
  Error(int32_t number, std::string source, std::string description, std::string context = {});

  int32_t number() const { return number_; }
  const std::string& source() const { return source_; }
  const std::string& description() const { return description_; }
  // Diagnostics that are not part of the description (operands, SQL, token).
  const std::string& context() const { return context_; }

  const char* what() const noexcept override { return description_.c_str(); }

  // The platform's standard description for a run-time error number, or
  // "Application-defined or object-defined error" when it has none.
  static std::string StandardDescription(int32_t number);

  // Named factories for the errors raised most often.
  static Error InvalidCall(std::string source = {});
  static Error Overflow(std::string source = {});
  static Error DivisionByZero(std::string source = {});
  static Error TypeMismatch(std::string source = {}, std::string context = {});
  static Error ObjectNotSet(std::string source = {});
  static Error InvalidUseOfNull(std::string source = {});
  static Error NoSuchMember(std::string source = {}, std::string context = {});
  static Error SubscriptOutOfRange(std::string source = {});
  // An error with its standard description.
  static Error Numbered(int32_t number, std::string source = {}, std::string context = {});

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
  std::string context_;
};

// An error captured as a value, for the failure styles that pass a failure
// over or report it and go on (platform/value/failure_style.h).
class ErrorData {
 public:
  ErrorData() = default;
  explicit ErrorData(const Error& error) : has_error_(true), error_(error) {}

  bool HasError() const { return has_error_; }
  const Error& error() const { return error_; }
  [[noreturn]] void Throw() const { throw error_; }

 private:
  bool has_error_ = false;
  Error error_{0, {}, {}};
};

}  // namespace vb
