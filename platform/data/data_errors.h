// The data-access errors a record set or connection raises, with the
// platform's numbers and exact descriptions.
#pragma once

#include <string>

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

}  // namespace kvt::data
