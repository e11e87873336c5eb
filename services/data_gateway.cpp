#include "services/data_gateway.h"

#include "platform/data/data_errors.h"
#include "services/command_text.h"
#include "services/connection_text.h"
#include "services/procedure_catalog.h"

namespace kvt::services {

namespace {

constexpr char kSource[] = "DataGateway";

[[noreturn]] void Refuse(const std::string& description, const std::string& context) {
  throw vb::Error(kCommandRefused, kSource, description, context);
}

data::Connection& Require(const data::ConnectionRef& connection) {
  if (!connection) throw vb::Error::ObjectNotSet(kSource);
  if (!connection->IsOpen()) {
    throw vb::Error(vb::err::kAdoObjectClosed, kSource,
                    "Operation is not allowed when the object is closed.");
  }
  return *connection;
}

StoredProcedure Lookup(data::Connection& connection, const std::string& name) {
  auto procedure = FindProcedure(connection, name);
  // Named in the description, as a server's own message would name it.
  if (!procedure) Refuse("Could not find stored procedure '" + name + "'.", name);
  return *procedure;
}

// Runs `body` and reports the failure's number in `status` as well.
template <class Body>
auto Tracked(int32_t& status, Body body) {
  try {
    auto result = body();
    status = 0;
    return result;
  } catch (const vb::Error& error) {
    status = error.number();
    throw;
  }
}

}  // namespace

data::ConnectionRef DataGateway::OpenConnection(const std::string& connection_text,
                                                int32_t /*connect_option*/, int32_t /*mode*/) {
  return services::OpenConnection(ParseConnectionText(connection_text));
}

data::RecordSetRef DataGateway::OpenRecordset(const std::string& command_text, int32_t cursor_type,
                                              int32_t /*lock_type*/, int32_t /*options*/,
                                              data::ConnectionRef& connection, int32_t& status) {
  return Tracked(status, [&] {
    data::Connection& db = Require(connection);
    const ProcedureCall call = ParseProcedureCall(command_text);
    const StoredProcedure procedure = Lookup(db, call.name);
    if (static_cast<int>(call.arguments.size()) != procedure.parameter_count) {
      Refuse("The procedure expects a different number of arguments.", command_text);
    }
    data::RecordSetRef result = db.Query(procedure.body, call.arguments, procedure.column_types);
    if (cursor_type == 0) result->SetRecordCountUnknown(true);
    return result;
  });
}

void DataGateway::RunProcedure(const std::string& procedure_name, data::ConnectionRef& connection,
                               int32_t /*options*/, std::vector<ProcedureParameter>& parameters,
                               int32_t& status) {
  Tracked(status, [&] {
    data::Connection& db = Require(connection);
    if (!IsProcedureName(procedure_name)) {
      Refuse("The command text is not a procedure call.", procedure_name);
    }
    const StoredProcedure procedure = Lookup(db, procedure_name);
    std::vector<vb::Variant> inputs;
    std::vector<vb::Variant*> outputs;
    for (const ProcedureParameter& parameter : parameters) {
      if (parameter.value == nullptr) throw vb::Error::ObjectNotSet(kSource);
      if (parameter.direction != ParameterDirection::kOutput) {
        inputs.push_back(*parameter.value);
      }
      if (parameter.direction != ParameterDirection::kInput) {
        outputs.push_back(parameter.value);
      }
    }
    if (static_cast<int>(inputs.size()) != procedure.parameter_count ||
        outputs.size() != procedure.output_names.size()) {
      Refuse("The procedure expects a different number of arguments.", procedure_name);
    }
    data::RecordSetRef row = db.Query(procedure.body, inputs, procedure.column_types);
    if (!outputs.empty() && row->Fields().Count() < static_cast<int>(outputs.size())) {
      throw data::CommandError("The procedure returns fewer values than it declares.",
                               procedure_name);
    }
    for (size_t i = 0; i < outputs.size(); ++i) {
      *outputs[i] = row->IsEOF() ? vb::Variant::Null() : row->Item(static_cast<int>(i)).Value();
    }
    return 0;
  });
}

}  // namespace kvt::services
