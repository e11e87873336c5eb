#include "platform/ui/data_grid.h"

#include <optional>

#include "platform/data/record_set.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::ui {

using object::SameName;

void DataGrid::DataSource(vb::ObjectRef record_set) {
  if (record_set && dynamic_cast<data::RecordSet*>(record_set.get()) == nullptr) {
    throw vb::Error::TypeMismatch(Name());
  }
  data_source_ = std::move(record_set);
  Refresh();
}

void DataGrid::Caption(std::string caption) {
  caption_ = std::move(caption);
  Changed();
}

void DataGrid::Refresh() {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
  if (auto* rs = dynamic_cast<data::RecordSet*>(data_source_.get());
      rs != nullptr && rs->IsOpen()) {
    const int field_count = rs->Fields().Count();
    for (int i = 0; i < field_count; ++i) columns.push_back(rs->Item(i).Name());
    if (!(rs->IsBOF() && rs->IsEOF())) {
      std::optional<vb::Variant> mark;
      if (!rs->IsBOF() && !rs->IsEOF()) mark = rs->Bookmark();
      for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext()) {
        std::vector<std::string> row;
        for (int i = 0; i < field_count; ++i) {
          vb::Variant value = rs->Item(i).Value();
          row.push_back(value.IsNull() ? std::string() : vb::CStr(value));
        }
        rows.push_back(std::move(row));
      }
      if (mark) {
        rs->Bookmark(*mark);
      } else {
        rs->MoveFirst();
      }
    }
  }
  columns_ = std::move(columns);
  rows_ = std::move(rows);
  Changed();
}

void DataGrid::Set(std::string_view name, const vb::ObjectRef& value, object::Args args) {
  if (!args.empty() || !SameName(name, "DataSource")) ThrowNoSuchMember(name);
  DataSource(value);
}

vb::Variant DataGrid::Call(std::string_view name, object::Args args) {
  if (SameName(name, "Refresh") && args.empty()) {
    Refresh();
    return {};
  }
  return Control::Call(name, args);
}

bool DataGrid::GetOwn(std::string_view name, vb::Variant& out) const {
  if (SameName(name, "DataSource")) {
    out = data_source_;
  } else if (SameName(name, "DataMember")) {
    out = data_member_;
  } else if (SameName(name, "Caption")) {
    out = caption_;
  } else if (SameName(name, "ApproxCount")) {
    out = static_cast<int32_t>(rows_.size());
  } else {
    return false;
  }
  return true;
}

bool DataGrid::LetOwn(std::string_view name, const vb::Variant& value) {
  if (SameName(name, "DataMember")) {
    DataMember(vb::CStr(value));
  } else if (SameName(name, "Caption")) {
    Caption(vb::CStr(value));
  } else {
    return false;
  }
  return true;
}

}  // namespace kvt::ui
