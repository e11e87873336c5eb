#include "platform/data/result_rows.h"

#include <limits>

#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "platform/value/locale.h"
#include "platform/value/number_text.h"

namespace kvt::data::detail {

namespace {

bool FitsLong(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() &&
         value <= std::numeric_limits<int32_t>::max();
}

vb::Variant ToVariant(const Cell& cell, DataType type, const std::string& name) {
  if (std::holds_alternative<std::monostate>(cell)) return vb::Variant::Null();
  vb::Variant raw;
  if (const auto* number = std::get_if<int64_t>(&cell)) {
    if (type == DataType::kCurrency) {
      return vb::Variant(vb::Currency::FromInt(*number));
    }
    if (type == DataType::kBoolean) return vb::Variant(*number != 0);
    raw = FitsLong(*number) ? vb::Variant(static_cast<int32_t>(*number))
                            : vb::Variant(static_cast<double>(*number));
  } else if (const auto* real = std::get_if<double>(&cell)) {
    raw = vb::Variant(*real);
  } else {
    const std::string& text = std::get<std::string>(cell);
    if (type == DataType::kDate) {
      // Stored dates are ISO text whatever the session's locale is.
      if (auto date = vb::Date::Parse(text, vb::Locale::Active())) {
        return vb::Variant(*date);
      }
    }
    if (type == DataType::kCurrency) {
      try {
        return vb::Variant(vb::Currency::FromDecimalText(text));
      } catch (const vb::Error&) {
        // Fall through to the general conversion below.
      }
    }
    raw = vb::Variant(text);
  }
  if (type == DataType::kDate && raw.IsNumber()) {
    return vb::Variant(vb::Date::FromSerial(vb::CDbl(raw)));
  }
  return ConvertForField(type, raw, name);
}

}  // namespace

DataType InferType(const CellRows& rows, size_t column) {
  bool any_value = false, any_text = false, any_real = false, wide = false;
  for (const auto& row : rows) {
    const Cell& cell = row[column];
    if (std::holds_alternative<std::monostate>(cell)) continue;
    any_value = true;
    if (std::holds_alternative<std::string>(cell)) any_text = true;
    if (std::holds_alternative<double>(cell)) any_real = true;
    if (const auto* number = std::get_if<int64_t>(&cell)) {
      if (!FitsLong(*number)) wide = true;
    }
  }
  if (!any_value) return DataType::kVariant;
  if (any_text) return DataType::kVarWChar;
  if (any_real || wide) return DataType::kDouble;
  return DataType::kInteger;
}

DataType WholeNumberType(const CellRows& rows, size_t column) {
  return InferType(rows, column) == DataType::kDouble ? DataType::kDouble : DataType::kInteger;
}

RecordSetRef BuildRecordSet(std::vector<ResultColumn> columns, const CellRows& rows,
                            const Connection::ColumnTypes& overrides) {
  auto result = std::make_shared<RecordSet>();
  for (size_t c = 0; c < columns.size(); ++c) {
    ResultColumn& column = columns[c];
    for (const auto& [name, type] : overrides) {
      if (name == column.name) column.type = type;
    }
    // The first of a repeated name keeps its exact name.
    std::string field_name = column.name;
    if (field_name.empty() || result->Fields().IndexOf(field_name) >= 0) {
      field_name += "_" + std::to_string(c);
    }
    result->Fields().Append(field_name, column.type);
  }
  result->Open();
  for (const auto& row : rows) {
    std::vector<vb::Variant> values;
    values.reserve(row.size());
    for (size_t c = 0; c < row.size(); ++c) {
      values.push_back(
          ToVariant(row[c], columns[c].type, result->Fields().Item(static_cast<int>(c)).Name()));
    }
    result->AppendRow(std::move(values));
  }
  result->MoveFirst();
  return result;
}

std::string IsoDateText(const vb::Date& date) {
  std::string text = vb::ZeroPadded(date.Year(), 4) + "-" + vb::ZeroPadded(date.Month(), 2) + "-" +
                     vb::ZeroPadded(date.Day(), 2);
  if (date.HasTime()) {
    text += " " + vb::ZeroPadded(date.Hour(), 2) + ":" + vb::ZeroPadded(date.Minute(), 2) + ":" +
            vb::ZeroPadded(date.Second(), 2);
  }
  return text;
}

}  // namespace kvt::data::detail
