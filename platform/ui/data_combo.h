// kvt::ui::DataCombo — a drop-down list bound to a record set: the rows of
// RowSource, showing ListField, identified by BoundColumn.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace kvt::ui {

class DataCombo : public Control {
 public:
  struct Row {
    std::string list_text;   // the ListField value as text
    std::string bound_text;  // the BoundColumn value as text
  };

  using Control::Control;
  std::string TypeName() const override { return "DataCombo"; }
  ControlKind Kind() const override { return ControlKind::kDataCombo; }

  // The record set whose rows the list shows (a data::RecordSet), read
  // when set and on ReFill. The record set's current row is left as found.
  // Raises 13 for an object that is no record set, 3265 when ListField or
  // BoundColumn names no field of it; an empty reference clears the list.
  const vb::ObjectRef& RowSource() const { return row_source_; }
  void RowSource(vb::ObjectRef record_set);
  const std::string& ListField() const { return list_field_; }
  void ListField(std::string field);
  const std::string& BoundColumn() const { return bound_column_; }
  void BoundColumn(std::string field);
  // Reads the rows of RowSource again.
  void ReFill();
  const std::vector<Row>& Rows() const { return rows_; }

  // The BoundColumn text of the selected row ("" with none). Setting it
  // selects the row with that bound value and raises Change, also when that
  // row was already shown; with no such row it clears the selection and
  // raises Change when the text shown changes.
  const std::string& BoundText() const { return bound_text_; }
  void BoundText(std::string bound_text);
  // The text shown: the selected row's ListField, or typed text.
  const std::string& Text() const { return text_; }
  // Selects the row whose ListField is `text`, if any; raises Change when
  // the text differs. Text that no row shows clears the selection of a
  // drop-down combo and is ignored by a drop-down list (Style 2).
  void Text(std::string text);
  // Index of the selected row in Rows(), -1 for none.
  int SelectedRow() const { return selected_; }
  // Selects row `row` (-1 clears); raises Change when the text changes.
  // Raises 9 for a row the list lacks.
  void SelectRow(int row);

  // Where the bound value is stored (kept for the host; not written here).
  const vb::ObjectRef& DataSource() const { return data_source_; }
  void DataSource(vb::ObjectRef source) { data_source_ = std::move(source); }
  const std::string& DataField() const { return data_field_; }
  void DataField(std::string field) { data_field_ = std::move(field); }
  // The member of DataSource the field belongs to (kept for the host).
  const std::string& DataMember() const { return data_member_; }
  void DataMember(std::string member) { data_member_ = std::move(member); }
  // 0 drop-down combo (text may be typed), 2 drop-down list.
  int Style() const { return style_; }
  void Style(int style) { style_ = style; }

  void Set(std::string_view name, const vb::ObjectRef& value, object::Args args = {}) override;

 protected:
  std::string_view DefaultProperty() const override { return "BoundText"; }
  bool GetOwn(std::string_view name, vb::Variant& out) const override;
  bool LetOwn(std::string_view name, const vb::Variant& value) override;

 private:
  void Show(int row, std::string text);

  vb::ObjectRef row_source_;
  std::string list_field_;
  std::string bound_column_;
  std::vector<Row> rows_;
  std::string bound_text_;
  std::string text_;
  int selected_ = -1;
  vb::ObjectRef data_source_;
  std::string data_field_;
  std::string data_member_;
  int style_ = 0;
};

}  // namespace kvt::ui
