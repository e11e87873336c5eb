#include "apps/kvt-host/serve/api_error.h"

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/sessions/order_store.h"
#include "apps/kvt-host/posting/voucher.h"

namespace kvt::serve {

namespace {

// The record-not-found numbers of the data layer (no current record, no
// such item).
constexpr int32_t kNoCurrentRecord = 3021;

}  // namespace

void Refuse(int status, std::string field, std::string message) {
  throw ApiError{status, std::move(field), std::move(message)};
}

ApiError ApiErrorOf(const vb::Error& error) {
  const int32_t number = error.number();
  int status = 500;
  if (number == access::kPermissionDenied) {
    status = 403;
  } else if (number == kNoCurrentRecord) {
    status = 404;
  } else if (number == posting::kPostingRefused || number == host::kOrderChangedElsewhere) {
    status = 409;
  } else if (number == vb::err::kInvalidCall || number == vb::err::kTypeMismatch ||
             number == vb::err::kSubscriptOutOfRange || number == vb::err::kOverflow) {
    status = 422;
  }
  return {status, "", error.description()};
}

nlohmann::json ErrorJson(const ApiError& error) {
  nlohmann::json body = {{"status", error.status}, {"message", error.message}};
  if (!error.field.empty()) body["field"] = error.field;
  return {{"error", body}};
}

std::string JsonText(const nlohmann::json& value) {
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace kvt::serve
