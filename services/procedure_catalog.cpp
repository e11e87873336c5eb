#include "services/procedure_catalog.h"

#include <any>

#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"

namespace kvt::services {

namespace {

std::string Trim(const std::string& text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

std::vector<std::string> SplitNames(const std::string& text) {
  std::vector<std::string> names;
  std::string current;
  auto flush = [&] {
    if (std::string name = Trim(current); !name.empty()) names.push_back(name);
    current.clear();
  };
  for (char c : text) {
    if (c == ',') {
      flush();
    } else {
      current += c;
    }
  }
  flush();
  return names;
}

data::DataType TypeNamed(const std::string& type, const std::string& entry) {
  static const std::pair<const char*, data::DataType> kTypes[] = {
      {"currency", data::DataType::kCurrency}, {"double", data::DataType::kDouble},
      {"single", data::DataType::kSingle},     {"integer", data::DataType::kInteger},
      {"text", data::DataType::kVarWChar},     {"date", data::DataType::kDate},
      {"boolean", data::DataType::kBoolean},   {"variant", data::DataType::kVariant},
  };
  for (const auto& [name, value] : kTypes) {
    if (type == name) return value;
  }
  throw data::CommandError("The procedure catalogue declares an unknown column type.", entry);
}

data::Connection::ColumnTypes ParseColumnTypes(const std::string& text) {
  data::Connection::ColumnTypes types;
  for (const std::string& entry : SplitNames(text)) {
    const size_t colon = entry.rfind(':');
    if (colon == std::string::npos) TypeNamed("", entry);
    types.emplace_back(Trim(entry.substr(0, colon)),
                       TypeNamed(Trim(entry.substr(colon + 1)), entry));
  }
  return types;
}

// SQLite keeps the bodies in the table kvt_procedures.
std::optional<StoredProcedure> FindInTable(data::Connection& connection, const std::string& name) {
  data::RecordSetRef rows;
  try {
    rows = connection.Query(
        "SELECT name, body, parameter_count, output_names, column_types "
        "FROM kvt_procedures "
        "WHERE name = ?1 COLLATE NOCASE",
        {vb::Variant(name)});
  } catch (const vb::Error& error) {
    // A database without a catalogue holds no procedures.
    if (error.number() == data::kCommandError &&
        error.description().rfind("no such table", 0) == 0) {
      return std::nullopt;
    }
    throw;
  }
  if (rows->IsEOF()) return std::nullopt;
  StoredProcedure procedure;
  procedure.name = vb::CStr(rows->Item(0).Value());
  procedure.body = vb::CStr(rows->Item(1).Value());
  procedure.parameter_count = vb::CLng(rows->Item(2).Value());
  const vb::Variant outputs = rows->Item(3).Value();
  if (!outputs.IsNull()) procedure.output_names = SplitNames(vb::CStr(outputs));
  const vb::Variant types = rows->Item(4).Value();
  if (!types.IsNull()) procedure.column_types = ParseColumnTypes(vb::CStr(types));
  return procedure;
}

// PostgreSQL keeps them as functions of the connection's schema. The call
// casts each argument to the declared type, so that "1.0" finds a function
// of integers as it would on SQLite; OUT parameters are the outputs, and a
// function that RETURNS TABLE gives a record set.
std::optional<StoredProcedure> FindFunction(data::Connection& connection, const std::string& name) {
  data::RecordSetRef rows = connection.Query(
      "SELECT p.proname, p.pronargs, "
      "  format('SELECT * FROM %I.%I(%s)', n.nspname, p.proname, "
      "    COALESCE((SELECT string_agg(format('CAST(?%s AS %s)', a.i, "
      "                                format_type(a.t, NULL)), ', ' ORDER BY a.i) "
      "               FROM unnest(p.proargtypes::oid[]) WITH ORDINALITY AS a(t, i)), "
      "             '')), "
      "  COALESCE((SELECT string_agg(a.n, ',' ORDER BY a.i) "
      "              FROM unnest(p.proargnames, p.proargmodes) WITH ORDINALITY "
      "                AS a(n, m, i) WHERE a.m IN ('o', 'b')), '') "
      "FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace "
      "WHERE n.nspname = current_schema() AND p.prokind = 'f' "
      "  AND lower(p.proname) = lower(?1) "
      "ORDER BY p.oid LIMIT 1",
      {vb::Variant(name)});
  if (rows->IsEOF()) return std::nullopt;
  StoredProcedure procedure;
  procedure.name = vb::CStr(rows->Item(0).Value());
  procedure.parameter_count = vb::CLng(rows->Item(1).Value());
  procedure.body = vb::CStr(rows->Item(2).Value());
  procedure.output_names = SplitNames(vb::CStr(rows->Item(3).Value()));
  return procedure;
}

}  // namespace

std::optional<StoredProcedure> FindProcedure(data::Connection& connection,
                                             const std::string& name) {
  if (connection.GetBackend() == data::Backend::kPostgreSQL) {
    // Asked for on every call: a function found is read from the server's
    // catalogue once per connection (a kept one answers many requests).
    const std::string key = "procedure:" + name;
    if (const auto known = connection.Memo().find(key); known != connection.Memo().end()) {
      return std::any_cast<const StoredProcedure&>(known->second);
    }
    std::optional<StoredProcedure> found = FindFunction(connection, name);
    if (found) connection.Memo()[key] = *found;
    return found;
  }
  return FindInTable(connection, name);
}

}  // namespace kvt::services
