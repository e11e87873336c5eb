// One write transaction around a posting: all of it or nothing.
#pragma once

#include <functional>

#include "platform/data/connection.h"

namespace kvt::posting {

// Runs `body` in one write transaction of `connection`: committed when the
// body returns, rolled back when it raises (the failure goes on to the
// caller). On SQLite the body's reads and checks happen under the
// database's write lock; on a server the body locks the rows it checks.
// Either way two clerks posting at once are checked one after the other.
// Another connection in the way makes a statement wait the connection's
// lock timeout; a transaction that still loses (a LockConflict: the lock
// was held longer, or the server broke a deadlock) is rolled back and run
// again from the start of the body, `attempts` times in all, before its
// error is raised. Any other failure, a server gone among them, is raised
// at once.
void RunInWriteTransaction(data::Connection& connection, const std::function<void()>& body,
                           int attempts = 3);

// Runs `body`, and again after a LockConflict, `attempts` times in all,
// waiting a little longer each time; the last conflict is raised. For a
// body that is one statement (a transaction of its own) or a transaction.
void RunRetryingConflicts(const std::function<void()>& body, int attempts);

// What a SELECT in the body ends with to lock the rows it reads until the
// transaction ends: " FOR NO KEY UPDATE" on a server (the rows' keys stay
// free for other sessions' foreign keys), nothing on SQLite, whose write
// lock already covers the database. The body takes its locks in one order
// (the order or voucher drawn on, its lines, the products, the company),
// so that two postings never wait for each other.
const char* RowLock(const data::Connection& connection);

}  // namespace kvt::posting
