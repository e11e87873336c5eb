// The save voucher dialog as a host and a clerk meet it through CGRV, on a
// demo database whose periods sit around today: years T-3..T+2 are keys
// 1..6, the current period is June of T-1 (key 3), and the last supplier
// period procedure ran in December of T-3 (key 1).
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "component/mod_publics.h"
#include "kvt/CGRV.h"
#include "platform/data/connection.h"
#include "platform/ui/controls.h"
#include "platform/ui/date_picker.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "tests/support/temp_demo_database.h"
#include "vouchers/frmSaveGRV.h"

namespace kvt {
namespace {

using vb::Variant;
using vouchers::kClosedPeriodRefused;
using vouchers::kFuturePeriodRefused;
using vouchers::kPriorPeriodRefused;

vb::Date Today() { return vb::Date::Today(); }
vb::Date DocDate() { return vb::Date::FromYmd(Today().Year() - 1, 6, 15); }

class SaveVoucherDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    db_ = new test_support::TempDemoDatabase("kvt_save_voucher");
    Sql("DELETE FROM AccountingPeriods");
    Sql("DELETE FROM PeriodProcedures");
    Sql("DELETE FROM Years");
    for (int key = 1; key <= 6; ++key) {
      Sql("INSERT INTO Years (ID, Years) VALUES (?1, ?2)", {key, Today().Year() - 4 + key});
    }
    Sql("INSERT INTO AccountingPeriods (CompanyID, MonthID, YearID, PeriodName, Status, "
        "IsCurrent) VALUES (1, 6, 3, 'June', 'Open', 1)");
    Sql("INSERT INTO PeriodProcedures (CompanyID, ProcedureType, MonthID, YearID) "
        "VALUES (1, 6, 12, 1)");
  }
  static void TearDownTestSuite() { delete db_; }
  void SetUp() override { Restart(); }
  void TearDown() override { component::ResetThreadStore(); }

  // A fresh thread store that knows the database.
  void Restart() {
    component::ResetThreadStore();
    grv_.ConnectionString(db_->ConnectionText());
  }
  static void Sql(const std::string& sql, const std::vector<Variant>& parameters = {}) {
    data::Connection::Open(db_->Path())->Execute(sql, parameters);
  }
  static Variant Rows(const std::string& sql) {
    return Variant(vb::ObjectRef(data::Connection::Open(db_->Path())->Query(sql)));
  }
  // The company's five switches: P prior, F future, A auto-advance, X closed
  // periods, N save without the document.
  static void Rules(const std::string& on) {
    std::string script = "BEGIN; DELETE FROM CompanyControlValues WHERE CompanyID = 1;";
    for (auto [letter, setting] : {std::pair{'P', "'chkAccountant', 0"},
                                   {'F', "'chkAccountant', 1"},
                                   {'A', "'chkAutoAdvancePeriod', 1"},
                                   {'X', "'chkPriorPeriodGRVPosting', 0"},
                                   {'N', "'chkNonInvoiceGRV', 0"}}) {
      const char* value = on.find(letter) != std::string::npos ? "' 1 '" : "'0'";
      script += std::string("INSERT INTO CompanyControlValues VALUES (1, 'CheckBox', ") +
                setting + ", " + value + ");";
    }
    data::Connection::Open(db_->Path())->ExecuteScript(script + "COMMIT;");
  }
  void Bind(const std::string& rules,
            const char* months = "SELECT ID, Months FROM Months ORDER BY ID") {
    Rules(rules);
    grv_.LoadGRVSaveForm();
    grv_.BindSaveFormLups(Rows(months), Rows("SELECT ID, Years FROM Years ORDER BY Years"),
                          "INV-77", DocDate(), 1);
  }
  // Shows the dialog to the scripted user (as `show` does, by default as a
  // goods received voucher); the prompts the user was shown.
  std::vector<std::string> Show(const std::function<void()>& show = {}) {
    user_ = std::make_shared<ui::HeadlessDriver>();
    ui::ScopedDriver installed(user_);
    script_(*user_);
    show ? show() : grv_.ShowGRVSaveForm(19);
    EXPECT_TRUE(user_->Problems().empty()) << user_->Problems().front();
    std::vector<std::string> prompts;
    for (const auto& message : user_->Messages()) {
      prompts.push_back(message.prompt);
      EXPECT_EQ(message.title, "Stock Receipts");
    }
    return prompts;
  }
  // Picks the year with `key`, then saves and confirms.
  std::vector<std::string> PickYearAndSave(int key) {
    script_ = [key](ui::HeadlessDriver& user) {
      user.SelectRow("dbcGRV(1)", key - 1).Click("cmdDo(1)").Answer(ui::vbYes);
    };
    std::vector<std::string> prompts = Show();
    EXPECT_EQ(prompts.back(), vouchers::kConfirmPosting);
    prompts.pop_back();
    return prompts;
  }
  vouchers::frmSaveGRV& Dialog() { return vouchers::SharedSaveVoucherDialog(); }

  static test_support::TempDemoDatabase* db_;
  CGRV grv_;
  std::shared_ptr<ui::HeadlessDriver> user_;
  std::function<void(ui::HeadlessDriver&)> script_ = [](ui::HeadlessDriver&) {};
};
test_support::TempDemoDatabase* SaveVoucherDialogTest::db_ = nullptr;

TEST_F(SaveVoucherDialogTest, CompanyRulesRefuseAndRestorePeriodsWithTheirMessages) {
  struct Case {
    const char* rules;
    int year_key;  // picked; June of key 3 is current, key 1 is closed
    std::vector<std::string> prompts;
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
      {"FA", 5, {}, false},
      {"PFAXN", 1, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("rules '") + c.rules + "' year key " + std::to_string(c.year_key));
    Restart();
    Bind(c.rules);
    EXPECT_EQ(PickYearAndSave(c.year_key), c.prompts);
    const bool advance = std::string(c.rules).find('A') != std::string::npos;
    // Auto-advance proposes and restores today's period, else the current one.
    EXPECT_EQ(grv_.Acc_Period_Month(), advance ? Today().Month() : 6);
    EXPECT_EQ(grv_.Acc_Period_Year(), c.restored ? (advance ? 4 : 3) : c.year_key);
  }
}

TEST_F(SaveVoucherDialogTest, TheCurrentPeriodIsAcceptedEvenWhenTheSupplierProcedureClosedIt) {
  Sql("UPDATE PeriodProcedures SET MonthID = 6, YearID = 3");
  Bind("PF");
  script_ = [](ui::HeadlessDriver& user) {
    // July is open; June is current though closed; May is closed.
    user.SelectRow("dbcGRV(0)", 6).SelectRow("dbcGRV(0)", 5).SelectRow("dbcGRV(0)", 4);
    user.Click("cmdDo(1)").Answer(ui::vbYes);
  };
  EXPECT_EQ(Show(), (std::vector<std::string>{kClosedPeriodRefused, vouchers::kConfirmPosting}));
  EXPECT_EQ(grv_.Acc_Period_Month(), 6);
  Sql("UPDATE PeriodProcedures SET MonthID = 12, YearID = 1");
}

TEST_F(SaveVoucherDialogTest, AFailingPeriodProcedureIsPassedOver) {
  struct Case {
    const char* procedure;
    const char* rules;
    int year_key;
    std::vector<std::string> prompts;
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
    Sql("UPDATE kvt_procedures SET name = 'gone' WHERE name = ?1", {c.procedure});
    EXPECT_EQ(PickYearAndSave(c.year_key), c.prompts);
    Sql("UPDATE kvt_procedures SET name = ?1 WHERE name = 'gone'", {c.procedure});
    EXPECT_EQ(grv_.Acc_Period_Month(), c.month);
    EXPECT_EQ(grv_.Acc_Period_Year(), c.year);
  }
}

TEST_F(SaveVoucherDialogTest, AMonthListWithoutTheProposedMonthLeavesTheMonthUnchosen) {
  Bind("", "SELECT ID, Months FROM Months WHERE ID <> 6");
  script_ = [](ui::HeadlessDriver& user) { user.Click("cmdDo(1)").Answer(ui::vbYes); };
  EXPECT_EQ(Show(), std::vector<std::string>{vouchers::kConfirmPosting});
  EXPECT_EQ(grv_.Acc_Period_Month(), 0);
  EXPECT_EQ(grv_.Acc_Period_Year(), 3);
}

TEST_F(SaveVoucherDialogTest, SaveAsksForTheNumberAndConfirmationAndCancelUnloads) {
  const std::string kNumber = vouchers::kNoSupplierDocumentNumber;
  const std::string kConfirm = vouchers::kConfirmPosting;
  struct Case {
    const char* what;
    bool save_only;
    const char* number;
    std::vector<int> answers;  // to the confirmations, then the user cancels
    std::vector<std::string> prompts;
    bool loaded;
  } cases[] = {
      {"no number", false, "", {}, {kNumber}, false},
      {"no number, saved alone", true, "", {ui::vbYes}, {kConfirm}, true},
      {"No, then Yes", false, "INV-9", {ui::vbNo, ui::vbYes}, {kConfirm, kConfirm}, true},
      {"No, then cancelled", false, "INV-9", {ui::vbNo}, {kConfirm}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Restart();
    Bind("N");
    script_ = [&c](ui::HeadlessDriver& user) {
      user.Replace("txtGRV(0)", c.number);
      if (c.save_only) user.Click("optSaveGRV(0)");
      for (int answer : c.answers) user.Click("cmdDo(1)").Answer(answer);
      if (c.answers.empty()) user.Click("cmdDo(1)");
      user.Inspect([](ui::Form& form) { EXPECT_TRUE(form.Visible()); }).Click("cmdDo(0)");
    };
    EXPECT_EQ(Show(), c.prompts);
    EXPECT_EQ(grv_.IsGRVSaveFormLoaded(), c.loaded);
    if (c.loaded) {
      EXPECT_EQ(user_->PendingSteps(), 2u);  // the look and the Cancel never came
      EXPECT_EQ(grv_.Save_Supplier_Inv(), !c.save_only);
      EXPECT_EQ(grv_.Supplier_Inv_No(), c.number);
    }
  }
}

TEST_F(SaveVoucherDialogTest, TheAnswersReachTheHostByNameWithTheirDefaults) {
  for (std::optional<vb::Date> picked : {std::optional<vb::Date>(), std::optional(DocDate())}) {
    Restart();
    Rules("");
    Variant args[] = {Rows("SELECT ID, Months FROM Months"), Rows("SELECT ID, Years FROM Years"),
                      "INV-77", Today(), 1};
    grv_.Invoke("LoadGRVSaveForm", CallKind::kCall, {});
    grv_.Invoke("BindSaveFormLups", CallKind::kCall, args);
    script_ = [picked](ui::HeadlessDriver& user) {
      user.PickDate("dtpGRV", picked).Click("cmdDo(1)").Answer(ui::vbYes);
    };
    Variant type = 20;
    Show([&] { grv_.Invoke("ShowGRVSaveForm", CallKind::kCall, std::span<Variant>(&type, 1)); });
    auto get = [&](const char* name) { return grv_.Invoke(name, CallKind::kGet, {}); };
    EXPECT_EQ(get("Supplier_Inv_Date"), Variant(picked.value_or(Today())));
    EXPECT_EQ(get("Save_Supplier_Inv"), Variant(true));
    EXPECT_EQ(get("Supplier_Inv_No"), Variant("INV-77"));
    EXPECT_EQ(get("Acc_Period_Month"), Variant::Byte(6));
    EXPECT_EQ(get("Acc_Period_Year"), Variant::Integer(3));
  }
}

TEST_F(SaveVoucherDialogTest, CaptionsFollowTheTransactionType) {
  const char* kInvoice = "Save as Goods Received Voucher, and create a Supplier's Invoice";
  struct Case {
    int type;
    std::vector<std::string> captions;  // save only, with document, number, heading
  } cases[] = {
      {19, {"Save as Goods Received Voucher only", kInvoice, "Supplier Invoice No", "Save GRV"}},
      {20,
       {"Save as Goods Returned Voucher only",
        "Save as Goods Returned Voucher, and create a Supplier's Credit Note",
        "Supplier Refund No", "GRN"}},
      {31,
       {"Save as Consignment Received Voucher only",
        "Save as Consignment Received Voucher, and create a Supplier's Receipt",
        "Supplier Refund No", "CRV"}},
      {32,
       {"Save as Consignment Returned Voucher only",
        "Save as Consignment Returned Voucher, and create a Supplier's Return Note",
        "Supplier Refund No", "CRN"}},
      {0, {"Save as Goods Received Voucher only", kInvoice, "Supplier Inv No", "Save GRV"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    Restart();
    std::vector<std::string> shown;
    script_ = [&shown](ui::HeadlessDriver& user) {
      user.Inspect([&shown](ui::Form& form) {
        for (auto [name, index] : {std::pair{"optSaveGRV", 0}, {"optSaveGRV", 1}, {"lblGRV", 0},
                                   {"lblAOSaveGRV", -1}}) {
          shown.push_back(vb::CStr(form.Ctl(name, index).Get("Caption")));
        }
        EXPECT_EQ(form.Caption(), "  Save GRV");
      }).Click("cmdDo(0)");
    };
    Show([&] { grv_.ShowGRVSaveForm(static_cast<uint8_t>(c.type)); });
    EXPECT_EQ(shown, c.captions);
  }
}

TEST_F(SaveVoucherDialogTest, SavingAloneIsOfferedWhenTheCompanyAllowsItAndSetsTheDocumentAside) {
  auto document_enabled = [](ui::Form& form) {
    std::string states;
    for (auto [name, index] : {std::pair{"frameMain", 1}, {"txtGRV", 0}, {"dtpGRV", -1},
                               {"dbcGRV", 0}, {"dbcGRV", 1}, {"lblGRV", 0}, {"lblGRV", 1},
                               {"lblGRV", 2}}) {
      states += form.Ctl(name, index).Enabled() ? '1' : '0';
    }
    return states;
  };
  for (bool allowed : {false, true}) {
    SCOPED_TRACE(allowed);
    Restart();
    grv_.LoadGRVSaveForm();
    EXPECT_TRUE(grv_.Save_Supplier_Inv());
    EXPECT_EQ(Dialog().dtpGRV().Value(), Today());
    Bind(allowed ? "N" : "");
    std::vector<std::string> seen;
    script_ = [&](ui::HeadlessDriver& user) {
      auto look = [&](ui::Form& form) {
        seen.push_back(document_enabled(form) + (grv_.Save_Supplier_Inv() ? " invoice" : "") +
                       (form.Ctl("optSaveGRV", 0).Enabled() ? " alone" : ""));
      };
      user.Click("optSaveGRV(0)").Inspect(look).Click("optSaveGRV(1)").Inspect(look);
      user.Click("cmdDo(0)");
    };
    Show();
    const std::vector<std::string> expected[] = {{"11111111 invoice", "11111111 invoice"},
                                                 {"00000000 alone", "11111111 invoice alone"}};
    EXPECT_EQ(seen, expected[allowed]);
  }
}

}  // namespace
}  // namespace kvt
