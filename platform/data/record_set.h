// kvt::data::RecordSet — the one in-memory record set of the suite: the
// host's tabular data and every query result the data gateway returns.
//
// It behaves as the platform's record set does for the operations the
// component and its hosts use: ordered named fields with types, a current
// row with BOF/EOF, bookmarks, AddNew/Update with a pending edit that any
// move commits, and RecordCount (or -1 for a set that cannot tell).
// A record set is created closed; fields are appended, then Open() makes it
// usable. It is neither copyable nor movable: hand it around by RecordSetRef.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/data_type.h"
#include "platform/value/variant.h"

namespace kvt::data {

class RecordSet;

// One field of a record set: a light handle (record set and ordinal) that
// stays valid as long as its record set lives.
class Field {
 public:
  // The field's name exactly as defined (blanks and case kept).
  const std::string& Name() const;
  DataType Type() const;
  // The value in the current row. Raises 3704 when the set is closed, 3021
  // when there is no current row (BOF or EOF).
  vb::Variant Value() const;
  // Writes the current row's value, converted to the field's type (text is
  // read under the active locale, grouping accepted). Starts a pending edit
  // that Update or any move commits. Raises 3704 when closed, 3021 without a
  // current row, 3421 when the value cannot be converted.
  void Value(const vb::Variant& value);
  // True when the current row's value is Null (same errors as Value()).
  bool IsNull() const;

 private:
  friend class FieldCollection;
  Field(RecordSet* owner, int index) : owner_(owner), index_(index) {}
  RecordSet* owner_;
  int index_;
};

// The record set's Fields collection.
class FieldCollection {
 public:
  // Number of fields, also while the set is closed.
  int Count() const { return static_cast<int>(definitions_.size()); }
  // The field by ordinal (0-based). Raises 3265 when out of range.
  Field Item(int index) const;
  // The field by name, compared without regard to case. Raises 3265 when
  // there is no such field.
  Field Item(std::string_view name) const;
  Field Item(const char* name) const { return Item(std::string_view(name)); }
  Field Item(const std::string& name) const { return Item(std::string_view(name)); }
  // By a Variant key: text is a name, a number an ordinal. Raises 3265 for
  // anything else or when not found.
  Field Item(const vb::Variant& key) const;
  // The ordinal of the named field (case-insensitive), or -1: the way to ask
  // without raising.
  int IndexOf(std::string_view name) const;
  // Defines a new last field. Raises 3219 when the set is open and 3001 when
  // the name is empty or already used.
  void Append(std::string name, DataType type);

 private:
  friend class RecordSet;
  friend class Field;
  struct Definition {
    std::string name;
    DataType type;
  };
  explicit FieldCollection(RecordSet* owner) : owner_(owner) {}
  RecordSet* owner_;
  std::vector<Definition> definitions_;
};

// Edit states, numbered as the platform's EditMode reports them.
enum class EditMode : int { kNone = 0, kInProgress = 1, kAdd = 2 };

class RecordSet : public vb::Object {
 public:
  RecordSet();
  ~RecordSet() override;
  RecordSet(const RecordSet&) = delete;
  RecordSet& operator=(const RecordSet&) = delete;

  std::string TypeName() const override { return "Recordset"; }

  FieldCollection& Fields() { return fields_; }
  const FieldCollection& Fields() const { return fields_; }
  // Shortcuts for Fields().Item(...), the set's default member.
  Field Item(std::string_view name) const { return fields_.Item(name); }
  Field Item(const char* name) const { return fields_.Item(name); }
  Field Item(const std::string& name) const { return fields_.Item(name); }
  Field Item(int index) const { return fields_.Item(index); }

  // Opens the set with the fields appended so far and no rows, positioned
  // at BOF and EOF. Raises 3705 when already open.
  void Open();
  // Closes the set, dropping its rows and any pending edit; the field
  // definitions stay. Raises 3704 when already closed.
  void Close();
  // 1 when open, 0 when closed (the platform's adStateOpen/adStateClosed).
  int State() const { return open_ ? 1 : 0; }
  bool IsOpen() const { return open_; }

  // Number of rows including a pending new row, or -1 when the set was
  // marked as unable to tell (SetRecordCountUnknown). Raises 3704 when
  // closed.
  int32_t RecordCount() const;
  // A set read through a forward-only cursor cannot tell its size: from
  // then on RecordCount reports -1. The rows are unaffected.
  void SetRecordCountUnknown(bool unknown) { count_unknown_ = unknown; }

  // BOF: before the first row, or the set is empty. Raises 3704 when closed.
  bool IsBOF() const;
  // EOF: after the last row, or the set is empty. Raises 3704 when closed.
  // (Named IsEOF because EOF is a C macro.)
  bool IsEOF() const;

  // Moves commit a pending edit first. MoveFirst and MoveLast on an empty
  // set leave it at BOF/EOF. MoveNext raises 3021 at EOF, MovePrevious at
  // BOF. All raise 3704 when closed.
  void MoveFirst();
  void MoveLast();
  void MoveNext();
  void MovePrevious();

  // The current row's bookmark: a Long that identifies the row for as long
  // as the set lives. Raises 3021 without a current row, 3704 when closed.
  vb::Variant Bookmark() const;
  // Moves to the row of a bookmark this set gave out (committing a pending
  // edit). Raises 3001 for a value that is no bookmark of this set.
  void Bookmark(const vb::Variant& bookmark);

  // Appends a new row of Nulls and makes it current, committing a pending
  // edit first; the new row counts in RecordCount at once. Raises 3704.
  void AddNew();
  // Commits the pending edit (a no-op without one). Raises 3704 when
  // closed, 3021 when there is neither a pending edit nor a current row.
  void Update();
  // Discards the pending edit: a new row disappears and the row current
  // before AddNew is current again; field writes are undone.
  void CancelUpdate();
  EditMode GetEditMode() const { return edit_mode_; }

  // Deletes the current row (a pending edit of it is dropped). The deleted
  // row stays current, without values, until the next move: reading or
  // writing a field or the bookmark then raises 3021; MoveNext goes to the
  // row after it, MovePrevious to the row before. Raises 3021 without a
  // current row, 3704 when closed.
  void Delete();

  // Appends a row whose values are already of the fields' types (used by
  // the query materialiser; no conversion, no pending edit). A value of
  // another subtype is kept as given and reads back so. The current
  // position does not change. Raises 3704 when closed, 3001 when the number
  // of values is not Fields().Count().
  void AppendRow(std::vector<vb::Variant> values);

  // A Currency field's stored values, for scans over a whole column
  // (totals of every row) that must not build a Variant per value. Both
  // spans are in row order, one entry per row.
  struct CurrencyColumnView {
    std::span<const int64_t> raw;    // ten-thousandths; 0 in a Null row
    std::span<const uint8_t> nulls;  // 1 marks a Null row
    // No |raw| exceeds it. It only ever grows while the set is open, so it
    // may lie above the largest value left; a sum of n values with
    // n * magnitude_bound inside int64 cannot overflow in any order.
    uint64_t magnitude_bound = 0;
  };
  // A Double field's stored values: 0.0 in a Null row.
  struct DoubleColumnView {
    std::span<const double> values;
    std::span<const uint8_t> nulls;
  };
  // Fill `view` and return true when `field` is a kCurrency (kDouble)
  // field holding its values as such. Return false, and the caller reads
  // through Field::Value instead, when the set is closed, `field` is out of
  // range, of another type, or holds Variants (a row appended with a value
  // of another subtype turns its column into Variants), or an edit is
  // pending (EditMode not kNone; Update or a move commits it). Never move
  // and never raise. The view is valid until the set's rows next change.
  bool TryCurrencyColumn(int field, CurrencyColumnView& view) const;
  bool TryDoubleColumn(int field, DoubleColumnView& view) const;

 private:
  friend class Field;
  friend class FieldCollection;

  // One field's values, held by type (record_set.cpp).
  class Column;

  void RequireOpen() const;
  // The index of the current row; raises 3704 when closed, 3021 at BOF,
  // EOF or on a deleted row.
  size_t CurrentRow() const;
  size_t RowCount() const { return bookmarks_.size(); }
  std::vector<vb::Variant> RowValues(size_t row) const;
  void StoreValue(size_t field, size_t row, vb::Variant value);
  void EraseRow(size_t row);
  void CommitPending();
  vb::Variant GetValue(int index) const;
  void SetValue(int index, const vb::Variant& value);
  bool EditPending() const { return edit_mode_ != EditMode::kNone; }

  FieldCollection fields_;
  // Rows are stored column by column; row i is index i of every column and
  // of bookmarks_, which ascend because rows are only ever appended.
  std::vector<Column> columns_;
  std::vector<int32_t> bookmarks_;
  // Index of the current row; -1 is BOF, the row count is EOF.
  int64_t position_ = 0;
  bool open_ = false;
  bool count_unknown_ = false;
  int32_t next_bookmark_ = 1;
  EditMode edit_mode_ = EditMode::kNone;
  std::vector<vb::Variant> original_values_;  // for CancelUpdate of an edit
  int64_t position_before_add_ = 0;
  // After Delete: position_ already holds the row that followed.
  bool current_deleted_ = false;
};

using RecordSetRef = std::shared_ptr<RecordSet>;

}  // namespace kvt::data
