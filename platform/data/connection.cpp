#include "platform/data/connection.h"

#include "platform/data/data_errors.h"

namespace kvt::data {

const char* BackendName(Backend backend) {
  return backend == Backend::kPostgreSQL ? "PostgreSQL" : "SQLite";
}

void Connection::ThrowClosed() const {
  vb::Error closed = ObjectClosedError(path_);
  throw vb::Error(closed.number(), kConnectionSource, closed.description(), closed.context());
}

void Connection::RunInTransaction(const std::function<void()>& work, TransactionLock lock) {
  ExecuteScript(BeginText(lock));
  try {
    work();
    ExecuteScript("COMMIT");
  } catch (...) {
    // The rollback's own failure is never the news.
    if (IsOpen() && InTransaction()) {
      try {
        ExecuteScript("ROLLBACK");
      } catch (const vb::Error&) {
      }
    }
    throw;
  }
}

}  // namespace kvt::data
