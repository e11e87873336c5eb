// The data-access errors a record set or connection raises, with the
// platform's numbers and exact descriptions.
#pragma once

#include <string>
#include <utility>

#include "platform/value/error.h"

namespace kvt::data {

inline constexpr char kRecordsetSource[] = "Recordset";
inline constexpr char kConnectionSource[] = "Connection";

// 3265: no field of that name or ordinal.
vb::Error ItemNotFoundError(std::string context = {});
// 3021: BOF or EOF is True, so there is no current record.
vb::Error NoCurrentRecordError(std::string context = {});
// 3704: the object is closed.
vb::Error ObjectClosedError(std::string context = {});
// 3705: the object is already open.
vb::Error ObjectOpenError(std::string context = {});
// 3421: a value the field cannot take.
vb::Error WrongTypeError(std::string context = {});
// 3001: an argument (a bookmark, an option) out of range.
vb::Error InvalidArgumentError(std::string context = {});
// 3219: not allowed in this context (e.g. appending a field to an open set).
vb::Error OperationNotAllowedError(std::string context = {});

// Errors reported by the database engine: 0x80004005 with the engine's own
// message as description (the SQL goes into the context).
vb::Error ProviderError(std::string description, std::string context = {});
// 0x80040E14: the engine refused a command text.
inline constexpr int32_t kCommandError = -2147217900;
vb::Error CommandError(std::string description, std::string context = {});

// A command the engine failed because another connection held what it
// needed: a lock held past the connection's lock timeout, a deadlock the
// server broke, or a conflict between transactions. It is a CommandError
// (0x80040E14, the engine's message) to anyone who catches vb::Error; a
// caller that catches it first may run its transaction again from the
// start, and the work may then pass.
class LockConflict : public vb::Error {
 public:
  LockConflict(std::string description, std::string context)
      : vb::Error(kCommandError, kConnectionSource, std::move(description), std::move(context)) {}
};

// A command the server refused because the login may not do it: a table
// or column it holds no grant on, or a rule of the database that checks
// the login's role. A CommandError to anyone who catches vb::Error; the
// description is the server's.
class PermissionDenied : public vb::Error {
 public:
  PermissionDenied(std::string description, std::string context)
      : vb::Error(kCommandError, kConnectionSource, std::move(description), std::move(context)) {}
};

// A command the server refused by a rule of the database's own functions
// (SQLSTATE class KV): the description is the rule's message, written for
// the user. A CommandError to anyone who catches vb::Error.
class RuleRefusal : public vb::Error {
 public:
  RuleRefusal(std::string description, std::string context)
      : vb::Error(kCommandError, kConnectionSource, std::move(description), std::move(context)) {}
};

// The server refused the login itself: a wrong password, or a user it
// does not know (it does not say which). A ProviderError (0x80004005).
class LoginRefused : public vb::Error {
 public:
  LoginRefused(std::string description, std::string context);
};

}  // namespace kvt::data
