// Built instead of postgres_connection.cpp when KVT_WITH_POSTGRES is off.
#include "platform/data/data_errors.h"
#include "platform/data/postgres_connection.h"

namespace kvt::data {

ConnectionRef OpenPostgres(const PostgresServer& server) {
  throw vb::Error(vb::err::kAdoProviderNotFound, kConnectionSource,
                  "Provider cannot be found. It may not be properly "
                  "installed.",
                  "PostgreSQL (built without it): " + server.database);
}

std::string PostgresPasswordVerifier(Connection& connection, const std::string&,
                                     const std::string&) {
  throw ProviderError("Not a PostgreSQL connection.", connection.Path());
}

bool HoldSchemaAlone(Connection&) { return true; }

}  // namespace kvt::data
