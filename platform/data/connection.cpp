#include "platform/data/connection.h"

#include "platform/data/data_errors.h"

namespace kvt::data {

const char* BackendName(Backend backend) {
  return backend == Backend::kPostgreSQL ? "PostgreSQL" : "SQLite";
}

void Connection::ThrowClosed() const {
  vb::Error closed = ObjectClosedError(path_);
  throw vb::Error(closed.number(), kConnectionSource, closed.description(),
                  closed.context());
}

}  // namespace kvt::data
