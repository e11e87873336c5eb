#include "apps/kvt-host/serve/consignment_routes.h"

#include "apps/kvt-host/posting/consignment_sale.h"
#include "apps/kvt-host/serve/api_error.h"
#include "apps/kvt-host/serve/json_body.h"
#include "apps/kvt-host/serve/json_rows.h"
#include "apps/kvt-host/sessions/stock_figures.h"
#include "platform/value/conversions.h"
#include "platform/value/locale.h"

namespace kvt::serve {

namespace {

using nlohmann::json;

json LineJson(const host::ConsignmentLine& line) {
  return {{"id", line.line_id},
          {"voucher_number", line.voucher_number},
          {"code", line.code},
          {"received", line.received},
          {"sold", line.sold},
          {"returned", line.returned},
          {"left", line.left ? json(*line.left) : json(nullptr)},
          {"last_sold_on", JsonValue(line.last_sold_on, JsonKind::kDate)}};
}

json Lines(Call& call) {
  json list = json::array();
  for (const host::ConsignmentLine& line : host::ReadConsignmentLines(
           call.User().connection_text, call.options.company_id, call.Key(0))) {
    list.push_back(LineJson(line));
  }
  return list;
}

json Sold(Call& call, const posting::ConsignmentSale& sale);

// "2026-12-06" as a date; 400 naming the field for anything else.
vb::Date SaleDate(const std::optional<std::string>& text) {
  if (!text) return vb::Date::Today();
  const std::optional<vb::Date> date =
      text->size() == 10 ? vb::Date::Parse(*text, vb::Locale()) : std::nullopt;
  if (!date || date->HasTime() || (*text)[4] != '-') {
    Refuse(400, "date", "date must be a day written yyyy-mm-dd");
  }
  return *date;
}

json Sell(Call& call, SaleKeys& keys) {
  JsonBody body(call.request.body);
  posting::ConsignmentSale sale;
  sale.consignment_line_id = body.Key("line_id");
  sale.qty = body.Quantity("qty");
  const std::optional<std::string> date = body.OptionalText("date", 10);
  sale.date = SaleDate(date);
  body.Done();
  sale.company_id = call.options.company_id;
  const std::string key = call.IdempotencyKey();
  if (key.empty()) return Sold(call, sale);
  const std::string owner = call.User().user;
  const json request = {
      {"line_id", sale.consignment_line_id}, {"qty", sale.qty}, {"date", date.value_or("")}};
  if (std::optional<json> before = keys.Begin(owner, key, request.dump())) {
    call.response.status = 201;
    return *before;
  }
  json answer;
  try {
    answer = Sold(call, sale);
  } catch (...) {
    keys.Drop(owner, key);
    throw;
  }
  keys.Done(owner, key, answer);
  return answer;
}

// Makes `sale` and answers its line as it stands after.
json Sold(Call& call, const posting::ConsignmentSale& sale) {
  // The sale checks the caller's role itself, and the line's quantities
  // inside its transaction.
  posting::RecordConsignmentSale(call.Db(), sale);
  const auto found = call.Db().Query(
      "SELECT g.SupplierID FROM GRVDetails gd JOIN GRVs g ON g.ID = gd.GRVID WHERE gd.ID = ?1",
      {vb::Variant(sale.consignment_line_id)});
  for (const host::ConsignmentLine& line : host::ReadConsignmentLines(
           call.User().connection_text, sale.company_id, vb::CLng(found->Item(0).Value()))) {
    if (line.line_id == sale.consignment_line_id) {
      call.response.status = 201;
      return LineJson(line);
    }
  }
  Refuse(500, "", "The sale was recorded but its line could not be read back.");
}

}  // namespace

void AddConsignmentRoutes(ApiServer& server, SaleKeys& keys) {
  server.Add({"GET", "/api/suppliers/{id}/consignment-lines", Lines});
  server.Add({"POST", "/api/consignment-sales", [&keys](Call& call) { return Sell(call, keys); }});
}

}  // namespace kvt::serve
