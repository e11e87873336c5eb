// Pins the late-bound slot order of the public classes: every member that
// exists must sit at its published position, so a host calling by slot
// reaches the member it means.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kvt/CGRV.h"
#include "kvt/COrder.h"
#include "platform/value/error.h"
#include "tests/support/vb_error.h"

namespace kvt {
namespace {

// clang-format off
const std::vector<std::string> kCOrderSlots = {
    "ConnectionString", "CompanyID", "UserID", "IsEditFormLoaded",
    "Product_Name", "Selling_Price_1", "Selling_Price_2", "Last_Sale_Date",
    "Stock_On_Hand", "Stock_Reserved", "Qty_On_Order", "Orders_Pending",
    "Shopping_List_Qty", "Last_Cost", "ODOrder_Number", "Form_Caption",
    "Form_State_Label", "Cmd_Action_Caption", "Product_ID", "Back_Order_Qty",
    "Free_Qty", "Lead_Time", "Service_Level", "Order_Qty", "Unit_Price",
    "Trade_Disc_Formula", "Trade_Discount", "Rebate_Disc_Formula",
    "Rebate_Discount", "Other_Disc_Formula", "Other_Discount", "Tax_Code",
    "Tax", "Net_Amount", "Total_Cost", "LoadDeliveryForm",
    "UnloadDeliveryForm", "ShowDeliveryForm", "HideDeliveyForm",
    "IsDeliveryFormLoaded", "Order_No", "Date_Ordered", "Supplier_Name",
    "Created_By", "Del_Name", "Del_Address1", "Del_Address2", "Del_Address3",
    "Del_PostCode", "Process_Order_Enabled", "Save_Order_Enabled", "OrderNow",
    "Show_Report_Preview", "LoadDetailForm", "UnloadDetailForm",
    "ShowDetailForm", "HideDetailForm", "BindFormulaDBC",
    "AddOrderDetailToRS", "UpdateOrderDetailRS", "AssignAllForAdding",
    "AssignAllForEditing", "CalculateHeaderTotals", "SetProductDetails",
    "ClearHeaderControls", "BindOrderHeader", "ShowPurchaseOrder",
    "QtyDecimals", "PriceDecimals"};
// clang-format on

// clang-format off
const std::vector<std::string> kCGRVSlots = {
    "ConnectionString", "IsGRVSaveFormLoaded", "LoadGRVSaveForm",
    "UnloadGRVSaveForm", "ShowGRVSaveForm", "HideGRVSaveForm",
    "BindSaveFormLups", "CompanyID", "QtyDecimals", "PriceDecimals",
    "Save_Supplier_Inv", "Supplier_Inv_No", "Supplier_Inv_Date",
    "Acc_Period_Month", "Acc_Period_Year", "FK_ID", "Product_ID",
    "Product_Name", "Product_Code", "Total_Ordered", "Total_Received",
    "Received_Qty", "Unit_Price", "Trade_Discount", "Rebate_Discount",
    "Other_Discount", "Trade_Discount_Percentage",
    "Rebate_Discount_Percentage", "Other_Discount_Percentage", "Net_Amount",
    "Tax_Code_ID", "Tax_Code", "Tax_Amount", "Total_Cost",
    "LoadGRVDetailForm", "UnloadGRVDetailForm", "ShowGRVDetailForm",
    "HideGRVDetailForm", "IsGRVDetailFormLoaded", "BindFormulaDBC",
    "Set_Form_State", "AssignAllForAdding", "AssignAllForEditing",
    "AddGRVDetailToRS", "UpdateGRVDetailRS", "AssignAllForReturnAdding",
    "GetOutstandingOrders", "GetReceivedGRV", "GetOutstandingOrdersDetails",
    "GetReceivedGRVDetails", "InsertOrderHeaderValues",
    "InsertGRVHeaderValues", "ClearHeaderControls",
    "ClearReturnHeaderControls", "CalculateHeaderTotals", "CanChangeFunction",
    "ShowGRVReport", "GetReceivedCRV", "GetReceivedCRVDetails",
    "Returned_Qty", "Sold_Qty", "Left_Qty", "AddCRVDetailToRS",
    "UpdateCRVDetailRS", "AssignAllForCRVReturnAdding",
    "AssignAllForCRVEditing", "AssignAllForCRVAdding", "mbIsCRN", "Price1"};
// clang-format on

// Slot of `name`, or -1 when the class does not have that member yet.
template <class Class>
int32_t SlotOrAbsent(const std::string& name) {
  int32_t slot = -1;
  const int32_t error = test_support::ErrorNumberOf([&] { slot = Class::SlotOf(name); });
  EXPECT_TRUE(error == 0 || error == vb::err::kNoSuchMember) << error;
  return slot;
}

// Every member that exists sits at its published slot; those in
// `must_exist` (all of them when it is empty) exist.
template <class Class>
void ExpectPublishedOrder(const std::vector<std::string>& published,
                          std::vector<std::string> must_exist = {}) {
  for (size_t slot = 0; slot < published.size(); ++slot) {
    SCOPED_TRACE(published[slot]);
    int32_t found = SlotOrAbsent<Class>(published[slot]);
    if (found >= 0) {
      EXPECT_EQ(found, static_cast<int32_t>(slot));
    }
  }
  for (const std::string& name : must_exist.empty() ? published : must_exist) {
    SCOPED_TRACE(name);
    EXPECT_GE(SlotOrAbsent<Class>(name), 0);
  }
}

TEST(PublishedMembersTest, MembersSitAtTheirPublishedSlots) {
  ExpectPublishedOrder<COrder>(kCOrderSlots);
  ExpectPublishedOrder<CGRV>(kCGRVSlots);
}

TEST(PublishedMembersTest, UnknownNamesAndSlotsRaise438) {
  COrder order;
  vb::Variant value(true);
  struct Case {
    const char* what;
    std::function<void()> call;
  } cases[] = {
      {"misspelt name", [] { COrder::SlotOf("HideDeliveryForm"); }},
      {"slot past the end", [&] { order.Invoke(1000, CallKind::kGet, {}); }},
      {"write to a read-only property",
       [&] { order.Invoke("OrderNow", CallKind::kLet, std::span<vb::Variant>(&value, 1)); }},
      {"read of a write-only setting", [&] { order.Invoke("CompanyID", CallKind::kGet, {}); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(test_support::ErrorNumberOf(c.call), vb::err::kNoSuchMember);
  }
}

}  // namespace
}  // namespace kvt
