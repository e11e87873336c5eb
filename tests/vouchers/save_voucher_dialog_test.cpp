// The save voucher dialog as a host and a clerk meet it through CGRV, on a
// demo database whose periods sit around today: years T-3..T+2 are keys
// 1..6, the current period is June of T-1 (key 3), and the last supplier
// period procedure ran in December of T-3 (key 1).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "component/mod_publics.h"
#include "kvt/CGRV.h"
#include "platform/data/connection.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"
#include "tests/support/temp_demo_database.h"
#include "vouchers/frmSaveGRV.h"

namespace kvt {
namespace {

using vb::Variant;
using vouchers::kClosedPeriodRefused;
using vouchers::kConfirmPosting;
using vouchers::kFuturePeriodRefused;
using vouchers::kPriorPeriodRefused;
using Prompts = std::vector<std::string>;

vb::Date Today() { return vb::Date::Today(); }
vb::Date DocDate() { return vb::Date::FromYmd(Today().Year() - 1, 6, 15); }

class SaveVoucherDialogTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  static void TearDownTestSuite() { test_support::ReleaseSharedDemoDatabases(); }
  void SetUp() override {
    bool made = false;
    db_ = &test_support::SharedDemoDatabase(GetParam(), &made);
    if (made) {
      Sql("DELETE FROM AccountingPeriods; DELETE FROM PeriodProcedures;"
          "DELETE FROM SupplierDocuments; DELETE FROM Years;"
          "WITH RECURSIVE k(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM k WHERE n < 6) "
          "INSERT INTO Years SELECT n, " +
          std::to_string(Today().Year() - 4) +
          " + n FROM k;"
          "INSERT INTO AccountingPeriods (CompanyID, MonthID, YearID, PeriodName, Status, "
          "IsCurrent) VALUES (1, 6, 3, 'June', 'Open', TRUE);"
          "INSERT INTO PeriodProcedures (CompanyID, ProcedureType, MonthID, YearID) "
          "VALUES (1, 6, 12, 1);");
    }
    Restart();
  }
  void TearDown() override {
    component::ResetThreadStore();
    ui::SetDriver(nullptr);
  }

  // A fresh thread store that knows the database, and a fresh user who
  // sees every message box from here on, the binding's included.
  void Restart() {
    component::ResetThreadStore();
    grv_.ConnectionString(db_->ConnectionText());
    user_ = std::make_shared<ui::HeadlessDriver>();
    ui::SetDriver(user_);
  }
  void Sql(const std::string& script) const { db_->Run(script); }
  Variant Rows(const std::string& sql) const {
    return Variant(vb::ObjectRef(db_->Open()->Query(sql)));
  }
  // Sets the company's switches (P prior, F future, A auto-advance, X closed
  // periods, N save without the document), then loads and binds, by name
  // as a late-binding host does.
  void Bind(const std::string& rules, const char* months = "SELECT ID, Months FROM Months") {
    std::string script = "BEGIN; DELETE FROM CompanyControlValues WHERE CompanyID = 1;";
    for (auto [letter, setting] : {std::pair{'P', "'chkAccountant', 0"},
                                   {'F', "'chkAccountant', 1"},
                                   {'A', "'chkAutoAdvancePeriod', 1"},
                                   {'X', "'chkPriorPeriodGRVPosting', 0"},
                                   {'N', "'chkNonInvoiceGRV', 0"}}) {
      script += std::string("INSERT INTO CompanyControlValues VALUES (1, 'CheckBox', ") + setting +
                (rules.find(letter) != std::string::npos ? ", ' 1 ');" : ", '0');");
    }
    Sql(script + "COMMIT;");
    Variant args[] = {Rows(months), Rows("SELECT ID, Years FROM Years ORDER BY Years"), "INV-77",
                      DocDate(), 1};
    grv_.Invoke("LoadGRVSaveForm", CallKind::kCall, {});
    grv_.Invoke("BindSaveFormLups", CallKind::kCall, args);
  }
  // Shows the dialog as voucher type `type` to the user's script; every
  // prompt the user saw.
  Prompts Show(int type = 19) {
    grv_.ShowGRVSaveForm(static_cast<uint8_t>(type));
    EXPECT_TRUE(user_->Problems().empty()) << user_->Problems().front();
    Prompts prompts;
    for (const auto& message : user_->Messages()) {
      prompts.push_back(message.prompt);
      EXPECT_EQ(message.title, "Stock Receipts");
      EXPECT_EQ(message.buttons, message.prompt == kConfirmPosting ? ui::vbQuestion | ui::vbYesNo
                                                                   : ui::vbInformation);
    }
    return prompts;
  }
  // Picks the year of `key`, saves and confirms; the prompts before that.
  Prompts PickYearAndSave(int key) {
    user_->SelectRow("dbcGRV(1)", key - 1).Click("cmdDo(1)").Answer(ui::vbYes);
    Prompts prompts = Show();
    EXPECT_EQ(prompts.back(), kConfirmPosting);
    prompts.pop_back();
    return prompts;
  }

  test_support::TempDemoDatabase* db_ = nullptr;
  CGRV grv_;
  std::shared_ptr<ui::HeadlessDriver> user_;
};

TEST_P(SaveVoucherDialogTest, CompanyRulesRefuseAndRestorePeriodsWithTheirMessages) {
  struct Case {
    const char* rules;
    int year_key;  // picked: key 2 is prior, key 1 prior and closed, key 5 future
    Prompts prompts;
    bool restored;
  } cases[] = {
      {"", 1, {kPriorPeriodRefused, kClosedPeriodRefused}, true},
      {"", 2, {kPriorPeriodRefused}, true},
      {"", 5, {kFuturePeriodRefused}, true},
      {"A", 5, {}, true},
      {"A", 1, {kPriorPeriodRefused, kClosedPeriodRefused}, true},
      {"P", 2, {}, false},
      {"P", 1, {kClosedPeriodRefused}, true},
      {"PX", 1, {}, false},
      {"X", 1, {kPriorPeriodRefused}, true},
      {"F", 5, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("rules '") + c.rules + "' year key " + std::to_string(c.year_key));
    Restart();
    Bind(c.rules);
    EXPECT_EQ(PickYearAndSave(c.year_key), c.prompts);
    // Auto-advance proposes and restores today's period, else the current one.
    const bool advance = std::string(c.rules).find('A') != std::string::npos;
    EXPECT_EQ(grv_.Acc_Period_Month(), advance ? Today().Month() : 6);
    EXPECT_EQ(grv_.Acc_Period_Year(), c.restored ? (advance ? 4 : 3) : c.year_key);
  }
}

TEST_P(SaveVoucherDialogTest, TheCurrentPeriodIsAcceptedEvenWhenTheSupplierProcedureClosedIt) {
  Sql("UPDATE PeriodProcedures SET MonthID = 6, YearID = 3");
  Bind("PF");
  // July is open; June is current though closed; May is closed.
  user_->SelectRow("dbcGRV(0)", 6).SelectRow("dbcGRV(0)", 5).SelectRow("dbcGRV(0)", 4);
  user_->Click("cmdDo(1)").Answer(ui::vbYes);
  EXPECT_EQ(Show(), (Prompts{kClosedPeriodRefused, kConfirmPosting}));
  EXPECT_EQ(grv_.Acc_Period_Month(), 6);
  Sql("UPDATE PeriodProcedures SET MonthID = 12, YearID = 1");
}

TEST_P(SaveVoucherDialogTest, AFailingPeriodProcedureIsPassedOver) {
  struct Case {
    const char* procedure;
    const char* rules;
    int year_key;
    Prompts prompts;
    int month, year;
  } cases[] = {
      // The current period read at binding stands in.
      {"sp_AB_Current_Accounting_Period", "", 2, {kPriorPeriodRefused}, 6, 3},
      // No last procedure: nothing is closed.
      {"sp_AW_Get_Last_Period_Procedure_Period", "", 1, {kPriorPeriodRefused}, 6, 3},
      // Today's year key unknown: the year is left unchosen.
      {"sp_AW_Select_YearID_From_Year", "A", 2, {kPriorPeriodRefused}, Today().Month(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.procedure);
    Restart();
    Bind(c.rules);
    db_->RenameProcedure(c.procedure, "gone");
    EXPECT_EQ(PickYearAndSave(c.year_key), c.prompts);
    db_->RenameProcedure("gone", c.procedure);
    EXPECT_EQ(grv_.Acc_Period_Month(), c.month);
    EXPECT_EQ(grv_.Acc_Period_Year(), c.year);
  }
}

TEST_P(SaveVoucherDialogTest, AMonthListWithoutTheProposedMonthLeavesTheMonthUnchosen) {
  Bind("", "SELECT ID, Months FROM Months WHERE ID <> 6");
  user_->Click("cmdDo(1)").Answer(ui::vbYes);
  EXPECT_EQ(Show(), Prompts{kConfirmPosting});
  EXPECT_EQ(grv_.Invoke("Acc_Period_Month", CallKind::kGet, {}), Variant::Byte(0));
  EXPECT_EQ(grv_.Invoke("Acc_Period_Year", CallKind::kGet, {}), Variant::Integer(3));
}

// clang-format off
TEST_P(SaveVoucherDialogTest, SaveAsksForTheNumberAndConfirmationAndCancelUnloads) {
  const std::string kNoNumber = vouchers::kNoSupplierDocumentNumber;
  struct Case {
    const char* what;
    bool save_alone, clear_date;
    const char* number;
    std::vector<int> answers;  // to the confirmations; then the user cancels
    Prompts prompts;
    bool loaded;
  } cases[] = {
      {"no number", false, false, "", {}, {kNoNumber}, false},
      {"no number, saved alone", true, true, "", {ui::vbYes}, {kConfirmPosting}, true},
      {"No, then Yes", false, false, "INV-9", {ui::vbNo, ui::vbYes},
       {kConfirmPosting, kConfirmPosting}, true},
      {"No, then cancelled", false, false, "INV-9", {ui::vbNo}, {kConfirmPosting}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Restart();
    Bind("N");
    user_->Replace("txtGRV(0)", c.number);
    if (c.clear_date) user_->PickDate("dtpGRV", std::nullopt);
    if (c.save_alone) user_->Click("optSaveGRV(0)");
    for (int answer : c.answers) user_->Click("cmdDo(1)").Answer(answer);
    if (c.answers.empty()) user_->Click("cmdDo(1)");
    user_->Inspect([](ui::Form& form) { EXPECT_TRUE(form.Visible()); }).Click("cmdDo(0)");
    EXPECT_EQ(Show(), c.prompts);
    EXPECT_EQ(grv_.IsGRVSaveFormLoaded(), c.loaded);
    if (!c.loaded) continue;
    EXPECT_EQ(user_->PendingSteps(), 2u);  // the look and the Cancel never came
    EXPECT_EQ(grv_.Save_Supplier_Inv(), !c.save_alone);
    EXPECT_EQ(grv_.Supplier_Inv_No(), c.number);
    EXPECT_EQ(grv_.Supplier_Inv_Date(), c.clear_date ? Today() : DocDate());
  }
}
// clang-format on

TEST_P(SaveVoucherDialogTest, SavingAloneIsOfferedWhenTheCompanyAllowsItAndSetsTheDocumentAside) {
  // Enabled: frame, number, date, month, year, the three captions, saving
  // alone; then whether the document is to be created.
  std::vector<std::string> seen;
  // clang-format off
  auto look = [&](ui::Form& form) {
    std::string states;
    for (auto [name, index] : {std::pair{"frameMain", 1}, {"txtGRV", 0}, {"dtpGRV", -1},
                               {"dbcGRV", 0}, {"dbcGRV", 1}, {"lblGRV", 0}, {"lblGRV", 1},
                               {"lblGRV", 2}, {"optSaveGRV", 0}}) {
      states += form.Ctl(name, index).Enabled() ? '1' : '0';
    }
    seen.push_back(states + (grv_.Save_Supplier_Inv() ? " invoice" : ""));
  };
  // clang-format on
  for (bool allowed : {false, true}) {
    SCOPED_TRACE(allowed);
    Restart();
    seen.clear();
    grv_.LoadGRVSaveForm();
    EXPECT_TRUE(grv_.Save_Supplier_Inv());
    EXPECT_EQ(grv_.Supplier_Inv_Date(), Today());
    Bind(allowed ? "N" : "");
    user_->Click("optSaveGRV(0)").Inspect(look).Click("optSaveGRV(1)").Inspect(look);
    user_->Click("cmdDo(0)");
    Show();
    const std::vector<std::string> expected[] = {{"111111110 invoice", "111111110 invoice"},
                                                 {"000000001", "111111111 invoice"}};
    EXPECT_EQ(seen, expected[allowed]);
  }
}

KVT_INSTANTIATE_BACKENDS(SaveVoucherDialogTest);

}  // namespace
}  // namespace kvt
