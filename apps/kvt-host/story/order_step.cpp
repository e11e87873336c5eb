// Steps 1 to 3 of the story: the purchase order built line by line through
// the order item dialog, saved with the delivery details the buyer
// confirms in the delivery dialog, and printed — all through the desk's
// order session, as a buyer at the desk would.
#include <iterator>
#include <memory>

#include "apps/kvt-host/sessions/order_session.h"
#include "apps/kvt-host/story/story_steps.h"
#include "platform/value/conversions.h"

namespace kvt::host {

namespace {

// The grid's columns the transcript shows of a line.
enum LineColumn { kProduct = 1, kQty = 2, kPrice = 5, kTrade, kRebate, kOther, kNet, kTax, kTotal };

class OrderStory {
 public:
  explicit OrderStory(Story& story) : story_(story), log_(story.log) {}

  bool Run() { return Start() && BuildLines() && Save() && Print(); }

 private:
  bool Start() {
    const HostContext& context = story_.Context();
    const DeskContext desk =
        OpenDesk(context.connection_text, UserName(), context.company_id, context.database_name);
    user_name_ = desk.user_name;
    session_ = std::make_unique<OrderSession>(desk);
    session_->StartNew(story_.supplier_id);
    session_->SetDateOrdered(story_.date);
    return true;
  }

  // One line through the order item dialog, the scripted buyer working it;
  // then the line as the desk's grid shows it.
  bool Line(const std::string& what, const Script& buyer, const std::function<bool()>& act,
            int row) {
    log_.Line(what);
    if (!log_.AsUser(buyer, act)) return log_.Check(false, "the buyer accepted the line");
    const std::vector<std::string> cells = session_->LinesGrid().rows.at(row);
    log_.Line("accepted: qty " + cells[kQty] + " at " + cells[kPrice] + ", trade " + cells[kTrade] +
                  ", rebate " + cells[kRebate] + ", other " + cells[kOther] + ", net " +
                  cells[kNet] + ", tax " + cells[kTax] + ", total " + cells[kTotal],
              2);
    return true;
  }

  bool BuildLines() {
    const std::string& number = session_->Header().order_number;
    log_.Heading("A purchase order for " + story_.supplier_name + ", line by line");
    log_.Line("Order " + number + ", through the order item dialog:");
    auto accept = [](ui::HeadlessDriver& buyer) { buyer.Click("cmdAction(0)"); };
    auto add = [this](int32_t product, double qty) {
      return [this, product, qty] { return session_->AddLine(product, qty); };
    };
    const bool built =
        Line("Add NUT-M10 (no formulas, no tax code on the product): 20 boxes as proposed", accept,
             add(2, 20), 0) &&
        Line(
            "Add BLT-M10 (trade 5% and rebate 2% formulas ticked): proposed 10, the buyer "
            "makes it 12, presses Enter, accepts",
            [](ui::HeadlessDriver& buyer) {
              buyer.Replace("txtODEdit(0)", "12").Press(ui::vbKeyReturn).Click("cmdAction(0)");
            },
            add(1, 10), 1) &&
        Line("Add ANC-12 (trade 2.5% formula, rounded): 20 boxes as proposed", accept, add(4, 20),
             2) &&
        Line(
            "Edit the ANC-12 line: the buyer types a rebate of 25.00 and applies",
            [](ui::HeadlessDriver& buyer) {
              buyer.Replace("txtODEdit(3)", "25").Click("cmdAction(2)").Click("cmdAction(0)");
            },
            [this] { return session_->EditLine(2); }, 2);
    if (!built) return false;
    story_.product_ids = {2, 1, 4};

    log_.Line("Order lines:");
    std::vector<std::vector<std::string>> rows;
    for (const auto& cells : session_->LinesGrid().rows) {
      rows.push_back({cells[kProduct], cells[kQty], cells[kPrice], cells[kTrade], cells[kRebate],
                      cells[kNet], cells[kTax], cells[kTotal]});
    }
    log_.Table({"Product", ">Qty", ">Price", ">Trade", ">Rebate", ">Net", ">Tax", ">Total"}, rows);
    const char* captions[] = {
        "Trade discount", "Rebate discount", "Other discount", "Net amount", "Tax",
        "Order total",    "Quantity"};
    const std::vector<std::string> totals = session_->Totals();
    if (!log_.Check(totals.size() == std::size(captions), "the header shows its seven totals")) {
      return false;
    }
    std::vector<std::vector<std::string>> total_rows;
    for (size_t i = 0; i < totals.size(); ++i) total_rows.push_back({captions[i], totals[i]});
    log_.Line("Header totals (COrder):");
    log_.Table({"Total", ">Amount"}, total_rows);
    order_total_ = totals.at(5);
    return log_.Check(session_->LineCount() == 3,
                      "three lines on the order, the edit kept on the third");
  }

  bool Save() {
    log_.Heading("Saved with delivery details");
    const OrderHeader& header = session_->Header();
    const DeliveryAddress proposed = header.delivery;
    log_.Line(
        "The delivery dialog is filled from the order and the company: " + header.order_number +
        " for " + story_.supplier_name + ", by " + user_name_ + ", to " + Address(proposed));
    const std::string typed = "Receiving Bay 3, " + proposed.address1;
    log_.Line("The buyer changes the first address line to \"" + typed +
              "\", chooses to process the order now, ticks the preview and confirms");
    const OrderSession::SaveResult result = log_.AsUser(
        [&](ui::HeadlessDriver& buyer) {
          buyer.Replace("txtDelAddr(1)", typed)
              .Click("optChoice(0)")
              .Click("chkShow")
              .Click("cmdAction(0)");
        },
        [&] { return session_->Save(); });
    if (!log_.Check(result.saved, "the buyer confirmed the delivery dialog")) return false;
    preview_ = result.preview;
    story_.outcome.order_id = session_->Header().order_id;
    story_.outcome.order_number = session_->Header().order_number;
    log_.Line("The desk saved: process now " + YesNo(result.print_now) + ", preview " +
              YesNo(result.preview) + ", deliver to " + Address(session_->Header().delivery));
    auto saved = story_.db->Query(
        "SELECT po.Status, po.DelAddr1, COUNT(d.ID), COALESCE(SUM(d.TotalCost), 0) "
        "FROM PurchaseOrders po JOIN PurchaseOrderDetails d ON d.PurchaseOrderID = po.ID "
        "WHERE po.ID = ?1 GROUP BY po.Status, po.DelAddr1",
        {vb::Variant(story_.outcome.order_id)});
    const std::string saved_total = Money(vb::CCur(saved->Item(3).Value()));
    log_.Line("Saved " + story_.outcome.order_number + " as a processed order with " +
              Shown(saved->Item(2).Value()) + " lines, total " + saved_total);
    return log_.Check(result.print_now && result.preview &&
                          vb::CLng(saved->Item(0).Value()) == kOrderProcessed &&
                          Shown(saved->Item(1).Value()) == typed,
                      "the order is open for receiving and holds the address the buyer typed") &&
           log_.Check(saved_total == order_total_, "the saved lines add up to the order total");
  }

  bool Print() {
    log_.Heading("Printed");
    const std::string& number = story_.outcome.order_number;
    return story_.PrintToPdf("purchase order " + number, number,
                             [&] { session_->Print(preview_, true); });
  }

  std::string UserName() {
    auto user = story_.db->Query("SELECT Username FROM Users WHERE ID = ?1",
                                 {vb::Variant(story_.Context().user_id)});
    return user->IsEOF() ? std::string() : Shown(user->Item(0).Value());
  }

  static std::string YesNo(bool value) { return value ? "yes" : "no"; }
  static std::string Address(const DeliveryAddress& d) {
    return "\"" + d.name + "\", \"" + d.address1 + "\", \"" + d.address2 + "\", \"" + d.address3 +
           "\", \"" + d.post_code + "\"";
  }

  Story& story_;
  StoryLog& log_;
  std::unique_ptr<OrderSession> session_;
  std::string user_name_;
  std::string order_total_;
  bool preview_ = false;
};

}  // namespace

bool OrderSteps(Story& story) { return OrderStory(story).Run(); }

}  // namespace kvt::host
