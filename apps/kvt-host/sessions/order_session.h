// One purchase order open at the desk: its header, its lines and their
// totals, edited through the component as the suite's host drives it.
// Lines are added and edited in the order item dialog, the order is saved
// through the delivery dialog and printed through COrder. The component
// fills an invisible order screen (the host object of its contract); the
// desk shows what it holds. Toolkit-free: dialogs go to the thread's
// ui::Driver, documents to the thread's report output.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/grid_table.h"
#include "apps/kvt-host/sessions/order_ending.h"
#include "apps/kvt-host/sessions/order_store.h"
#include "apps/kvt-host/sessions/product_choices.h"
#include "kvt/COrder.h"

namespace kvt::host {

class OrderScreen;

class OrderSession {
 public:
  // Reads the company's decimals; raises what reading raises.
  explicit OrderSession(DeskContext desk);
  ~OrderSession();
  OrderSession(const OrderSession&) = delete;
  OrderSession& operator=(const OrderSession&) = delete;

  // Opens saved order `order_id`; raises 3021 when there is none. Edits of
  // the order open before are dropped: ask the buyer first.
  void Open(int32_t order_id);
  // Starts a new order for supplier `supplier_id`, saved on first Save.
  void StartNew(int32_t supplier_id);

  const OrderHeader& Header() const { return header_; }
  bool IsOpen() const { return lines_ != nullptr; }
  bool IsNew() const { return header_.order_id == 0; }
  // Edits not saved yet: lines, references or a delivery address typed in
  // a save that did not go through.
  bool Dirty() const { return dirty_; }
  // Why this order cannot be changed here, or empty when it can.
  std::string LockedReason() const;
  const Decimals& DisplayDecimals() const { return decimals_; }
  const DeskContext& Desk() const { return desk_; }

  void SetReferences(const std::string& our_ref, const std::string& supplier_ref,
                     const std::string& message);

  // The lines: Code, Product, Qty, B/O, Free, Unit price, Trade, Rebate,
  // Other, Net, Tax, Total.
  GridTable LinesGrid();
  int LineCount() const;
  // The company's products, read on first use.
  const std::vector<ProductChoice>& Products() const;

  // Through the order item dialog; false when the buyer cancels (nothing
  // changes then). Failures of the component are its own to report.
  bool AddLine(int32_t product_id, double quantity);
  bool EditLine(int row);
  // Why line `row` may not be removed (goods received against it), or
  // empty.
  std::string RemovalRefusal(int row);
  void RemoveLine(int row);

  // The seven totals as the component summed them into the order screen:
  // trade, rebate and other discount, net, tax, total, quantity.
  std::vector<std::string> Totals();
  // The product of line `row` as the component shows it on the order
  // screen's product panel: (caption, value) pairs, the description first.
  std::vector<std::pair<std::string, std::string>> ProductDetails(int row);

  // Why this order may not be saved because someone else saved it since
  // it was opened here ("PO000123 was changed by dana at 10:42; reload
  // it"), or empty.
  std::string ChangeRefusal() const;
  // Dates the order (today for a new one unless set).
  void SetDateOrdered(const vb::Date& date);

  struct SaveResult {
    bool saved = false;  // false: the buyer cancelled the delivery dialog
    bool print_now = false;
    bool preview = false;
  };
  // Asks for the delivery details (filled from the order, and for a new
  // order from the company) and writes header, delivery address and the
  // lines that changed in one transaction. Raises what writing raises; the
  // edits, the typed address included, stay open then: 5 for an order with
  // no lines or a line the books cannot hold (LinesRefusal's message, before
  // the dialog), kOrderChangedElsewhere (before the dialog when it can) for
  // an order someone else saved since it was opened here.
  SaveResult Save();
  // Whether a print of the order now is a reprint: once processed, the
  // order was printed when it was.
  bool PrintsAsReprint() const;
  // Closes or cancels the saved order (order_ending.h) as the desk's user
  // and reads it again. Raises as EndOrder; edits not saved are dropped:
  // ask the buyer first.
  void End(OrderEnd end);
  // "Closed by dana on 05 Dec 2026 at 10:42", or the status alone.
  std::string StatusText() const;

  // Prints or previews the order as last saved, marked as a reprint when
  // it is one (`first_print`: the print that processing it makes).
  void Print(bool preview, bool first_print = false);

 private:
  void Recalculate();
  void MoveToRow(int row);
  vb::Variant ProductRow(int32_t product_id);

  DeskContext desk_;
  Decimals decimals_;
  COrder order_;
  std::shared_ptr<OrderScreen> screen_;
  mutable std::optional<std::vector<ProductChoice>> products_;
  OrderHeader header_;
  data::RecordSetRef lines_;
  std::vector<int32_t> removed_line_ids_;
  SavedLines opened_lines_;
  bool dirty_ = false;
};

}  // namespace kvt::host
