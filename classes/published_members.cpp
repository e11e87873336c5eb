#include "classes/published_members.h"

namespace kvt::classes {

const std::vector<std::string>& COrderPublishedMembers() {
  // clang-format off
  static const std::vector<std::string> kMembers = {
      "ConnectionString", "CompanyID", "UserID", "IsEditFormLoaded",
      "Product_Name", "Selling_Price_1", "Selling_Price_2", "Last_Sale_Date",
      "Stock_On_Hand", "Stock_Reserved", "Qty_On_Order", "Orders_Pending",
      "Shopping_List_Qty", "Last_Cost", "ODOrder_Number", "Form_Caption",
      "Form_State_Label", "Cmd_Action_Caption", "Product_ID",
      "Back_Order_Qty", "Free_Qty", "Lead_Time", "Service_Level", "Order_Qty",
      "Unit_Price", "Trade_Disc_Formula", "Trade_Discount",
      "Rebate_Disc_Formula", "Rebate_Discount", "Other_Disc_Formula",
      "Other_Discount", "Tax_Code", "Tax", "Net_Amount", "Total_Cost",
      "LoadDeliveryForm", "UnloadDeliveryForm", "ShowDeliveryForm",
      "HideDeliveyForm", "IsDeliveryFormLoaded", "Order_No", "Date_Ordered",
      "Supplier_Name", "Created_By", "Del_Name", "Del_Address1",
      "Del_Address2", "Del_Address3", "Del_PostCode", "Process_Order_Enabled",
      "Save_Order_Enabled", "OrderNow", "Show_Report_Preview",
      "LoadDetailForm", "UnloadDetailForm", "ShowDetailForm",
      "HideDetailForm", "BindFormulaDBC", "AddOrderDetailToRS",
      "UpdateOrderDetailRS", "AssignAllForAdding", "AssignAllForEditing",
      "CalculateHeaderTotals", "SetProductDetails", "ClearHeaderControls",
      "BindOrderHeader", "ShowPurchaseOrder", "QtyDecimals", "PriceDecimals",
  };
  // clang-format on
  return kMembers;
}

const std::vector<std::string>& CGRVPublishedMembers() {
  // clang-format off
  static const std::vector<std::string> kMembers = {
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
      "ClearReturnHeaderControls", "CalculateHeaderTotals",
      "CanChangeFunction", "ShowGRVReport", "GetReceivedCRV",
      "GetReceivedCRVDetails", "Returned_Qty", "Sold_Qty", "Left_Qty",
      "AddCRVDetailToRS", "UpdateCRVDetailRS", "AssignAllForCRVReturnAdding",
      "AssignAllForCRVEditing", "AssignAllForCRVAdding", "mbIsCRN", "Price1",
  };
  // clang-format on
  return kMembers;
}

}  // namespace kvt::classes
