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

// ---- Field ----------------------------------------------------------------

const std::string& Field::Name() const {
  return owner_->fields_.definitions_[static_cast<size_t>(index_)].name;
}

DataType Field::Type() const {
  return owner_->fields_.definitions_[static_cast<size_t>(index_)].type;
}

vb::Variant Field::Value() const { return owner_->GetValue(index_); }

void Field::Value(const vb::Variant& value) { owner_->SetValue(index_, value); }

bool Field::IsNull() const { return owner_->GetValue(index_).IsNull(); }

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

void RecordSet::RequireOpen() const {
  if (!open_) throw ObjectClosedError();
}

void RecordSet::Open() {
  if (open_) throw ObjectOpenError();
  open_ = true;
  rows_.clear();
  position_ = 0;
  CommitPending();
}

void RecordSet::Close() {
  RequireOpen();
  open_ = false;
  rows_.clear();
  position_ = 0;
  CommitPending();
}

int32_t RecordSet::RecordCount() const {
  RequireOpen();
  if (count_unknown_) return -1;
  return static_cast<int32_t>(rows_.size());
}

bool RecordSet::IsBOF() const {
  RequireOpen();
  return rows_.empty() || position_ < 0;
}

bool RecordSet::IsEOF() const {
  RequireOpen();
  return rows_.empty() || position_ >= static_cast<int64_t>(rows_.size());
}

RecordSet::Row& RecordSet::CurrentRow() {
  if (IsBOF() || IsEOF() || current_deleted_) throw NoCurrentRecordError();
  return rows_[static_cast<size_t>(position_)];
}

const RecordSet::Row& RecordSet::CurrentRow() const {
  if (IsBOF() || IsEOF() || current_deleted_) throw NoCurrentRecordError();
  return rows_[static_cast<size_t>(position_)];
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
  position_ = rows_.empty() ? 0 : static_cast<int64_t>(rows_.size()) - 1;
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
  CurrentRow();  // raises 3704 or 3021
  rows_.erase(rows_.begin() + position_);
  edit_mode_ = EditMode::kNone;
  original_values_.clear();
  current_deleted_ = true;
}

vb::Variant RecordSet::Bookmark() const {
  return vb::Variant(CurrentRow().bookmark);
}

void RecordSet::Bookmark(const vb::Variant& bookmark) {
  RequireOpen();
  int32_t wanted = 0;
  try {
    if (!bookmark.IsNumber()) throw InvalidArgumentError();
    wanted = vb::CLng(bookmark);
  } catch (const vb::Error&) {
    throw InvalidArgumentError("bookmark of type " + bookmark.TypeName());
  }
  // Rows are only ever appended, so bookmarks ascend with the position.
  auto it = std::lower_bound(
      rows_.begin(), rows_.end(), wanted,
      [](const Row& row, int32_t value) { return row.bookmark < value; });
  if (it == rows_.end() || it->bookmark != wanted) {
    throw InvalidArgumentError("bookmark " + std::to_string(wanted));
  }
  CommitPending();
  position_ = it - rows_.begin();
}

void RecordSet::AddNew() {
  RequireOpen();
  CommitPending();
  position_before_add_ = position_;
  rows_.push_back(
      {next_bookmark_++, std::vector<vb::Variant>(fields_.definitions_.size(),
                                                  vb::Variant::Null())});
  position_ = static_cast<int64_t>(rows_.size()) - 1;
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
    rows_.pop_back();
    position_ = position_before_add_;
  } else if (edit_mode_ == EditMode::kInProgress) {
    CurrentRow().values = original_values_;
  }
  CommitPending();
}

void RecordSet::AppendRow(std::vector<vb::Variant> values) {
  RequireOpen();
  if (values.size() != fields_.definitions_.size()) {
    throw InvalidArgumentError("row of " + std::to_string(values.size()) +
                               " values");
  }
  rows_.push_back({next_bookmark_++, std::move(values)});
}

vb::Variant RecordSet::GetValue(int index) const {
  return CurrentRow().values[static_cast<size_t>(index)];
}

void RecordSet::SetValue(int index, const vb::Variant& value) {
  Row& row = CurrentRow();
  const auto& definition = fields_.definitions_[static_cast<size_t>(index)];
  vb::Variant converted =
      ConvertForField(definition.type, value, definition.name);
  if (edit_mode_ == EditMode::kNone) {
    original_values_ = row.values;
    edit_mode_ = EditMode::kInProgress;
  }
  row.values[static_cast<size_t>(index)] = std::move(converted);
}

}  // namespace kvt::data
