#include "apps/kvt-host/serve/order_routes.h"

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/order_session.h"
#include "apps/kvt-host/posting/refusal.h"
#include "apps/kvt-host/serve/api_error.h"
#include "apps/kvt-host/serve/catalog_routes.h"
#include "apps/kvt-host/serve/json_body.h"
#include "apps/kvt-host/serve/pdf_answer.h"
#include "platform/ui/event.h"
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

// What the buyer's message boxes said, one after the other.
std::string Said(const ui::HeadlessDriver& buyer) {
  std::string told;
  for (const auto& message : buyer.Messages()) told += (told.empty() ? "" : " ") + message.prompt;
  return told;
}

// Runs `work` as a buyer who plays `script`; refuses (422) with what the
// message boxes said when `work` gives false.
void AsBuyer(const std::function<void(ui::HeadlessDriver&)>& script,
             const std::function<bool()>& work, const std::string& otherwise) {
  auto buyer = std::make_shared<ui::HeadlessDriver>();
  script(*buyer);
  ui::ScopedDriver scoped(buyer);
  if (work()) return;
  const std::string told = Said(*buyer);
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

// Adds `line` through the order item dialog, the buyer accepting what it
// proposes for the quantity typed; `field` names the code when there is
// no such product.
void AddLine(host::OrderSession& session, const TypedLine& line, const std::string& field,
             const std::string& otherwise) {
  const host::ProductLookup found = host::FindProduct(session.Products(), line.code);
  if (found.index < 0) {
    Refuse(422, field,
           "There is no product " + line.code +
               (found.candidates > 1 ? " (several codes begin so)." : "."));
  }
  const int32_t product = session.Products()[static_cast<size_t>(found.index)].id;
  AsBuyer([](ui::HeadlessDriver& buyer) { buyer.Click("cmdAction(0)"); },
          [&] { return session.AddLine(product, line.qty); }, otherwise);
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
    AddLine(session, lines[i], "lines[" + std::to_string(i) + "].code",
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

// The order as PDF: as it prints now, marked as a reprint once processed.
// A reprint route refuses an order never printed (still pending).
json Pdf(Call& call, bool reprint) {
  call.Require(access::Action::kPrintOrder, "order");
  host::OrderSession session(Desk(call));
  session.Open(call.Key(0));
  const host::OrderHeader& header = session.Header();
  if (reprint && !session.PrintsAsReprint()) {
    Refuse(409, "", header.order_number + " is pending: it has not been printed yet.");
  }
  AnswerPdf(call, header.order_number + (reprint ? "-copy" : "") + ".pdf",
            [&] { session.Print(true); });
  return nullptr;
}

// An order open for changing its lines: `order_id` opened in the buyer's
// desk, refused (409) when it is closed or cancelled.
void OpenForLines(Call& call, host::OrderSession& session) {
  call.Require(access::Action::kEditOrder, "order");
  session.Open(call.Key(0));
  if (const std::string locked = session.LockedReason(); !locked.empty()) Refuse(409, "", locked);
}

// The session's row of order line `line_id` (lines are in the order they
// were added); 404 when the order has no such line.
int RowOfLine(Call& call, int32_t line_id) {
  auto ids = call.Db().Query(
      "SELECT ID FROM PurchaseOrderDetails WHERE PurchaseOrderID = ?1 "
      "ORDER BY ID",
      {vb::Variant(call.Key(0))});
  for (int row = 0; !ids->IsEOF(); ids->MoveNext(), ++row) {
    if (vb::CLng(ids->Item(0).Value()) == line_id) return row;
  }
  Refuse(404, "path",
         "Order " + std::to_string(call.Key(0)) + " has no line " + std::to_string(line_id) + ".");
}

// Saves the changed lines through the delivery dialog as it is filled (a
// pending order stays pending) and answers the order as saved.
json SaveLines(Call& call, host::OrderSession& session) {
  AsBuyer([](ui::HeadlessDriver& buyer) { buyer.Click("cmdAction(0)"); },
          [&] { return session.Save().saved; }, "The order was not saved.");
  return OrderJson(call.Db(), session.Header().order_id);
}

json AddLines(Call& call) {
  JsonBody body(call.request.body);
  TypedLine line{body.Text("code", 50), body.Quantity("qty")};
  body.Done();
  host::OrderSession session(Desk(call));
  OpenForLines(call, session);
  line.code = ScannedCode(call.Db(), call.options.company_id, line.code);
  AddLine(session, line, "code", "The line was not taken.");
  call.response.status = 201;
  return SaveLines(call, session);
}

// A line's quantity typed again in the order item dialog: its rules and
// words, as at the desk.
json EditLine(Call& call) {
  JsonBody body(call.request.body);
  const double qty = body.Quantity("qty");
  body.Done();
  host::OrderSession session(Desk(call));
  OpenForLines(call, session);
  const int row = RowOfLine(call, call.Key(1));
  auto buyer = std::make_shared<ui::HeadlessDriver>();
  buyer->Replace("txtODEdit(0)", posting::QtyText(qty))
      .Press(ui::vbKeyReturn)
      .Click("cmdAction(0)");
  bool changed = false;
  {
    ui::ScopedDriver scoped(buyer);
    changed = session.EditLine(row);
  }
  if (!changed) {
    // Nothing said: the line already had that quantity.
    if (Said(*buyer).empty()) return OrderJson(call.Db(), session.Header().order_id);
    Refuse(422, "qty", Said(*buyer));
  }
  return SaveLines(call, session);
}

json RemoveLine(Call& call) {
  host::OrderSession session(Desk(call));
  OpenForLines(call, session);
  const int row = RowOfLine(call, call.Key(1));
  if (const std::string refusal = session.RemovalRefusal(row); !refusal.empty()) {
    Refuse(409, "", refusal);
  }
  session.RemoveLine(row);
  return SaveLines(call, session);
}

}  // namespace

void AddOrderRoutes(ApiServer& server) {
  server.Add({"POST", "/api/orders", Create});
  server.Add({"POST", "/api/orders/{id}/process", Process});
  server.Add({"GET", "/api/orders/{id}/pdf", [](Call& call) { return Pdf(call, false); }});
  server.Add({"GET", "/api/orders/{id}/reprint", [](Call& call) { return Pdf(call, true); }});
  server.Add({"POST", "/api/orders/{id}/lines", AddLines});
  server.Add({"PUT", "/api/orders/{id}/lines/{line_id}", EditLine});
  server.Add({"DELETE", "/api/orders/{id}/lines/{line_id}", RemoveLine});
}

}  // namespace kvt::serve
