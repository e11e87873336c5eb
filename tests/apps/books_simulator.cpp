#include "tests/apps/books_simulator.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <iterator>
#include <memory>
#include <random>
#include <thread>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/order_session.h"
#include "apps/kvt-host/posting/bookable.h"
#include "apps/kvt-host/posting/consignment_sale.h"
#include "apps/kvt-host/posting/post_voucher.h"
#include "apps/kvt-host/posting/stock_invariants.h"
#include "apps/kvt-host/sessions/stock_figures.h"
#include "apps/kvt-host/sessions/voucher_session.h"
#include "component/mod_publics.h"
#include "db/demo_database.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "tests/support/posting_voucher.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::host::books {

namespace {

constexpr int32_t kCompany = db::kDemoCompanyID;
constexpr int32_t kSuppliers = 4;  // the demo company's

// A quantity as a clerk types it: two decimals at most.
double Typed(double qty) { return std::round(qty * 100) / 100; }
std::string QtyText(double qty) { return vb::CStr(vb::Variant(Typed(qty))); }

// A row of candidates: a key, its owner (order or voucher), its supplier
// and how much may be taken of it.
struct Candidate {
  int32_t id = 0, owner = 0, supplier = 0;
  double available = 0;
};

class World {
 public:
  explicit World(data::Backend backend) : db_("kvt_books_sim", backend), connection_(db_.Open()) {
    context_.connection_text = db_.ConnectionText();
    context_.company_id = kCompany;
    context_.user_id = 2;
  }

  // Runs `op`; raises what the host raised that is no refusal of its own.
  void Run(const Op& op) {
    component::ResetThreadStore();
    switch (op.kind) {
      case OpKind::kOrder: NewOrder(op); break;
      case OpKind::kEditOrder: EditOrder(op); break;
      case OpKind::kReceive: Receive(op, posting::kGoodsReceived); break;
      case OpKind::kConsign: Receive(op, posting::kConsignmentReceived); break;
      case OpKind::kReturn: Return(op, posting::kGoodsReturned); break;
      case OpKind::kConsignReturn: Return(op, posting::kConsignmentReturned); break;
      case OpKind::kSell: Sell(op); break;
      case OpKind::kRace: Race(op); break;
    }
    ui::SetDriver(nullptr);
  }

  std::vector<std::string> Breaches() { return posting::StockInvariantBreaches(*connection_); }

  int64_t Count(const char* sql) { return vb::CLng(connection_->Query(sql)->Item(0).Value()); }

 private:
  ui::HeadlessDriver& User() {
    user_ = std::make_shared<ui::HeadlessDriver>();
    ui::SetDriver(user_);
    return *user_;
  }

  // The rows of `sql`, whose ?1 is `key` (the company unless told).
  std::vector<Candidate> Candidates(const std::string& sql, int32_t key = kCompany) {
    std::vector<Candidate> rows;
    for (auto set = connection_->Query(sql, {vb::Variant(key)}); !set->IsEOF(); set->MoveNext()) {
      rows.push_back({vb::CLng(set->Item(0).Value()), vb::CLng(set->Item(1).Value()),
                      vb::CLng(set->Item(2).Value()), vb::CDbl(set->Item(3).Value())});
    }
    return rows;
  }
  std::optional<Candidate> Pick(const std::string& sql, uint32_t pick) {
    const std::vector<Candidate> rows = Candidates(sql);
    if (rows.empty()) return std::nullopt;
    return rows[pick % rows.size()];
  }
  std::optional<Candidate> OpenOrderLine(uint32_t pick) {
    return Pick(
        "SELECT d.ID, d.PurchaseOrderID, po.SupplierID, COALESCE(d.Qty, 0) + "
        "COALESCE(d.BOQty, 0) - d.QtyReceived FROM PurchaseOrderDetails d JOIN "
        "PurchaseOrders po ON po.ID = d.PurchaseOrderID WHERE po.CompanyID = ?1 AND "
        "po.Status = 1 AND COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0) - d.QtyReceived > 0.005 "
        "ORDER BY d.ID",
        pick);
  }

  DeskContext Desk() {
    return OpenDesk(db_.ConnectionText(), "admin", kCompany, db::kDemoDatabaseName);
  }

  // Saves the order being edited, processed; a refusal of the host (5) is
  // an answer, not a fault.
  static void SaveOrder(OrderSession& session, ui::HeadlessDriver& buyer) {
    buyer.Click("optChoice(0)").Click("cmdAction(0)");
    try {
      session.Save();
    } catch (const vb::Error& error) {
      if (error.number() != vb::err::kInvalidCall) throw;
    }
  }

  // A new order of one to three lines: products with their formulas, and
  // now and then a rebate typed as an amount.
  void NewOrder(const Op& op) {
    OrderSession session(Desk());
    session.StartNew(1 + static_cast<int32_t>(op.pick % kSuppliers));
    const auto& products = session.Products();
    const uint32_t lines = 1 + op.variant % 3;
    for (uint32_t i = 0; i < lines; ++i) {
      const uint32_t v = op.variant / 3 + i * 7;
      const int32_t product = products[v % products.size()].id;
      const double qty = v % 5 == 0 ? Typed(0.5 + op.share * 7) : 1 + (v + op.pick) % 30;
      ui::HeadlessDriver& buyer = User();
      if (v % 4 == 1) {
        const std::string rebate = QtyText(std::max(0.0, op.share) * qty * 0.6);
        buyer.Replace("txtODEdit(3)", rebate).Click("cmdAction(2)");
      }
      buyer.Click("cmdAction(0)");
      session.AddLine(product, qty);
    }
    SaveOrder(session, User());
  }

  // A buyer changes the quantity of an order line nothing was received on,
  // or tries to cut a received one below what came (refused).
  void EditOrder(const Op& op) {
    const bool cut = op.variant % 3 == 0;
    const auto line =
        Pick(std::string("SELECT d.ID, d.PurchaseOrderID, po.SupplierID, d.QtyReceived FROM "
                         "PurchaseOrderDetails d JOIN PurchaseOrders po ON po.ID = "
                         "d.PurchaseOrderID WHERE po.CompanyID = ?1 AND po.Status < 2 AND ") +
                 (cut ? "d.QtyReceived >= 1" : "d.QtyReceived = 0") + " ORDER BY d.ID",
             op.pick);
    if (!line) return;
    OrderSession session(Desk());
    session.Open(line->owner);
    const auto rows = Candidates(
        "SELECT ID, PurchaseOrderID, 0, 0 FROM PurchaseOrderDetails WHERE PurchaseOrderID = ?1 "
        "ORDER BY ID",
        line->owner);
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&](const Candidate& c) { return c.id == line->id; });
    const double qty = cut ? Typed(line->available * 0.5) : Typed(1 + op.share * 20);
    User().Replace("txtODEdit(0)", QtyText(qty)).Press(ui::vbKeyReturn).Click("cmdAction(0)");
    if (!session.EditLine(static_cast<int>(row - rows.begin()))) return;
    SaveOrder(session, User());
  }

  // The clerk saves: the supplier's document from a small pool of numbers
  // (so that one is now and then used twice) for goods, none for
  // consignment.
  static void SaveVoucher(VoucherSession& session, ui::HeadlessDriver& clerk, const Op& op) {
    if (session.IsConsignment()) {
      clerk.Click("optSaveGRV(0)");
    } else {
      clerk.Click("optSaveGRV(1)").Replace("txtGRV(0)", "DOC-" + std::to_string(op.variant % 40));
    }
    clerk.Click("cmdDo(1)").Answer(ui::vbYes);
    session.Save();
  }

  static void TypeQty(ui::HeadlessDriver& clerk, double qty) {
    clerk.Replace("txtODEdit(0)", QtyText(qty)).Press(ui::vbKeyReturn).Click("cmdAction(0)");
  }

  // Part of an outstanding order line (share above 1: too much, which the
  // host refuses, and the clerk cancels), and sometimes the whole of a
  // second line of the same order.
  void Receive(const Op& op, posting::TransactionType type) {
    const auto line = OpenOrderLine(op.pick);
    if (!line) return;
    VoucherSession session(context_, type);
    session.ChooseSupplier(line->supplier);
    session.ChooseSource(line->owner);
    const double qty = std::max(0.01, Typed(line->available * op.share));
    TypeQty(User(), qty);
    if (!session.ReceiveLine(line->id)) return;
    if (op.variant % 2 == 1) {
      const auto other = OpenOrderLine(op.pick + 1);
      if (other && other->owner == line->owner && other->id != line->id) {
        User().Click("cmdAction(0)");
        session.ReceiveLine(other->id);
      }
    }
    SaveVoucher(session, User(), op);
  }

  std::optional<Candidate> ReturnableLine(uint32_t pick, int32_t received_type) {
    const std::string left = received_type == posting::kGoodsReceived
                                 ? "gd.Qty - COALESCE(gd.QtyReturned, 0)"
                                 : "COALESCE(gd.QtyLeft, 0)";
    return Pick("SELECT gd.ID, gd.GRVID, g.SupplierID, " + left +
                    " FROM GRVDetails gd JOIN GRVs g ON g.ID = gd.GRVID WHERE g.CompanyID = ?1 "
                    "AND g.TranTypeID = " +
                    std::to_string(received_type) + " AND " + left + " > 0.005 ORDER BY gd.ID",
                pick);
  }

  void Return(const Op& op, posting::TransactionType type) {
    const bool consignment = type == posting::kConsignmentReturned;
    const auto line = ReturnableLine(
        op.pick, consignment ? posting::kConsignmentReceived : posting::kGoodsReceived);
    if (!line) return;
    VoucherSession session(context_, type);
    session.ChooseSupplier(line->supplier);
    session.ChooseSource(line->owner);
    TypeQty(User(), std::max(0.01, Typed(line->available * op.share)));
    if (!session.ReceiveLine(line->id)) return;
    SaveVoucher(session, User(), op);
  }

  void Sell(const Op& op) {
    const auto line = ReturnableLine(op.pick, posting::kConsignmentReceived);
    if (!line) return;
    const double qty = std::max(0.01, Typed(line->available * op.share));
    User();
    SellConsignmentStock(context_, line->id, qty, vb::Date::Today());
  }

  // Two clerks post receipts on one order line at once, each for more than
  // half of what is outstanding, under the same invoice number: one gets
  // the goods, the other a refusal.
  void Race(const Op& op) {
    const auto line = OpenOrderLine(op.pick);
    if (!line) return;
    const double qty = std::max(0.01, Typed(line->available * 0.6));
    std::atomic<int> faults = 0;
    std::string fault;
    auto clerk = [&] {
      try {
        auto connection = db_.Open();
        posting::Voucher voucher =
            test_support::VoucherOf(posting::kGoodsReceived, line->supplier, line->owner,
                                    {{line->id, 0, QtyText(qty), "1.00"}});
        voucher.create_supplier_document = op.variant % 2 == 0;
        voucher.supplier_document_number = "RACE-" + std::to_string(op.variant % 7);
        posting::PostVoucher(*connection, voucher, 20);
      } catch (const vb::Error& error) {
        if (error.number() != posting::kPostingRefused && faults++ == 0) {
          fault = error.description();
        }
      }
    };
    std::thread first(clerk), second(clerk);
    first.join();
    second.join();
    if (faults > 0) throw vb::Error(vb::err::kInvalidCall, "race", fault);
  }

  test_support::TempDemoDatabase db_;
  data::ConnectionRef connection_;
  HostContext context_;
  std::shared_ptr<ui::HeadlessDriver> user_;
};

// By OpKind, in its order.
constexpr const char* kKindNames[] = {"order",  "edit order", "receive",        "consign",
                                      "return", "sell",       "consign return", "race"};
static_assert(std::size(kKindNames) == static_cast<size_t>(OpKind::kRace) + 1);

}  // namespace

std::string Describe(const Op& op) {
  return std::string(kKindNames[static_cast<size_t>(op.kind)]) + " pick " +
         std::to_string(op.pick) + " variant " + std::to_string(op.variant) + " share " +
         vb::CStr(vb::Variant(op.share));
}

std::vector<Op> RandomOps(uint64_t seed, size_t count) {
  std::mt19937_64 random(seed);
  // Orders and receipts most, so that there is something to return and sell.
  const std::pair<OpKind, int> weights[] = {{OpKind::kOrder, 4},         {OpKind::kEditOrder, 2},
                                            {OpKind::kReceive, 5},       {OpKind::kConsign, 3},
                                            {OpKind::kReturn, 3},        {OpKind::kSell, 2},
                                            {OpKind::kConsignReturn, 2}, {OpKind::kRace, 1}};
  int total = 0;
  for (const auto& [kind, weight] : weights) total += weight;
  // Every kind once first, in a random order, so that a short list does a
  // little of everything; then by weight.
  std::vector<OpKind> first;
  for (const auto& [kind, weight] : weights) first.push_back(kind);
  std::shuffle(first.begin(), first.end(), random);
  std::vector<Op> ops;
  for (size_t i = 0; i < count; ++i) {
    int draw = static_cast<int>(random() % static_cast<uint64_t>(total));
    Op op;
    for (const auto& [kind, weight] : weights) {
      if (draw < weight) {
        op.kind = kind;
        break;
      }
      draw -= weight;
    }
    if (i < first.size()) op.kind = first[i];
    op.pick = static_cast<uint32_t>(random() % 1000);
    op.variant = static_cast<uint32_t>(random() % 1000);
    // Mostly part of what may be taken, now and then all of it or more.
    const uint64_t share = random() % 100;
    op.share = share < 10   ? 1.0
               : share < 18 ? 1.0 + static_cast<double>(share) / 100
                            : static_cast<double>(share) / 100;
    ops.push_back(op);
  }
  return ops;
}

RunResult RunOps(data::Backend backend, const std::vector<Op>& ops) {
  RunResult result;
  World world(backend);
  constexpr char kVouchers[] = "SELECT COUNT(*) FROM GRVs";
  constexpr char kOrders[] = "SELECT COUNT(*) FROM PurchaseOrders";
  constexpr char kSales[] = "SELECT COUNT(*) FROM StockMovements WHERE MovementType = 1";
  const int64_t vouchers = world.Count(kVouchers), orders = world.Count(kOrders),
                sales = world.Count(kSales);
  for (size_t i = 0; i < ops.size(); ++i) {
    result.steps = i + 1;
    try {
      world.Run(ops[i]);
    } catch (const vb::Error& error) {
      result.failed_at = i;
      result.failure = "raised " + std::to_string(error.number()) + ": " + error.description();
      break;
    }
    const std::vector<std::string> breaches = world.Breaches();
    if (!breaches.empty()) {
      result.failed_at = i;
      for (const std::string& breach : breaches) result.failure += breach + "\n";
      break;
    }
  }
  result.vouchers = world.Count(kVouchers) - vouchers;
  result.orders = world.Count(kOrders) - orders;
  result.sales = world.Count(kSales) - sales;
  ui::SetDriver(nullptr);
  component::ResetThreadStore();
  return result;
}

}  // namespace kvt::host::books
