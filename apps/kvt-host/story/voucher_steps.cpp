// Steps 4 to 8 of the story: the order received one line short, some of it
// returned, the short line's remainder received on consignment, part of it
// sold and the rest returned. Each voucher goes through a VoucherSession as
// a voucher screen drives it, with a scripted clerk.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "apps/kvt-host/story/story_steps.h"
#include "apps/kvt-host/sessions/stock_figures.h"
#include "kvt/host_helpers.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"

namespace kvt::host {

namespace {

bool Saw(const StoryLog& log, const std::string& prompt) {
  const auto& prompts = log.LastPrompts();
  return std::find(prompts.begin(), prompts.end(), prompt) != prompts.end();
}

bool SawStarting(const StoryLog& log, const std::string& start) {
  for (const std::string& prompt : log.LastPrompts()) {
    if (prompt.rfind(start, 0) == 0) return true;
  }
  return false;
}

// The supplier's document numbers follow the order's, so that each telling
// of the story books its own: INV-90412 and CN-5521 for PO000111.
std::string DocumentNumber(const char* prefix, int first, const std::string& order_number) {
  int64_t order = 0;
  for (char c : order_number) {
    if (c >= '0' && c <= '9') order = order * 10 + (c - '0');
  }
  return prefix + std::to_string(first + order);
}

// The clerk types `qty` into the quantity box, leaves it and confirms.
void TypeQty(ui::HeadlessDriver& clerk, const std::string& qty) {
  clerk.Replace("txtODEdit(0)", qty).Press(ui::vbKeyReturn).Click("cmdAction(0)");
}

class VoucherStory {
 public:
  explicit VoucherStory(Story& story) : story_(story), log_(story.log) {}

  bool Run() { return Receive() && ReturnSome() && ConsignIn() && Sell() && ConsignBack(); }

 private:
  // A session of `type` for the story's supplier, dated as the story.
  std::unique_ptr<VoucherSession> Open(posting::TransactionType type) {
    auto session = std::make_unique<VoucherSession>(story_.Context(), type);
    session->VoucherDate(story_.date);
    session->ChooseSupplier(story_.supplier_id);
    return session;
  }

  // Lists the sources (`number_column` of each) and starts the voucher
  // against the one numbered `number`.
  bool ChooseSource(VoucherSession& session, const std::string& what, const char* number_column,
                    const std::string& number) {
    data::RecordSetRef sources = session.Sources();
    std::string listed;
    int32_t id = 0;
    for (sources->MoveFirst(); !sources->IsEOF(); sources->MoveNext()) {
      const std::string shown = Shown(sources->Item(number_column).Value());
      listed += (listed.empty() ? "" : ", ") + shown;
      if (shown == number) id = vb::CLng(sources->Item("ID").Value());
    }
    log_.Line(what + " of " + story_.supplier_name + ": " + listed);
    if (!log_.Check(id != 0, number + " is among them")) return false;
    session.ChooseSource(id);
    return true;
  }

  int32_t SourceLine(VoucherSession& session, const std::string& code) {
    data::RecordSet& rows = session.SourceLines();
    if (rows.RecordCount() == 0) return 0;
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
      if (Shown(rows.Item("Code").Value()) == code) return vb::CLng(rows.Item("ID").Value());
    }
    return 0;
  }

  // Takes `code` onto the voucher with `clerk` working the dialog.
  bool Take(VoucherSession& session, const std::string& what, const std::string& code,
            const Script& clerk) {
    log_.Line(what);
    const int32_t line = SourceLine(session, code);
    if (line == 0) return log_.Check(false, code + " is a line of the source");
    const bool taken = log_.AsUser(clerk, [&] { return session.ReceiveLine(line); });
    return log_.Check(taken, code + " is on the voucher");
  }

  // The clerk types `typed`.refused, is refused with a message starting
  // `refusal`, then types `typed`.accepted.
  struct Typed {
    const char* refused;
    const char* accepted;
  };
  bool TakeAfterRefusal(VoucherSession& session, const std::string& what, const std::string& code,
                        Typed typed, const std::string& refusal, const std::string& checked) {
    return Take(session, what, code,
                [typed](ui::HeadlessDriver& clerk) {
                  TypeQty(clerk, typed.refused);
                  TypeQty(clerk, typed.accepted);
                }) &&
           log_.Check(SawStarting(log_, refusal), checked);
  }

  void ShowVoucher(VoucherSession& session) {
    const bool consignment = session.IsConsignment();
    std::vector<std::string> headers = {"Code", ">Qty"};
    if (consignment) headers.insert(headers.end(), {">Returned", ">Sold", ">Left"});
    headers.insert(headers.end(), {">Price", ">Trade", ">Rebate", ">Net", ">Tax", ">Total"});
    std::vector<std::vector<std::string>> rows;
    data::RecordSet& lines = session.Lines();
    for (lines.MoveFirst(); !lines.IsEOF(); lines.MoveNext()) {
      auto qty = [&](const char* column) { return Qty(vb::CDbl(lines.Item(column).Value())); };
      std::vector<std::string> row = {Shown(lines.Item("Code").Value()), qty("Qty")};
      if (consignment)
        row.insert(row.end(), {qty("Qty Returned"), qty("Qty Sold"), qty("Qty Left")});
      for (const char* column :
           {"Unit Price", "Trade Disc", "Rebate Disc", "Net Amount", "Tax Amount", "Total Cost"}) {
        row.push_back(Money(lines.Item(column).Value()));
      }
      rows.push_back(row);
    }
    log_.Line("Voucher lines in the host's detail set:");
    log_.Table(headers, rows);
    std::vector<std::vector<std::string>> totals;
    for (int i = 4; i <= 9; ++i) totals.push_back({TotalCaption(i), session.Header().Total(i)});
    log_.Line("Header totals (CGRV):");
    log_.Table({"Total", ">Amount"}, totals);
  }

  // Saves through the save voucher dialog with `clerk`; the posted voucher
  // is shown from the database and printed.
  std::optional<posting::PostedVoucher> Save(VoucherSession& session, const std::string& what,
                                             const Script& clerk) {
    log_.Line(what);
    auto posted = log_.AsUser(clerk, [&] { return session.Save(); });
    if (!log_.Check(posted.has_value(), "the voucher was posted")) return std::nullopt;
    story_.outcome.vouchers.push_back(*posted);
    ShowPosted(*posted);
    return posted;
  }

  void ShowPosted(const posting::PostedVoucher& posted) {
    auto header = story_.db->Query(
        "SELECT m.Months, y.Years, g.DelNoteNumber, sd.DocType, sd.DocNumber, sd.Amount "
        "FROM GRVs g LEFT JOIN Months m ON m.ID = g.AccPeriodMonth "
        "LEFT JOIN Years y ON y.ID = g.AccPeriodYearID "
        "LEFT JOIN SupplierDocuments sd ON sd.GRVID = g.ID WHERE g.ID = ?1",
        {vb::Variant(posted.voucher_id)});
    period_ = Shown(header->Item(0).Value()) + " " + Shown(header->Item(1).Value());
    document_ = header->Item(4).IsNull()
                    ? std::string("no supplier document")
                    : "supplier " + Shown(header->Item(3).Value()) + " " +
                          Shown(header->Item(4).Value()) + " for " + Money(header->Item(5).Value());
    log_.Line("Posted " + posted.voucher_number + ": period " + period_ + ", delivery note " +
              Shown(header->Item(2).Value()) + ", total " + Money(posted.total) + ", " + document_);
  }

  bool PostedInCurrentPeriod() {
    return log_.Check(period_ == story_.period_name,
                      "posted in the current period, " + story_.period_name);
  }

  void ShowOrderLines() {
    auto rows = story_.db->Query(
        "SELECT p.Code, COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0), d.QtyReceived "
        "FROM PurchaseOrderDetails d LEFT JOIN Products p ON p.ID = d.ProductID "
        "WHERE d.PurchaseOrderID = ?1 ORDER BY d.ID",
        {vb::Variant(story_.outcome.order_id)});
    std::vector<std::vector<std::string>> table;
    for (; !rows->IsEOF(); rows->MoveNext()) {
      const double ordered = vb::CDbl(rows->Item(1).Value());
      const double received = vb::CDbl(rows->Item(2).Value());
      outstanding_[Shown(rows->Item(0).Value())] = ordered - received;
      table.push_back(
          {Shown(rows->Item(0).Value()), Qty(ordered), Qty(received), Qty(ordered - received)});
    }
    log_.Line("Order " + story_.outcome.order_number + " after posting:");
    log_.Table({"Code", ">Ordered", ">Received", ">Outstanding"}, table);
  }

  bool Print(VoucherSession& session, const posting::PostedVoucher& posted) {
    std::string what = "the " + std::string(session.Title()) + " voucher ";
    what[4] = static_cast<char>(what[4] - 'A' + 'a');
    return story_.PrintToPdf(what + posted.voucher_number, posted.voucher_number,
                             [&] { session.Print(posted.voucher_id); });
  }

  double OnHand(const std::string& code) {
    for (const ProductStock& stock :
         ReadProductStock(story_.Context().connection_text, story_.product_ids)) {
      if (stock.code == code) return stock.on_hand;
    }
    return -1;
  }

  bool Receive() {
    log_.Heading("Goods received, one line short");
    auto session = Open(posting::kGoodsReceived);
    if (!ChooseSource(*session, "Orders with stock to come", "Order Number",
                      story_.outcome.order_number)) {
      return false;
    }
    session->Header().DelNoteNumber("DN-7781");
    const std::string reference = session->Header().SupplierRef();
    log_.Line("Receiving against " + session->Header().SourceCaption() +
              (reference.empty() ? std::string() : " (supplier ref " + reference + ")") +
              ", delivery note " + session->Header().DelNoteNumber());
    auto as_proposed = [](ui::HeadlessDriver& clerk) { clerk.Click("cmdAction(0)"); };
    if (!Take(*session, "Receive NUT-M10: 20 as proposed", "NUT-M10", as_proposed) ||
        !Take(*session, "Receive BLT-M10: 12 as proposed", "BLT-M10", as_proposed) ||
        !TakeAfterRefusal(*session,
                          "Receive ANC-12: the clerk types 25, is refused, then types the 12 "
                          "that came",
                          "ANC-12", {"25", "12"}, "Only 20 of ANC-12",
                          "the host refused more than is outstanding, naming the quantities")) {
      return false;
    }
    ShowVoucher(*session);
    const std::string invoice = DocumentNumber("INV-", 90301, story_.outcome.order_number);
    auto posted =
        Save(*session,
             "Save: the clerk picks October, before the current period; then types the supplier's "
             "invoice " +
                 invoice + ", saves and confirms",
             [&invoice](ui::HeadlessDriver& clerk) {
               clerk.SelectRow("dbcGRV(0)", 9)
                   .Click("optSaveGRV(1)")
                   .Replace("txtGRV(0)", invoice)
                   .Click("cmdDo(1)")
                   .Answer(ui::vbYes);
             });
    if (!posted) return false;
    log_.Check(Saw(log_, PriorPeriodRefusedMessage()),
               "the earlier period was refused with its message");
    PostedInCurrentPeriod();
    log_.Check(document_ == "supplier Invoice " + invoice + " for " + Money(posted->total),
               "the supplier's invoice was raised for the voucher total");
    ShowOrderLines();
    log_.Check(outstanding_["ANC-12"] == 8 && outstanding_["NUT-M10"] == 0,
               "ANC-12 is one line short: 8 still to come, the other lines complete");
    grv_ = *posted;
    story_.ShowStock();
    return Print(*session, *posted) &&
           story_.PrintToPdf("its reprint, marked \"Copy\"", posted->voucher_number + "-copy",
                             [&] { session->Print(posted->voucher_id, true); });
  }

  bool ReturnSome() {
    log_.Heading("Goods returned");
    auto session = Open(posting::kGoodsReturned);
    if (!ChooseSource(*session, "Goods received vouchers", "GRV Number", grv_.voucher_number)) {
      return false;
    }
    session->Header().DelNoteNumber("RN-118");
    log_.Line("Returning against " + grv_.voucher_number + " (its delivery note " +
              session->Header().SourceCaption() + " in the header), return note " +
              session->Header().DelNoteNumber());
    const double before = OnHand("BLT-M10");
    if (!TakeAfterRefusal(*session,
                          "Return BLT-M10: proposed 12, the clerk types 15, is refused, then "
                          "returns the 2 damaged boxes",
                          "BLT-M10", {"15", "2"}, "Only 12 of BLT-M10",
                          "the host refused more than was received, naming the quantities")) {
      return false;
    }
    ShowVoucher(*session);
    const std::string note = DocumentNumber("CN-", 5410, story_.outcome.order_number);
    auto posted =
        Save(*session,
             "Save: the clerk types the supplier's credit note " + note + ", saves and confirms",
             [&note](ui::HeadlessDriver& clerk) {
               clerk.Replace("txtGRV(0)", note).Click("cmdDo(1)").Answer(ui::vbYes);
             });
    if (!posted) return false;
    PostedInCurrentPeriod();
    log_.Check(OnHand("BLT-M10") == before - 2, "stock on hand of BLT-M10 fell by 2");
    story_.ShowStock();
    return Print(*session, *posted);
  }

  bool ConsignIn() {
    log_.Heading("Consignment received");
    auto session = Open(posting::kConsignmentReceived);
    if (!ChooseSource(*session, "Orders with stock to come", "Order Number",
                      story_.outcome.order_number)) {
      return false;
    }
    session->Header().DelNoteNumber("DN-7802");
    log_.Line("The supplier sends the 8 missing ANC-12 on consignment, delivery note " +
              session->Header().DelNoteNumber());
    const double before = OnHand("ANC-12");
    bool only_quantity = false;
    if (!Take(*session, "Receive ANC-12 on consignment: 8 as proposed", "ANC-12",
              [&only_quantity](ui::HeadlessDriver& clerk) {
                clerk.Inspect([&only_quantity](ui::Form& dialog) {
                  only_quantity = dialog.Ctl("txtODEdit", 0).Enabled();
                  for (int i = 1; i <= 5; ++i) {
                    only_quantity = only_quantity && !dialog.Ctl("txtODEdit", i).Enabled();
                  }
                });
                clerk.Click("cmdAction(0)");
              })) {
      return false;
    }
    log_.Check(only_quantity, "only the quantity was open in the dialog");
    ShowVoucher(*session);
    log_.Check(AtOrderRates(*session, "ANC-12"),
               "the consignment line's discounts are the order line's rates of its 8");
    auto posted = Save(*session,
                       "Save: consignment stock is invoiced when sold, so the clerk saves the "
                       "voucher only and confirms",
                       [](ui::HeadlessDriver& clerk) {
                         clerk.Click("optSaveGRV(0)").Click("cmdDo(1)").Answer(ui::vbYes);
                       });
    if (!posted) return false;
    PostedInCurrentPeriod();
    crv_ = *posted;
    log_.Check(OnHand("ANC-12") == before, "stock on hand of ANC-12 did not move");
    story_.ShowStock();
    return Print(*session, *posted);
  }

  // Shows the trade and rebate of the voucher's `code` line beside the
  // order line's, as rates of their sub totals (rebate of what trade
  // leaves); true when each amount is its order rate's to the cent.
  bool AtOrderRates(VoucherSession& session, const std::string& code) {
    data::RecordSet& lines = session.Lines();
    for (lines.MoveFirst(); !lines.IsEOF() && Shown(lines.Item("Code").Value()) != code;) {
      lines.MoveNext();
    }
    if (lines.IsEOF()) return false;
    auto number = [&](const char* column) { return vb::CDbl(lines.Item(column).Value()); };
    const double sub_total = number("Qty") * number("Unit Price");
    const double trade = number("Trade Disc"), rebate = number("Rebate Disc");
    auto order = story_.db->Query(
        "SELECT d.UnitPrice * (COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0)), d.TradeDisc, "
        "d.RebateDisc FROM PurchaseOrderDetails d JOIN Products p ON p.ID = d.ProductID "
        "WHERE d.PurchaseOrderID = ?1 AND p.Code = ?2",
        {vb::Variant(story_.outcome.order_id), vb::Variant(code)});
    if (order->IsEOF()) return false;
    const double order_sub_total = vb::CDbl(order->Item(0).Value());
    const double order_trade = vb::CDbl(order->Item(1).Value());
    const double order_rebate = vb::CDbl(order->Item(2).Value());
    auto rate = [](double part, double base) { return base == 0 ? 0 : part / base; };
    auto percent = [](double fraction) { return Money(vb::Variant(fraction * 100)) + " %"; };
    const double trade_rate = rate(order_trade, order_sub_total);
    const double rebate_rate = rate(order_rebate, order_sub_total - order_trade);
    log_.Line(code + " on this voucher: trade " + Money(vb::Variant(trade)) + " (" +
                  percent(rate(trade, sub_total)) + "), rebate " + Money(vb::Variant(rebate)) +
                  " (" + percent(rate(rebate, sub_total - trade)) + "); on the order " +
                  percent(trade_rate) + " and " + percent(rebate_rate),
              2);
    return std::fabs(trade - trade_rate * sub_total) <= 0.01 &&
           std::fabs(rebate - rebate_rate * (sub_total - trade)) <= 0.01;
  }

  std::optional<ConsignmentLine> StoryLine() {
    for (const ConsignmentLine& line : ReadConsignmentLines(
             story_.Context().connection_text, story_.Context().company_id, story_.supplier_id)) {
      if (line.voucher_number == crv_.voucher_number) return line;
    }
    return std::nullopt;
  }

  bool Sell() {
    log_.Heading("Consignment sold");
    const std::optional<ConsignmentLine> line = StoryLine();
    if (!line) return log_.Check(false, crv_.voucher_number + " has its consignment line");
    const HostContext& context = story_.Context();
    log_.Line("The host records a sale of 5 ANC-12 off " + crv_.voucher_number);
    const bool sold = log_.AsUser(
        nullptr, [&] { return SellConsignmentStock(context, line->line_id, 5, story_.date); });
    log_.Check(sold, "the sale was recorded");
    log_.Line("A second sale of 4 is tried: only 3 are left");
    const bool oversold = log_.AsUser(
        nullptr, [&] { return SellConsignmentStock(context, line->line_id, 4, story_.date); });
    log_.Check(!oversold && !log_.LastPrompts().empty(),
               "selling more than is left was refused with its message");
    story_.ShowStock();
    return sold;
  }

  bool ConsignBack() {
    log_.Heading("Consignment returned");
    auto session = Open(posting::kConsignmentReturned);
    if (!ChooseSource(*session, "Consignment received vouchers", "CRV Number",
                      crv_.voucher_number)) {
      return false;
    }
    session->Header().DelNoteNumber("RN-119");
    log_.Line("Returning what is left of " + crv_.voucher_number + ", return note " +
              session->Header().DelNoteNumber());
    if (!Take(*session,
              "Return ANC-12: proposed 3 (what is left), the clerk types 4, is refused by the "
              "dialog, then returns 3",
              "ANC-12", [](ui::HeadlessDriver& clerk) {
                clerk.Replace("txtODEdit(0)", "4").Press(ui::vbKeyReturn);
                TypeQty(clerk, "3");
              })) {
      return false;
    }
    log_.Check(SawStarting(log_, "Return amount may not be greater than amount left on CRV."),
               "the dialog refused more than is left");
    ShowVoucher(*session);
    log_.Check(AtOrderRates(*session, "ANC-12"),
               "the returned line's discounts are the order line's rates of its 3");
    auto posted = Save(*session, "Save: the clerk saves the voucher only and confirms",
                       [](ui::HeadlessDriver& clerk) {
                         clerk.Click("optSaveGRV(0)").Click("cmdDo(1)").Answer(ui::vbYes);
                       });
    if (!posted) return false;
    PostedInCurrentPeriod();
    story_.ShowStock();
    const std::optional<ConsignmentLine> line = StoryLine();
    log_.Check(line && line->sold == 5 && line->returned == 3 && line->left == 0.0,
               "the consignment line ends with 5 sold, 3 returned, none left");
    return Print(*session, *posted);
  }

  Story& story_;
  StoryLog& log_;
  posting::PostedVoucher grv_;
  posting::PostedVoucher crv_;
  std::string period_;
  std::string document_;
  std::map<std::string, double> outstanding_;
};

}  // namespace

bool VoucherSteps(Story& story) { return VoucherStory(story).Run(); }

}  // namespace kvt::host
