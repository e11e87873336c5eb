// One write transaction around a posting: all of it or nothing.
#pragma once

#include <functional>

#include "platform/data/connection.h"

namespace kvt::posting {

// Runs `body` in one write transaction of `connection`: committed when the
// body returns, rolled back when it raises (the failure goes on to the
// caller). The body's reads and checks happen under the transaction's
// write lock, so two clerks posting at once are checked one after the
// other. Another writer holding the database makes the start (or the
// commit) wait the connection's busy timeout; one that still fails is
// retried from the start of the body, `attempts` times in all, before its
// error is raised.
void RunInWriteTransaction(data::Connection& connection,
                           const std::function<void()>& body, int attempts = 3);

}  // namespace kvt::posting
