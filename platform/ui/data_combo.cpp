#include "platform/ui/data_combo.h"

#include "platform/data/record_set.h"
#include "platform/ui/form.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::ui {

using object::SameName;

namespace {

std::string FieldText(const data::RecordSet& rs, const std::string& field) {
  vb::Variant value = rs.Item(field).Value();
  return value.IsNull() ? std::string() : vb::CStr(value);
}

}  // namespace

void DataCombo::RowSource(vb::ObjectRef record_set) {
  row_source_ = std::move(record_set);
  ReFill();
}

void DataCombo::ListField(std::string field) {
  list_field_ = std::move(field);
  if (row_source_) ReFill();
}

void DataCombo::BoundColumn(std::string field) {
  bound_column_ = std::move(field);
  if (row_source_) ReFill();
}

void DataCombo::ReFill() {
  std::vector<Row> rows;
  if (row_source_) {
    auto* rs = dynamic_cast<data::RecordSet*>(row_source_.get());
    if (rs == nullptr) throw vb::Error::TypeMismatch(Name());
    if (rs->IsOpen() && !(rs->IsBOF() && rs->IsEOF())) {
      std::optional<vb::Variant> mark;
      if (!rs->IsBOF() && !rs->IsEOF()) mark = rs->Bookmark();
      const std::string& list = list_field_;
      const std::string& bound = bound_column_.empty() ? list_field_ : bound_column_;
      for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext()) {
        rows.push_back(Row{list.empty() ? std::string() : FieldText(*rs, list),
                           bound.empty() ? std::string() : FieldText(*rs, bound)});
      }
      if (mark) {
        rs->Bookmark(*mark);
      } else {
        rs->MoveFirst();
      }
    }
  }
  rows_ = std::move(rows);
  selected_ = -1;
  // The bound value stays and finds its row again in the new list.
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (!bound_text_.empty() && rows_[i].bound_text == bound_text_) {
      selected_ = static_cast<int>(i);
    }
  }
  Changed();
}

void DataCombo::Show(int row, std::string text) {
  selected_ = row;
  bound_text_ = row >= 0 ? rows_[static_cast<size_t>(row)].bound_text : "";
  Changed();
  if (text == text_) return;
  text_ = std::move(text);
  Changed();
  Raise(Event::kChange);
}

void DataCombo::BoundText(std::string bound_text) {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].bound_text == bound_text) {
      // Choosing a row is a selection even when it is the row shown.
      const bool same = rows_[i].list_text == text_;
      Show(static_cast<int>(i), rows_[i].list_text);
      if (same) Raise(Event::kChange);
      return;
    }
  }
  Show(-1, "");
  bound_text_ = std::move(bound_text);
}

void DataCombo::Text(std::string text) {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].list_text == text) {
      Show(static_cast<int>(i), std::move(text));
      return;
    }
  }
  // A drop-down list shows only its rows: other text leaves it as it is.
  if (style_ == 2) return;
  Show(-1, std::move(text));
}

void DataCombo::SelectRow(int row) {
  if (row < -1 || row >= static_cast<int>(rows_.size())) {
    throw vb::Error::SubscriptOutOfRange(Name());
  }
  Show(row, row >= 0 ? rows_[static_cast<size_t>(row)].list_text : "");
}

void DataCombo::Set(std::string_view name, const vb::ObjectRef& value, object::Args args) {
  if (!args.empty()) ThrowNoSuchMember(name);
  if (SameName(name, "RowSource")) return RowSource(value);
  if (SameName(name, "DataSource")) return DataSource(value);
  ThrowNoSuchMember(name);
}

bool DataCombo::GetOwn(std::string_view name, vb::Variant& out) const {
  if (SameName(name, "BoundText")) {
    out = bound_text_;
  } else if (SameName(name, "Text")) {
    out = text_;
  } else if (SameName(name, "ListField")) {
    out = list_field_;
  } else if (SameName(name, "BoundColumn")) {
    out = bound_column_;
  } else if (SameName(name, "RowSource")) {
    out = row_source_;
  } else if (SameName(name, "DataSource")) {
    out = data_source_;
  } else if (SameName(name, "DataField")) {
    out = data_field_;
  } else if (SameName(name, "DataMember")) {
    out = data_member_;
  } else if (SameName(name, "SelectedItem")) {
    // The platform hands out a bookmark; the row position stands in for it.
    out = selected_ >= 0 ? vb::Variant(selected_) : vb::Variant::Null();
  } else if (SameName(name, "Style")) {
    out = style_;
  } else {
    return false;
  }
  return true;
}

bool DataCombo::LetOwn(std::string_view name, const vb::Variant& value) {
  if (SameName(name, "BoundText")) {
    BoundText(vb::CStr(value));
  } else if (SameName(name, "Text")) {
    Text(vb::CStr(value));
  } else if (SameName(name, "ListField")) {
    ListField(vb::CStr(value));
  } else if (SameName(name, "BoundColumn")) {
    BoundColumn(vb::CStr(value));
  } else if (SameName(name, "DataField")) {
    DataField(vb::CStr(value));
  } else if (SameName(name, "DataMember")) {
    DataMember(vb::CStr(value));
  } else if (SameName(name, "SelectedItem")) {
    SelectRow(value.IsNull() ? -1 : vb::CLng(value));
  } else if (SameName(name, "Style")) {
    Style(vb::CLng(value));
  } else {
    return false;
  }
  return true;
}

}  // namespace kvt::ui
