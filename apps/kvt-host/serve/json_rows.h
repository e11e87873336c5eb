// Record sets as JSON: each row an object of named fields, each value
// written by its kind (money as exact decimal text, never a binary
// double; dates as ISO text; Null as null).
#pragma once

#include <cstddef>

#include <nlohmann/json.hpp>

#include "platform/data/record_set.h"
#include "platform/value/variant.h"

namespace kvt::serve {

enum class JsonKind { kKey, kText, kQuantity, kMoney, kDate };

struct JsonColumn {
  const char* name;   // the JSON field
  const char* field;  // the record set's field
  JsonKind kind;
};

nlohmann::json JsonValue(const vb::Variant& value, JsonKind kind);

// The rows of `rows` from the first to the end; leaves the set at its end.
template <size_t N>
nlohmann::json JsonRows(data::RecordSet& rows, const JsonColumn (&columns)[N]) {
  nlohmann::json list = nlohmann::json::array();
  if (rows.RecordCount() == 0) return list;
  for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
    nlohmann::json row = nlohmann::json::object();
    for (const JsonColumn& column : columns) {
      row[column.name] = JsonValue(rows.Item(column.field).Value(), column.kind);
    }
    list.push_back(std::move(row));
  }
  return list;
}

}  // namespace kvt::serve
