// The reference host's purchase-order screen: the order header, the order
// lines grid and the product-details panel, laid out under the control
// names the component fills (BindOrderHeader, ClearHeaderControls,
// SetProductDetails, CalculateHeaderTotals), with the host's data provider
// KvtDBC(0) and a forecasting object for the selected product.
#pragma once

#include <functional>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/data/connection.h"
#include "platform/object/object.h"
#include "platform/ui/form.h"

namespace kvt::host {

// KvtDBC(0): answers MemberGet("Order_Headers" | "Suppliers_In_Orders" |
// "Branch_Codes") with a record set of its own. The order headers and the
// branch list are read afresh and stand on the current order; the
// supplier list (every supplier of the company) is read once per order
// and stands on its first row. Any other name raises 3265 (item not
// found); a closed connection raises 3704.
//
// The demo database keeps no branch table: a branch is a delivery name
// the company's orders use, identified by the first order that used it.
class OrderDataProvider : public object::Object {
 public:
  OrderDataProvider(data::ConnectionRef connection, int32_t company_id);

  std::string TypeName() const override { return "KvtDBC"; }

  // The order the data members stand on; 0 before any.
  int32_t CurrentOrder() const { return order_id_; }
  // Pointing at an order (again) reads its header, the supplier list and
  // the branches afresh on their next use.
  void CurrentOrder(int32_t order_id) {
    order_id_ = order_id;
    suppliers_.reset();
    headers_.reset();
    branches_.reset();
  }

  // The named record set, as MemberGet gives it.
  data::RecordSetRef Member(const std::string& name) const;

  vb::Variant Call(std::string_view name, object::Args args = {}) override;

 private:
  // `query` read once for the order shown (binding an order asks for each
  // member a dozen times), given each time as a set of its own.
  data::RecordSetRef Once(data::RecordSetRef& kept,
                          const std::function<data::RecordSetRef()>& query) const;

  data::ConnectionRef connection_;
  int32_t company_id_;
  int32_t order_id_ = 0;
  mutable data::RecordSetRef suppliers_, headers_, branches_;
};

// The host's forecasting object for one product: fourteen read-only
// properties. Stock figures, lead time, service level and the last sale
// date come from the product; CandidatesPending is the quantity on the
// shopping list. The demo keeps no sales history, so the order history
// stands in for demand: MinOrderQty and MaxOrderQty are the smallest and
// largest quantity ever ordered on one line, Mean, Median and StdDev
// (population) describe those line quantities, rounded to two decimals
// (0 when the product was never ordered).
class ProductForecaster : public object::Object {
 public:
  // Reads product `product_id`. Raises 3021 when there is no such product,
  // and what the connection's query raises.
  ProductForecaster(data::Connection& connection, int32_t product_id);

  std::string TypeName() const override { return "Forecaster"; }

  // The fourteen properties by name; others raise 438.
  vb::Variant Get(std::string_view name, object::Args args = {}) override;

 private:
  data::RecordSetRef product_;
  double min_qty_ = 0, max_qty_ = 0, mean_ = 0, median_ = 0, std_dev_ = 0;
};

// The screen itself ("frmPurchaseOrders"). KvtDBC reads as a one-element
// control array holding the data provider; everything else is a ui::Form.
class OrderScreen : public ui::Form {
 public:
  OrderScreen(data::ConnectionRef connection, int32_t company_id);

  OrderDataProvider& Provider() { return *provider_; }

  // Points the data provider at order `order_id` and shows its lines in the
  // grid (the header itself is the component's to bind). Raises what the
  // connection's query raises.
  void ShowOrderLines(int32_t order_id);
  // The ID of the product on the first line of the current order, or 0.
  int32_t FirstProductOfOrder() const;

  // KvtDBC, KvtDBC(0); then as ui::Form.
  vb::Variant Get(std::string_view name, object::Args args = {}) override;

 protected:
  void Build() override;

 private:
  data::ConnectionRef connection_;
  std::shared_ptr<OrderDataProvider> provider_;
};

}  // namespace kvt::host
