#include "apps/kvt-host/posting/write_transaction.h"

#include <chrono>
#include <thread>

#include "platform/data/data_errors.h"
#include "platform/value/error.h"

namespace kvt::posting {

namespace {

// SQLite's BEGIN IMMEDIATE takes the write lock before the first read, so
// no other writer can slip in between a check and its update. A server
// database starts with a plain BEGIN; the posting locks the rows it checks
// (its conditional updates, and the company's row before it numbers).
const char* BeginWrite(const data::Connection& connection) {
  return connection.GetBackend() == data::Backend::kSQLite ? "BEGIN IMMEDIATE" : "BEGIN";
}

void RollBack(data::Connection& connection) noexcept {
  try {
    connection.Execute("ROLLBACK");
  } catch (const vb::Error&) {
    // The engine may have rolled back already; nothing is left to undo.
  }
}

// Raises `error` unless another attempt is left and the error is the
// engine's refusal (a lock held past the busy timeout), which may pass;
// then waits a little longer each time.
void RetryOrRaise(const vb::Error& error, int attempt, int attempts) {
  if (attempt >= attempts || error.number() != data::kCommandError) {
    throw error;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(20 * attempt));
}

}  // namespace

void RunInWriteTransaction(data::Connection& connection,
                           const std::function<void()>& body, int attempts) {
  for (int attempt = 1;; ++attempt) {
    try {
      connection.Execute(BeginWrite(connection));
    } catch (const vb::Error& error) {
      RetryOrRaise(error, attempt, attempts);
      continue;
    }
    try {
      body();
    } catch (...) {
      RollBack(connection);
      throw;
    }
    try {
      connection.Execute("COMMIT");
      return;
    } catch (const vb::Error& error) {
      RollBack(connection);
      RetryOrRaise(error, attempt, attempts);
    }
  }
}

}  // namespace kvt::posting
