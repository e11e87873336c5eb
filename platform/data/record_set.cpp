#include "platform/data/record_set.h"

#include <algorithm>
#include <cmath>

#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"

namespace kvt::data {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

// ---- Column -----------------------------------------------------------------

// A field's values in row order. Each field type has a native layout: whole
// numbers (Currency as raw ten-thousandths, Long, Integer, Boolean) in one
// int64 vector, Double, Single and Date serials in a double vector, text in
// a string vector, each with a byte per row that marks Null. A Null cell
// keeps 0, 0.0 or "" so a scan can add a column without testing Nulls.
// Variant fields hold Variants. So does a typed field once a row was
// appended with a value of another subtype (AppendRow does not convert):
// the set must give that value back exactly as it was handed in.
class RecordSet::Column {
 public:
  explicit Column(DataType type) : type_(type), layout_(LayoutOf(type)) {}

  vb::Variant Get(size_t row) const {
    if (layout_ == Layout::kVariant) return variants_[row];
    if (nulls_[row] != 0) return vb::Variant::Null();
    switch (type_) {
      case DataType::kSmallInt: return vb::Variant::Integer(static_cast<int16_t>(wholes_[row]));
      case DataType::kInteger: return vb::Variant(static_cast<int32_t>(wholes_[row]));
      case DataType::kBoolean: return vb::Variant(wholes_[row] != 0);
      case DataType::kCurrency: return vb::Variant(vb::Currency::FromRaw(wholes_[row]));
      case DataType::kSingle: return vb::Variant(static_cast<float>(reals_[row]));
      case DataType::kDouble: return vb::Variant(reals_[row]);
      case DataType::kDate: return vb::Variant(vb::Date::FromSerial(reals_[row]));
      case DataType::kVarWChar: return vb::Variant(texts_[row]);
      case DataType::kVariant: break;
    }
    return variants_[row];  // not reached: Variant fields hold Variants
  }

  bool IsNull(size_t row) const {
    return layout_ == Layout::kVariant ? variants_[row].IsNull() : nulls_[row] != 0;
  }

  void PushNull() {
    if (layout_ == Layout::kVariant) {
      variants_.push_back(vb::Variant::Null());
      return;
    }
    Cell null;
    null.null = true;
    PushCell(null);
  }

  // Appends a row holding `value` as it is; a value the native layout
  // cannot hold moves the whole column to Variants first.
  void Push(vb::Variant value) {
    Cell cell;
    if (layout_ != Layout::kVariant && ToCell(value, cell)) {
      PushCell(cell);
      return;
    }
    if (layout_ != Layout::kVariant) HoldAsVariants();
    variants_.push_back(std::move(value));
  }

  // Stores `value` as it is in an existing row, as Push does.
  void Set(size_t row, vb::Variant value) {
    Cell cell;
    if (layout_ != Layout::kVariant && ToCell(value, cell)) {
      WriteCell(row, cell);
      return;
    }
    if (layout_ != Layout::kVariant) HoldAsVariants();
    variants_[row] = std::move(value);
  }

  void Erase(size_t row) {
    const auto at = static_cast<std::ptrdiff_t>(row);
    switch (layout_) {
      case Layout::kWhole: wholes_.erase(wholes_.begin() + at); break;
      case Layout::kReal: reals_.erase(reals_.begin() + at); break;
      case Layout::kText: texts_.erase(texts_.begin() + at); break;
      case Layout::kVariant: variants_.erase(variants_.begin() + at); return;
    }
    nulls_.erase(nulls_.begin() + at);
  }

  bool CurrencyView(CurrencyColumnView& view) const {
    if (type_ != DataType::kCurrency || layout_ != Layout::kWhole) {
      return false;
    }
    view.raw = wholes_;
    view.nulls = nulls_;
    view.magnitude_bound = magnitude_bound_;
    return true;
  }

  bool DoubleView(DoubleColumnView& view) const {
    if (type_ != DataType::kDouble || layout_ != Layout::kReal) return false;
    view.values = reals_;
    view.nulls = nulls_;
    return true;
  }

 private:
  enum class Layout : uint8_t { kWhole, kReal, kText, kVariant };

  static Layout LayoutOf(DataType type) {
    switch (type) {
      case DataType::kSmallInt:
      case DataType::kInteger:
      case DataType::kBoolean:
      case DataType::kCurrency: return Layout::kWhole;
      case DataType::kSingle:
      case DataType::kDouble:
      case DataType::kDate: return Layout::kReal;
      case DataType::kVarWChar: return Layout::kText;
      case DataType::kVariant: break;
    }
    return Layout::kVariant;
  }

  // A value in the native layout's terms.
  struct Cell {
    bool null = false;
    int64_t whole = 0;
    double real = 0.0;
    std::string* text = nullptr;  // moved from: the Variant is the caller's own
  };

  // False when `value` is not Null and not of the field's own subtype.
  bool ToCell(vb::Variant& value, Cell& cell) const {
    if (value.IsNull()) {
      cell.null = true;
      return true;
    }
    switch (type_) {
      case DataType::kSmallInt: return ToWhole<int16_t>(value, cell);
      case DataType::kInteger: return ToWhole<int32_t>(value, cell);
      case DataType::kBoolean: return ToWhole<bool>(value, cell);
      case DataType::kCurrency:
        if (const auto* amount = value.get_if<vb::Currency>()) {
          cell.whole = amount->raw();
          return true;
        }
        return false;
      case DataType::kSingle:
        if (const auto* single = value.get_if<float>()) {
          cell.real = static_cast<double>(*single);  // exact both ways
          return true;
        }
        return false;
      case DataType::kDouble:
        if (const auto* real = value.get_if<double>()) {
          cell.real = *real;
          return true;
        }
        return false;
      case DataType::kDate:
        if (const auto* date = value.get_if<vb::Date>()) {
          cell.real = date->serial();
          return true;
        }
        return false;
      case DataType::kVarWChar:
        if (const auto* text = value.get_if<std::string>()) {
          cell.text = const_cast<std::string*>(text);
          return true;
        }
        return false;
      case DataType::kVariant: break;
    }
    return false;
  }

  template <class T>
  static bool ToWhole(const vb::Variant& value, Cell& cell) {
    const T* whole = value.get_if<T>();
    if (whole == nullptr) return false;
    cell.whole = static_cast<int64_t>(*whole);
    return true;
  }

  // A Null cell stores 0, 0.0 or "" (Cell's defaults).
  void PushCell(Cell& cell) {
    switch (layout_) {
      case Layout::kWhole: wholes_.push_back(cell.whole); break;
      case Layout::kReal: reals_.push_back(cell.real); break;
      case Layout::kText:
        texts_.push_back(cell.text ? std::move(*cell.text) : std::string());
        break;
      case Layout::kVariant: return;  // not reached: Variant columns take Variants
    }
    nulls_.push_back(cell.null ? 1 : 0);
    Bound(cell);
  }

  void WriteCell(size_t row, Cell& cell) {
    switch (layout_) {
      case Layout::kWhole: wholes_[row] = cell.whole; break;
      case Layout::kReal: reals_[row] = cell.real; break;
      case Layout::kText: texts_[row] = cell.text ? std::move(*cell.text) : std::string(); break;
      case Layout::kVariant: return;  // not reached: Variant columns take Variants
    }
    nulls_[row] = cell.null ? 1 : 0;
    Bound(cell);
  }

  void Bound(const Cell& cell) {
    const uint64_t magnitude =
        cell.whole < 0 ? 0 - static_cast<uint64_t>(cell.whole) : static_cast<uint64_t>(cell.whole);
    magnitude_bound_ = std::max(magnitude_bound_, magnitude);
  }

  void HoldAsVariants() {
    std::vector<vb::Variant> variants;
    variants.reserve(nulls_.size());
    for (size_t row = 0; row < nulls_.size(); ++row) {
      variants.push_back(Get(row));
    }
    variants_ = std::move(variants);
    layout_ = Layout::kVariant;
    wholes_ = {};
    reals_ = {};
    texts_ = {};
    nulls_ = {};
  }

  DataType type_;
  Layout layout_;
  std::vector<int64_t> wholes_;
  std::vector<double> reals_;
  std::vector<std::string> texts_;
  std::vector<vb::Variant> variants_;
  std::vector<uint8_t> nulls_;    // typed layouts: 1 marks a Null row
  uint64_t magnitude_bound_ = 0;  // whole layouts: no |value| stored was larger
};

// ---- Field ----------------------------------------------------------------

const std::string& Field::Name() const {
  return owner_->fields_.definitions_[static_cast<size_t>(index_)].name;
}

DataType Field::Type() const {
  return owner_->fields_.definitions_[static_cast<size_t>(index_)].type;
}

vb::Variant Field::Value() const { return owner_->GetValue(index_); }

void Field::Value(const vb::Variant& value) { owner_->SetValue(index_, value); }

bool Field::IsNull() const {
  const size_t row = owner_->CurrentRow();  // raises before any column use
  return owner_->columns_[static_cast<size_t>(index_)].IsNull(row);
}

// ---- FieldCollection --------------------------------------------------------

Field FieldCollection::Item(int index) const {
  if (index < 0 || index >= Count()) {
    throw ItemNotFoundError("ordinal " + std::to_string(index));
  }
  return Field(owner_, index);
}

Field FieldCollection::Item(std::string_view name) const {
  const int index = IndexOf(name);
  if (index < 0) throw ItemNotFoundError(std::string(name));
  return Field(owner_, index);
}

Field FieldCollection::Item(const vb::Variant& key) const {
  if (const auto* name = key.get_if<std::string>()) return Item(*name);
  if (key.IsNumber()) {
    double ordinal = 0;
    try {
      ordinal = vb::CDbl(key);
    } catch (const vb::Error&) {
      throw ItemNotFoundError("ordinal out of range");
    }
    if (ordinal < 0 || ordinal >= Count() || ordinal != std::floor(ordinal)) {
      throw ItemNotFoundError("ordinal out of range");
    }
    return Field(owner_, static_cast<int>(ordinal));
  }
  throw ItemNotFoundError("key of type " + key.TypeName());
}

int FieldCollection::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < definitions_.size(); ++i) {
    if (EqualsIgnoringCase(definitions_[i].name, name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void FieldCollection::Append(std::string name, DataType type) {
  if (owner_->open_) throw OperationNotAllowedError("append field " + name);
  if (name.empty() || IndexOf(name) >= 0) {
    throw InvalidArgumentError("field name '" + name + "'");
  }
  definitions_.push_back({std::move(name), type});
}

// ---- RecordSet --------------------------------------------------------------

RecordSet::RecordSet() : fields_(this) {}

RecordSet::~RecordSet() = default;

void RecordSet::RequireOpen() const {
  if (!open_) throw ObjectClosedError();
}

void RecordSet::Open() {
  if (open_) throw ObjectOpenError();
  open_ = true;
  columns_.clear();
  for (const auto& definition : fields_.definitions_) {
    columns_.emplace_back(definition.type);
  }
  bookmarks_.clear();
  position_ = 0;
  CommitPending();
}

void RecordSet::Close() {
  RequireOpen();
  open_ = false;
  columns_.clear();
  bookmarks_.clear();
  position_ = 0;
  CommitPending();
}

int32_t RecordSet::RecordCount() const {
  RequireOpen();
  if (count_unknown_) return -1;
  return static_cast<int32_t>(RowCount());
}

bool RecordSet::IsBOF() const {
  RequireOpen();
  return RowCount() == 0 || position_ < 0;
}

bool RecordSet::IsEOF() const {
  RequireOpen();
  return RowCount() == 0 || position_ >= static_cast<int64_t>(RowCount());
}

size_t RecordSet::CurrentRow() const {
  if (IsBOF() || IsEOF() || current_deleted_) throw NoCurrentRecordError();
  return static_cast<size_t>(position_);
}

std::vector<vb::Variant> RecordSet::RowValues(size_t row) const {
  std::vector<vb::Variant> values;
  values.reserve(columns_.size());
  for (const Column& column : columns_) values.push_back(column.Get(row));
  return values;
}

void RecordSet::StoreValue(size_t field, size_t row, vb::Variant value) {
  columns_[field].Set(row, std::move(value));
}

void RecordSet::EraseRow(size_t row) {
  for (Column& column : columns_) column.Erase(row);
  bookmarks_.erase(bookmarks_.begin() + static_cast<std::ptrdiff_t>(row));
}

// Values are converted when written, so committing only ends the edit.
// Every move goes through here, which also ends a deleted row's turn.
void RecordSet::CommitPending() {
  edit_mode_ = EditMode::kNone;
  original_values_.clear();
  current_deleted_ = false;
}

void RecordSet::MoveFirst() {
  RequireOpen();
  CommitPending();
  position_ = 0;
}

void RecordSet::MoveLast() {
  RequireOpen();
  CommitPending();
  position_ = RowCount() == 0 ? 0 : static_cast<int64_t>(RowCount()) - 1;
}

void RecordSet::MoveNext() {
  RequireOpen();
  if (current_deleted_) {  // the following row already sits at position_
    CommitPending();
    return;
  }
  if (IsEOF()) throw NoCurrentRecordError("MoveNext");
  CommitPending();
  ++position_;
}

void RecordSet::MovePrevious() {
  RequireOpen();
  if (!current_deleted_ && IsBOF()) {
    throw NoCurrentRecordError("MovePrevious");
  }
  CommitPending();
  --position_;
}

void RecordSet::Delete() {
  EraseRow(CurrentRow());  // CurrentRow raises 3704 or 3021
  edit_mode_ = EditMode::kNone;
  original_values_.clear();
  current_deleted_ = true;
}

vb::Variant RecordSet::Bookmark() const { return vb::Variant(bookmarks_[CurrentRow()]); }

void RecordSet::Bookmark(const vb::Variant& bookmark) {
  RequireOpen();
  int32_t wanted = 0;
  try {
    if (!bookmark.IsNumber()) throw InvalidArgumentError();
    wanted = vb::CLng(bookmark);
  } catch (const vb::Error&) {
    throw InvalidArgumentError("bookmark of type " + bookmark.TypeName());
  }
  auto it = std::lower_bound(bookmarks_.begin(), bookmarks_.end(), wanted);
  if (it == bookmarks_.end() || *it != wanted) {
    throw InvalidArgumentError("bookmark " + std::to_string(wanted));
  }
  CommitPending();
  position_ = it - bookmarks_.begin();
}

void RecordSet::AddNew() {
  RequireOpen();
  CommitPending();
  position_before_add_ = position_;
  bookmarks_.push_back(next_bookmark_++);
  for (Column& column : columns_) column.PushNull();
  position_ = static_cast<int64_t>(RowCount()) - 1;
  edit_mode_ = EditMode::kAdd;
}

void RecordSet::Update() {
  RequireOpen();
  if (edit_mode_ == EditMode::kNone) {
    CurrentRow();  // raises 3021 when there is nothing to update
    return;
  }
  CommitPending();
}

void RecordSet::CancelUpdate() {
  RequireOpen();
  if (current_deleted_) return;
  if (edit_mode_ == EditMode::kAdd) {
    EraseRow(RowCount() - 1);
    position_ = position_before_add_;
  } else if (edit_mode_ == EditMode::kInProgress) {
    const size_t row = CurrentRow();
    for (size_t field = 0; field < original_values_.size(); ++field) {
      StoreValue(field, row, std::move(original_values_[field]));
    }
  }
  CommitPending();
}

void RecordSet::AppendRow(std::vector<vb::Variant> values) {
  RequireOpen();
  if (values.size() != fields_.definitions_.size()) {
    throw InvalidArgumentError("row of " + std::to_string(values.size()) + " values");
  }
  bookmarks_.push_back(next_bookmark_++);
  for (size_t field = 0; field < columns_.size(); ++field) {
    columns_[field].Push(std::move(values[field]));
  }
}

bool RecordSet::TryCurrencyColumn(int field, CurrencyColumnView& view) const {
  if (!open_ || EditPending() || field < 0 || field >= fields_.Count()) {
    return false;
  }
  return columns_[static_cast<size_t>(field)].CurrencyView(view);
}

bool RecordSet::TryDoubleColumn(int field, DoubleColumnView& view) const {
  if (!open_ || EditPending() || field < 0 || field >= fields_.Count()) {
    return false;
  }
  return columns_[static_cast<size_t>(field)].DoubleView(view);
}

vb::Variant RecordSet::GetValue(int index) const {
  const size_t row = CurrentRow();  // raises before any column use
  return columns_[static_cast<size_t>(index)].Get(row);
}

void RecordSet::SetValue(int index, const vb::Variant& value) {
  const size_t row = CurrentRow();
  const auto& definition = fields_.definitions_[static_cast<size_t>(index)];
  vb::Variant converted = ConvertForField(definition.type, value, definition.name);
  if (edit_mode_ == EditMode::kNone) {
    original_values_ = RowValues(row);
    edit_mode_ = EditMode::kInProgress;
  }
  StoreValue(static_cast<size_t>(index), row, std::move(converted));
}

}  // namespace kvt::data
