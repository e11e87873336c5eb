#include "apps/kvt-host/serve/order_routes.h"

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/order_session.h"
#include "apps/kvt-host/serve/api_error.h"
#include "apps/kvt-host/serve/json_body.h"
#include "apps/kvt-host/serve/pdf_answer.h"
#include "platform/ui/headless_driver.h"
#include "platform/value/conversions.h"

namespace kvt::serve {

namespace {

using nlohmann::json;

constexpr size_t kMostLines = 200;

struct TypedLine {
  std::string code;
  double qty = 0;
};

// The buyer's desk for the caller: their connection and, on SQLite, their
// name.
host::DeskContext Desk(Call& call) {
  return host::OpenDesk(call.User().connection_text, call.User().user, call.options.company_id,
                        call.options.database_name);
}

// Runs `work` as a buyer who plays `script`; refuses (422) with what the
// message boxes said when `work` gives false.
void AsBuyer(const std::function<void(ui::HeadlessDriver&)>& script,
             const std::function<bool()>& work, const std::string& otherwise) {
  auto buyer = std::make_shared<ui::HeadlessDriver>();
  script(*buyer);
  ui::ScopedDriver scoped(buyer);
  if (work()) return;
  std::string told;
  for (const auto& message : buyer->Messages()) told += (told.empty() ? "" : " ") + message.prompt;
  Refuse(422, "", told.empty() ? otherwise : told);
}

// Saves through the delivery dialog: processed now (printed later, on
// request) or kept pending.
void SaveOrder(host::OrderSession& session, bool process) {
  AsBuyer(
      [process](ui::HeadlessDriver& buyer) {
        buyer.Click(process ? "optChoice(0)" : "optChoice(1)").Click("cmdAction(0)");
      },
      [&] { return session.Save().saved; }, "The order was not saved.");
}

json Saved(host::OrderSession& session) {
  const host::OrderHeader& header = session.Header();
  return {{"id", header.order_id},
          {"number", header.order_number},
          {"status", host::OrderStatusText(header.status)},
          {"lines", session.LineCount()}};
}

json Create(Call& call) {
  JsonBody body(call.request.body);
  const int32_t supplier = body.Key("supplier_id");
  const std::string our_ref = body.OptionalText("our_ref", 30).value_or("");
  const std::string supplier_ref = body.OptionalText("supplier_ref", 30).value_or("");
  const bool process = body.OptionalFlag("process").value_or(false);
  std::vector<TypedLine> lines;
  for (JsonBody& line : body.Objects("lines", kMostLines)) {
    TypedLine typed{line.Text("code", 50), line.Quantity("qty")};
    line.Done();
    lines.push_back(std::move(typed));
  }
  body.Done();
  call.Require(access::Action::kEditOrder, "new order");
  host::OrderSession session(Desk(call));
  session.StartNew(supplier);
  session.SetReferences(our_ref, supplier_ref, "");
  for (size_t i = 0; i < lines.size(); ++i) {
    const host::ProductLookup found = host::FindProduct(session.Products(), lines[i].code);
    if (found.index < 0) {
      Refuse(422, "lines[" + std::to_string(i) + "].code",
             "There is no product " + lines[i].code +
                 (found.candidates > 1 ? " (several codes begin so)." : "."));
    }
    const int32_t product = session.Products()[static_cast<size_t>(found.index)].id;
    AsBuyer([](ui::HeadlessDriver& buyer) { buyer.Click("cmdAction(0)"); },
            [&] { return session.AddLine(product, lines[i].qty); },
            "Line " + std::to_string(i + 1) + " was not taken.");
  }
  SaveOrder(session, process);
  call.response.status = 201;
  return Saved(session);
}

json Process(Call& call) {
  call.Require(access::Action::kProcessOrder, "order");
  host::OrderSession session(Desk(call));
  session.Open(call.Key(0));
  if (session.Header().status != host::kOrderPending) {
    Refuse(409, "",
           session.Header().order_number + " is " + host::OrderStatusText(session.Header().status) +
               ", not pending.");
  }
  SaveOrder(session, true);
  return Saved(session);
}

json Pdf(Call& call) {
  call.Require(access::Action::kPrintOrder, "order");
  host::OrderSession session(Desk(call));
  session.Open(call.Key(0));
  AnswerPdf(call, session.Header().order_number + ".pdf", [&] { session.Print(true); });
  return nullptr;
}

}  // namespace

void AddOrderRoutes(ApiServer& server) {
  server.Add({"POST", "/api/orders", Create});
  server.Add({"POST", "/api/orders/{id}/process", Process});
  server.Add({"GET", "/api/orders/{id}/pdf", Pdf});
}

}  // namespace kvt::serve
