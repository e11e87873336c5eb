#include "apps/kvt-host/posting/write_transaction.h"

#include <chrono>
#include <thread>

#include "platform/data/data_errors.h"

namespace kvt::posting {

void RunRetryingConflicts(const std::function<void()>& body, int attempts) {
  for (int attempt = 1;; ++attempt) {
    try {
      body();
      return;
    } catch (const data::LockConflict&) {
      if (attempt >= attempts) throw;
    }
    // A little longer each time, so that the holder gets to finish.
    std::this_thread::sleep_for(std::chrono::milliseconds(20 * attempt));
  }
}

void RunInWriteTransaction(data::Connection& connection, const std::function<void()>& body,
                           int attempts) {
  RunRetryingConflicts(
      [&] { connection.RunInTransaction(body, data::Connection::TransactionLock::kWrite); },
      attempts);
}

const char* RowLock(const data::Connection& connection) {
  return connection.GetBackend() == data::Backend::kSQLite ? "" : " FOR NO KEY UPDATE";
}

}  // namespace kvt::posting
