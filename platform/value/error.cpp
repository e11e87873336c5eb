#include "platform/value/error.h"

#include <new>
#include <utility>

#include "platform/value/failure_style.h"

namespace vb {

Error::Error(int32_t number, std::string source, std::string description, std::string context)
    : number_(number),
      source_(std::move(source)),
      description_(std::move(description)),
      context_(std::move(context)) {}

std::string Error::StandardDescription(int32_t number) {
  switch (number) {
    case err::kReturnWithoutGoSub: return "Return without GoSub";
    case err::kInvalidCall: return "Invalid procedure call or argument";
    case err::kOverflow: return "Overflow";
    case err::kOutOfMemory: return "Out of memory";
    case err::kSubscriptOutOfRange: return "Subscript out of range";
    case err::kDivisionByZero: return "Division by zero";
    case err::kTypeMismatch: return "Type mismatch";
    case err::kOutOfStackSpace: return "Out of stack space";
    case err::kInternalError: return "Internal error";
    case err::kFileNotFound: return "File not found";
    case err::kFileAlreadyExists: return "File already exists";
    case err::kPathFileAccessError: return "Path/File access error";
    case err::kPathNotFound: return "Path not found";
    case err::kInvalidFileFormat: return "Invalid file format";
    case err::kPrinterError: return "Printer error";
    case err::kObjectNotSet: return "Object variable or With block variable not set";
    case err::kInvalidUseOfNull: return "Invalid use of Null";
    case err::kInvalidPropertyValue: return "Invalid property value";
    case err::kObjectRequired: return "Object required";
    case err::kCantCreateObject: return "ActiveX component can't create object";
    case err::kNoSuchMember: return "Object doesn't support this property or method";
    case err::kWrongArgumentCount:
      return "Wrong number of arguments or invalid property assignment";
    case err::kAdoInvalidArgument:
      return "Arguments are of the wrong type, are out of acceptable range, "
             "or are in conflict with one another.";
    case err::kAdoNoCurrentRecord:
      return "Either BOF or EOF is True, or the current record has been "
             "deleted. Requested operation requires a current record.";
    case err::kAdoOperationNotAllowed: return "Operation is not allowed in this context.";
    case err::kAdoItemNotFound:
      return "Item cannot be found in the collection corresponding to the "
             "requested name or ordinal.";
    case err::kAdoDataConversion:
      return "Application uses a value of the wrong type for the current "
             "operation.";
    case err::kAdoObjectClosed: return "Operation is not allowed when the object is closed.";
    case err::kAdoProviderNotFound:
      return "Provider cannot be found. It may not be properly installed.";
    default: return "Application-defined or object-defined error";
  }
}

Error Error::Numbered(int32_t number, std::string source, std::string context) {
  return Error(number, std::move(source), StandardDescription(number), std::move(context));
}
Error Error::InvalidCall(std::string source) {
  return Numbered(err::kInvalidCall, std::move(source));
}
Error Error::Overflow(std::string source) { return Numbered(err::kOverflow, std::move(source)); }
Error Error::DivisionByZero(std::string source) {
  return Numbered(err::kDivisionByZero, std::move(source));
}
Error Error::TypeMismatch(std::string source, std::string context) {
  return Numbered(err::kTypeMismatch, std::move(source), std::move(context));
}
Error Error::ObjectNotSet(std::string source) {
  return Numbered(err::kObjectNotSet, std::move(source));
}
Error Error::InvalidUseOfNull(std::string source) {
  return Numbered(err::kInvalidUseOfNull, std::move(source));
}
Error Error::NoSuchMember(std::string source, std::string context) {
  return Numbered(err::kNoSuchMember, std::move(source), std::move(context));
}
Error Error::SubscriptOutOfRange(std::string source) {
  return Numbered(err::kSubscriptOutOfRange, std::move(source));
}

Error CaughtError() noexcept {
  try {
    throw;
  } catch (const Error& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return Error::Numbered(err::kOutOfMemory);
  } catch (const std::exception& error) {
    return Error(err::kInternalError, {}, Error::StandardDescription(err::kInternalError),
                 error.what());
  } catch (...) {
    return Error::Numbered(err::kInternalError);
  }
}

}  // namespace vb
