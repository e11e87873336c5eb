#include "platform/data/data_errors.h"

namespace kvt::data {

vb::Error ItemNotFoundError(std::string context) {
  return vb::Error(vb::err::kAdoItemNotFound, kRecordsetSource,
                   "Item cannot be found in the collection corresponding to "
                   "the requested name or ordinal.",
                   std::move(context));
}

vb::Error NoCurrentRecordError(std::string context) {
  return vb::Error(vb::err::kAdoNoCurrentRecord, kRecordsetSource,
                   "Either BOF or EOF is True, or the current record has been "
                   "deleted. Requested operation requires a current record.",
                   std::move(context));
}

vb::Error ObjectClosedError(std::string context) {
  return vb::Error(vb::err::kAdoObjectClosed, kRecordsetSource,
                   "Operation is not allowed when the object is closed.", std::move(context));
}

vb::Error ObjectOpenError(std::string context) {
  return vb::Error(3705, kRecordsetSource, "Operation is not allowed when the object is open.",
                   std::move(context));
}

vb::Error WrongTypeError(std::string context) {
  return vb::Error(vb::err::kAdoDataConversion, kRecordsetSource,
                   "Application uses a value of the wrong type for the "
                   "current operation.",
                   std::move(context));
}

vb::Error InvalidArgumentError(std::string context) {
  return vb::Error(vb::err::kAdoInvalidArgument, kRecordsetSource,
                   "Arguments are of the wrong type, are out of acceptable "
                   "range, or are in conflict with one another.",
                   std::move(context));
}

vb::Error OperationNotAllowedError(std::string context) {
  return vb::Error(vb::err::kAdoOperationNotAllowed, kRecordsetSource,
                   "Operation is not allowed in this context.", std::move(context));
}

vb::Error ProviderError(std::string description, std::string context) {
  return vb::Error(vb::err::kAdoConnectionFailed, kConnectionSource, std::move(description),
                   std::move(context));
}

vb::Error CommandError(std::string description, std::string context) {
  return vb::Error(kCommandError, kConnectionSource, std::move(description), std::move(context));
}

LoginRefused::LoginRefused(std::string description, std::string context)
    : vb::Error(ProviderError(std::move(description), std::move(context))) {}

}  // namespace kvt::data
