// The reference host's purchase-order workbench: the order screen with the
// commands a buyer uses on it. Each command drives COrder exactly as the
// suite's host does: add or edit a line through the order item dialog,
// save through the delivery dialog (and print when the buyer asks), or
// preview the printed order. Toolkit-free: the Qt driver shows it on the
// desktop, the headless driver plays a scripted buyer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "apps/kvt-host/order_screen.h"
#include "kvt/COrder.h"
#include "platform/data/record_set.h"

namespace kvt::host {

inline constexpr const char* kWorkbenchTitle = "Purchase Orders";

class OrderWorkbench : public OrderScreen {
 public:
  // `connection_text` is the component's; `database_name` is what the
  // printing operation passes on to the saved-settings lookups.
  OrderWorkbench(data::ConnectionRef connection, std::string connection_text,
                 int32_t company_id, std::string database_name);

  // Opens order `order_id`: its header bound through COrder, its lines read
  // into the host's detail set and shown in the grid, the totals summed.
  // Raises what the queries raise.
  void OpenOrder(int32_t order_id);

  // The host's detail set of the open order (saved lines and new ones).
  data::RecordSet& Lines() { return *lines_; }

  // Writes the detail set back to the database in one transaction: saved
  // lines are updated (their received quantities kept), new ones inserted.
  // Raises what the statements raise; nothing is written then.
  void SaveLines();

 protected:
  void Build() override;

 private:
  void AddLine();
  void EditLine();
  void SaveOrder();
  void PreviewOrder();
  // Shows the detail set in the grid, sums the header totals and shows the
  // product details of `product_id` (when not 0).
  void Refresh(int32_t product_id);
  vb::Variant ProductRow(int32_t product_id);
  // Says `text` to the buyer in the workbench's message box.
  void Tell(const std::string& text);

  data::ConnectionRef db_;
  std::string connection_text_;
  int32_t company_id_;
  std::string database_name_;
  COrder order_;
  data::RecordSetRef lines_;
  int32_t order_id_ = 0;
  std::string order_number_;
};

}  // namespace kvt::host
