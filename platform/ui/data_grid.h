// kvt::ui::DataGrid — a read-only grid showing the rows of a record set:
// one column per field, one row per record, as text.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace kvt::ui {

class DataGrid : public Control {
 public:
  using Control::Control;
  std::string TypeName() const override { return "DataGrid"; }
  ControlKind Kind() const override { return ControlKind::kDataGrid; }
  // For looking at only: the model gives it no focus and no tab stop.
  bool TakesFocus() const override { return false; }

  // The record set shown (a data::RecordSet), read when set and on
  // Refresh; its current row is left as found. Raises 13 for an object that
  // is no record set. An empty reference (Nothing) releases it and empties
  // the grid.
  const vb::ObjectRef& DataSource() const { return data_source_; }
  void DataSource(vb::ObjectRef record_set);
  // Kept for the host; the grid always shows the set itself.
  const std::string& DataMember() const { return data_member_; }
  void DataMember(std::string member) { data_member_ = std::move(member); }
  const std::string& Caption() const { return caption_; }
  void Caption(std::string caption);

  // Reads the rows of DataSource again.
  void Refresh();
  // The field names and each row's values as text (Null as "").
  const std::vector<std::string>& Columns() const { return columns_; }
  const std::vector<std::vector<std::string>>& Rows() const { return rows_; }

  // Late binding: DataSource (Set), DataMember, Caption, ApproxCount (rows
  // shown, read only); method Refresh.
  void Set(std::string_view name, const vb::ObjectRef& value, object::Args args = {}) override;
  vb::Variant Call(std::string_view name, object::Args args = {}) override;

 protected:
  std::string_view DefaultProperty() const override { return "Caption"; }
  bool GetOwn(std::string_view name, vb::Variant& out) const override;
  bool LetOwn(std::string_view name, const vb::Variant& value) override;

 private:
  vb::ObjectRef data_source_;
  std::string data_member_;
  std::string caption_;
  std::vector<std::string> columns_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace kvt::ui
