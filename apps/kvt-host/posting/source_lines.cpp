#include "apps/kvt-host/posting/source_lines.h"

#include <algorithm>
#include <vector>

#include "apps/kvt-host/posting/bookable.h"
#include "apps/kvt-host/posting/refusal.h"
#include "platform/value/conversions.h"

namespace kvt::posting {

namespace {

struct DrawRule {
  Draw draw;
  // ?1 qty, ?2 line, ?3 owner, ?4 the slack of a quantity: a check must
  // not refuse the last unit over the binary noise of earlier sums.
  const char* update;
  const char* verb;
  const char* state;
};

constexpr DrawRule kRules[] = {
    {Draw::kReceive,
     "UPDATE PurchaseOrderDetails SET QtyReceived = QtyReceived + ?1 "
     "WHERE ID = ?2 AND PurchaseOrderID = ?3 AND COALESCE(Qty, 0) + "
     "COALESCE(BOQty, 0) - QtyReceived >= ?1 - ?4",
     "receive", "outstanding"},
    {Draw::kReturnReceived,
     "UPDATE GRVDetails SET QtyReturned = COALESCE(QtyReturned, 0) + ?1 "
     "WHERE ID = ?2 AND GRVID = ?3 AND Qty - COALESCE(QtyReturned, 0) "
     ">= ?1 - ?4",
     "return", "returnable"},
    {Draw::kReturnConsignment,
     "UPDATE GRVDetails SET QtyReturned = COALESCE(QtyReturned, 0) + ?1, "
     "QtyLeft = QtyLeft - ?1 WHERE ID = ?2 AND GRVID = ?3 AND "
     "QtyLeft >= ?1 - ?4",
     "return", "left on consignment"},
    {Draw::kSellConsignment,
     "UPDATE GRVDetails SET QtySold = COALESCE(QtySold, 0) + ?1, "
     "QtyLeft = QtyLeft - ?1 WHERE ID = ?2 AND GRVID = ?3 AND "
     "QtyLeft >= ?1 - ?4",
     "sell", "left on consignment"},
};

// The line as it stands, read only to explain a refusal: Qty is what it
// holds in all (ordered plus back order, or received), Taken what has been
// drawn on it (received, or returned).
constexpr char kOrderLineState[] =
    "SELECT d.PurchaseOrderID AS Owner, d.ProductID, p.Code, p.Description, "
    "COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0) AS Qty, "
    "COALESCE(d.QtyReceived, 0) AS Taken, 0 AS Sold, 0 AS QtyLeft "
    "FROM PurchaseOrderDetails d LEFT JOIN Products p ON p.ID = d.ProductID "
    "WHERE d.ID = ?1";
constexpr char kVoucherLineState[] =
    "SELECT gd.GRVID AS Owner, gd.ProductID, p.Code, p.Description, "
    "COALESCE(gd.Qty, 0) AS Qty, COALESCE(gd.QtyReturned, 0) AS Taken, "
    "COALESCE(gd.QtySold, 0) AS Sold, COALESCE(gd.QtyLeft, 0) AS QtyLeft "
    "FROM GRVDetails gd LEFT JOIN Products p ON p.ID = gd.ProductID "
    "WHERE gd.ID = ?1";

const DrawRule& RuleOf(Draw draw) {
  return *std::find_if(std::begin(kRules), std::end(kRules),
                       [&](const DrawRule& rule) { return rule.draw == draw; });
}

std::string TextOf(const data::RecordSet& row, const char* column) {
  const vb::Variant value = row.Item(column).Value();
  return value.IsNull() ? std::string() : vb::CStr(value);
}

double QtyOf(const data::RecordSet& row, const char* column) {
  return vb::CDbl(row.Item(column).Value());
}

// Why the conditional update changed nothing, as the refusal to raise.
[[noreturn]] void RefuseDraw(data::Connection& connection, Draw draw, const DrawRequest& request) {
  const data::RecordSetRef line = connection.Query(
      draw == Draw::kReceive ? kOrderLineState : kVoucherLineState, {vb::Variant(request.line_id)});
  if (line->IsEOF() || vb::CLng(line->Item("Owner").Value()) != request.owner_id) {
    Refuse(request.line_label + " is not a line of " + request.owner_label + ".");
  }
  const vb::Variant product_key = line->Item("ProductID").Value();
  const int32_t product_id = product_key.IsNull() ? 0 : vb::CLng(product_key);
  const std::string product =
      ProductText(TextOf(*line, "Code"), TextOf(*line, "Description"), product_id);
  if (request.product_id != 0 && request.product_id != product_id) {
    Refuse(request.line_label + " is for product " + std::to_string(request.product_id) +
           ", but its line on " + request.owner_label + " is for " + product + ".");
  }
  const double qty = QtyOf(*line, "Qty");
  const double taken = QtyOf(*line, "Taken");
  const double sold = QtyOf(*line, "Sold");
  const double left = QtyOf(*line, "QtyLeft");
  std::string available, detail;
  switch (draw) {
    case Draw::kReceive:
      available = QtyText(std::max(qty - taken, 0.0));
      detail = QtyText(qty) + " ordered, " + QtyText(taken) + " received";
      break;
    case Draw::kReturnReceived:
      available = QtyText(std::max(qty - taken, 0.0));
      detail = QtyText(qty) + " received, " + QtyText(taken) + " already returned";
      break;
    case Draw::kReturnConsignment:
    case Draw::kSellConsignment:
      available = QtyText(std::max(left, 0.0));
      detail =
          QtyText(qty) + " received, " + QtyText(sold) + " sold, " + QtyText(taken) + " returned";
      break;
  }
  const DrawRule& rule = RuleOf(draw);
  Refuse(std::string("Cannot ") + rule.verb + " " + QtyText(request.qty) + " of " + product +
         ": only " + available + " " + rule.state + " on " + request.owner_label + " (" + detail +
         ").");
}

}  // namespace

void DrawOnLine(data::Connection& connection, Draw draw, const DrawRequest& request) {
  if (const std::string refusal = QtyRefusal(request.line_label, request.qty); !refusal.empty()) {
    Refuse(refusal);
  }
  std::string sql = RuleOf(draw).update;
  std::vector<vb::Variant> parameters = {vb::Variant(request.qty), vb::Variant(request.line_id),
                                         vb::Variant(request.owner_id), vb::Variant(kQtySlack)};
  if (request.product_id != 0) {
    sql += " AND ProductID = ?5";
    parameters.emplace_back(request.product_id);
  }
  if (connection.Execute(sql, parameters) == 0) {
    RefuseDraw(connection, draw, request);
  }
}

}  // namespace kvt::posting
