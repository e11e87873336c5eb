// The host's voucher sessions with a scripted clerk on the demo database:
// what the host refuses before posting, a consignment return edited, a
// refused posting that keeps the voucher open, and the settings screen's
// store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/kvt-host/sessions/host_settings.h"
#include "apps/kvt-host/sessions/voucher_session.h"
#include "component/mod_publics.h"
#include "platform/data/connection.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "tests/support/voucher_desk.h"
#include "vouchers/frmSaveGRV.h"

namespace kvt::host {
namespace {

using Prompts = std::vector<std::string>;

class VoucherSessionTest : public test_support::VoucherDeskTest<> {
 protected:
  VoucherSessionTest() : VoucherDeskTest("kvt_voucher_session") {}
};

TEST_F(VoucherSessionTest, TheHostRefusesMoreThanOutstandingOrReturnableAndAsksAgain) {
  struct Case {
    posting::TransactionType type;
    int32_t source, line;  // demo order PO000110 / voucher GRV000201 and its line
    const char* too_many;
    const char* allowed;
    const char* refusal;
  } cases[] = {
      {posting::kGoodsReceived, 10, 18, "26", "25",
       "Only 25 of WSH-M10 (Flat washer M10, box of 500) are outstanding on order PO000110: "
       "40 ordered, 15 received. Please receive 25 or less."},
      {posting::kConsignmentReceived, 10, 18, "25.5", "25",
       "Only 25 of WSH-M10 (Flat washer M10, box of 500) are outstanding on order PO000110: "
       "40 ordered, 15 received. Please receive 25 or less."},
      {posting::kGoodsReturned, 1, 1, "11", "10",
       "Only 10 of BLT-M10 (Hex bolt M10 x 50, box of 100) can be returned on voucher "
       "GRV000201: 12 received, 2 already returned. Please return 10 or less."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    auto session = Open(c.type, 1, c.source);
    // Refused, then cancelled: nothing lands on the voucher.
    TypeQty(Clerk(), c.too_many);
    user_->Close();
    EXPECT_FALSE(session->ReceiveLine(c.line));
    EXPECT_EQ(Seen(), Prompts{c.refusal});
    EXPECT_EQ(session->Lines().RecordCount(), 0);
    // Refused, then the clerk types what is allowed.
    ui::HeadlessDriver& clerk = Clerk();
    TypeQty(clerk, c.too_many);
    TypeQty(clerk, c.allowed);
    EXPECT_TRUE(session->ReceiveLine(c.line));
    EXPECT_EQ(Seen(), Prompts{c.refusal});
    ASSERT_EQ(session->Lines().RecordCount(), 1);
    EXPECT_EQ(vb::CDbl(session->Lines().Item("Qty").Value()), vb::Val(c.allowed));
    // Editing checks the same limit.
    TypeQty(Clerk(), c.too_many);
    user_->Close();
    EXPECT_FALSE(session->EditLine(0));
    EXPECT_EQ(Seen(), Prompts{c.refusal});
    // The same line twice is refused.
    Clerk();
    EXPECT_FALSE(session->ReceiveLine(c.line));
    EXPECT_EQ(Seen().size(), 1u);
  }
}

// The dialog refuses a return above what is left (its own rule); editing a
// return shows it the line as it stood before this return.
TEST_F(VoucherSessionTest, AConsignmentReturnIsEditedAgainstTheLineBeforeIt) {
  // CRV000401's line 5: 20 received, 10 sold, 3 returned, 7 left.
  auto session = Open(posting::kConsignmentReturned, 3, 4);
  TypeQty(Clerk(), "2");
  ASSERT_TRUE(session->ReceiveLine(5));
  TypeQty(Clerk(), "7");  // all 7 left: refused, were the 2 counted twice
  ASSERT_TRUE(session->EditLine(0));
  EXPECT_EQ(Seen(), Prompts{});
  data::RecordSet& line = session->Lines();
  EXPECT_EQ(vb::CDbl(line.Item("Qty").Value()), 7);
  EXPECT_EQ(vb::CDbl(line.Item("Qty Left").Value()), 0);
  EXPECT_EQ(vb::CDbl(line.Item("Qty Returned").Value()), 10);
}

TEST_F(VoucherSessionTest, ARefusedPostingIsShownAndTheVoucherStaysOpen) {
  auto session = Open(posting::kGoodsReceived, 1, 10);
  Clerk().Click("cmdAction(0)");
  ASSERT_TRUE(session->ReceiveLine(18));  // the 25 outstanding
  // Another clerk receives 5 of them first.
  ASSERT_NE(Post(posting::kGoodsReceived, 1, 10, {{18, "5"}}, "INV-1"), 0);

  Clerk().Replace("txtGRV(0)", "INV-2").Click("cmdDo(1)").Answer(ui::vbYes);
  EXPECT_FALSE(session->Save().has_value());
  const Prompts seen = Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_NE(seen[1].find("WSH-M10"), std::string::npos) << seen[1];
  EXPECT_EQ(session->SourceId(), 10);
  EXPECT_EQ(session->Lines().RecordCount(), 1);
  EXPECT_EQ(Number("SELECT QtyReceived FROM PurchaseOrderDetails WHERE ID = 18"), 20);
}

TEST_F(VoucherSessionTest, SettingsAreStoredWhereTheComponentReadsThem) {
  const std::string text = db_.ConnectionText();
  // The demo company: only saving without the document is allowed; the
  // second company saved " 1 " for auto-advance, and no decimals.
  EXPECT_EQ(ReadCompanySettings(text, 1),
            (CompanySettings{.rules = {.save_without_document = true}}));
  EXPECT_EQ(ReadCompanySettings(text, 2), (CompanySettings{.rules = {true, true, true, true}}));
  const CompanySettings mine{{true, false, true, true, true}, 3, 0};
  WriteCompanySettings(text, 1, mine);
  EXPECT_EQ(ReadCompanySettings(text, 1), mine);

  // The clerk's own plain orders and printer over the values for everyone.
  EXPECT_EQ(ReadPrintPreferences(text + ";User ID=clerk", "KvtDemo"),
            (PrintPreferences{false, true, false, "Purchasing Printer", "Purchasing Printer"}));
  const PrintPreferences admin{true, false, true, "", "Dock Printer"};
  WritePrintPreferences(text + ";User ID=admin", "KvtDemo", admin);
  EXPECT_EQ(ReadPrintPreferences(text + ";User ID=admin", "KvtDemo"), admin);
  EXPECT_EQ(ReadPrintPreferences(text, "KvtDemo").voucher_printer, "");
}

}  // namespace
}  // namespace kvt::host
