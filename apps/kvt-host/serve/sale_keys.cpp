#include "apps/kvt-host/serve/sale_keys.h"

#include "apps/kvt-host/serve/api_error.h"
#include "platform/value/conversions.h"
#include "platform/value/date.h"
#include "services/connection_text.h"

namespace kvt::serve {

namespace {

constexpr double kKeptDays = 1;

data::ConnectionRef Open(const std::string& connection_text) {
  return services::OpenConnection(services::ParseConnectionText(connection_text));
}

}  // namespace

std::optional<nlohmann::json> SaleKeys::Begin(const std::string& owner, const std::string& key,
                                              const std::string& request) {
  const data::ConnectionRef connection = Open(connection_text_);
  const vb::Date now = vb::Date::Now();
  connection->Execute(
      "DELETE FROM ApiSaleKeys WHERE CompanyID = ?1 AND UpdatedAt < ?2",
      {vb::Variant(company_id_), vb::Variant(vb::Date::FromSerial(now.serial() - kKeptDays))});
  try {
    connection->Execute(
        "INSERT INTO ApiSaleKeys (CompanyID, Owner, SaleKey, Request, UpdatedAt) "
        "VALUES (?1, ?2, ?3, ?4, ?5)",
        {vb::Variant(company_id_), vb::Variant(owner), vb::Variant(key), vb::Variant(request),
         vb::Variant(now)});
    return std::nullopt;
  } catch (const vb::Error&) {
    // Taken before (the key's row is there), or the database failed.
    const auto taken = connection->Query(
        "SELECT Request, Answer FROM ApiSaleKeys WHERE CompanyID = ?1 AND Owner = ?2 AND "
        "SaleKey = ?3",
        {vb::Variant(company_id_), vb::Variant(owner), vb::Variant(key)});
    if (taken->IsEOF()) throw;
    if (vb::CStr(taken->Item(0).Value()) != request) {
      Refuse(422, "Idempotency-Key", "Idempotency-Key was sent before with another sale");
    }
    const vb::Variant answer = taken->Item(1).Value();
    if (answer.IsNull()) {
      Refuse(409, "",
             "The sale under this key is being made, or was cut short: look at the line "
             "before selling again under another key.");
    }
    return nlohmann::json::parse(vb::CStr(answer));
  }
}

void SaleKeys::Done(const std::string& owner, const std::string& key,
                    const nlohmann::json& answer) {
  Open(connection_text_)
      ->Execute(
          "UPDATE ApiSaleKeys SET Answer = ?1 WHERE CompanyID = ?2 AND Owner = ?3 AND "
          "SaleKey = ?4",
          {vb::Variant(answer.dump()), vb::Variant(company_id_), vb::Variant(owner),
           vb::Variant(key)});
}

void SaleKeys::Drop(const std::string& owner, const std::string& key) {
  Open(connection_text_)
      ->Execute("DELETE FROM ApiSaleKeys WHERE CompanyID = ?1 AND Owner = ?2 AND SaleKey = ?3",
                {vb::Variant(company_id_), vb::Variant(owner), vb::Variant(key)});
}

}  // namespace kvt::serve
