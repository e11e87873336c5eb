// Internal: turning the rows a database engine returns into a RecordSet,
// shared by the backends so that both give the same fields and subtypes.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/data/connection.h"
#include "platform/value/date.h"

namespace kvt::data::detail {

// One value as an engine hands it over, before it meets its column's type.
using Cell = std::variant<std::monostate, int64_t, double, std::string>;
using CellRows = std::vector<std::vector<Cell>>;

struct ResultColumn {
  std::string name;
  DataType type;
};

// The type a column's values suggest, for computed columns without a
// declared type: Variant when all are Null.
DataType InferType(const CellRows& rows, size_t column);
// A whole-number column: Long, or Double when a value needs more than 32
// bits.
DataType WholeNumberType(const CellRows& rows, size_t column);

// A record set of `rows` positioned on its first row. `overrides` replaces
// the types of the columns it names; a repeated or empty column name gets
// "_<position>" appended so that every field stays addressable by name.
RecordSetRef BuildRecordSet(std::vector<ResultColumn> columns, const CellRows& rows,
                            const Connection::ColumnTypes& overrides);

// "yyyy-mm-dd", with " hh:mm:ss" when the date has a time: how dates are
// stored and bound on every backend.
std::string IsoDateText(const vb::Date& date);

}  // namespace kvt::data::detail
