#include "documents/purchase_order_printing.h"

#include "documents/print_steps.h"
#include "documents/purchase_order_layout.h"
#include "documents/rptPurchaseOrder.h"
#include "documents/rptPurchaseOrderNG.h"
#include "platform/value/conversions.h"
#include "platform/value/failure_style.h"
#include "services/control_settings.h"

namespace kvt::documents {
namespace {

constexpr int16_t kFormPreferenceIndex = 0;
constexpr int16_t kPurchaseOrderPrinterIndex = 6;

}  // namespace

std::string PurchaseOrderDataCommand(int32_t order_id) {
  return "Exec sp_AO_Select_Purchase_Order_Data " + std::to_string(order_id);
}

bool WantsBoxedPurchaseOrder(const std::string& saved_value) {
  // Val raises 6 beyond the Double range: such a value is no number, and
  // like any other that is not 1 it asks for the plain layout.
  try {
    return vb::RoundHalfEven(vb::Val(saved_value)) == 1.0;
  } catch (const vb::Error&) {
    return false;
  }
}

std::unique_ptr<report::Report> NewPurchaseOrderLayout(const std::string& saved_value) {
  if (WantsBoxedPurchaseOrder(saved_value)) {
    return std::make_unique<rptPurchaseOrder>();
  }
  return std::make_unique<rptPurchaseOrderNG>();
}

void BindPurchaseOrderFields(report::Report& report, const data::RecordSetRef& print_data) {
  for (const ColumnBinding& binding : kPurchaseOrderBindings) {
    vb::PassOver([&] { BindColumn(report, print_data, binding.field, binding.column); });
  }
}

void PrintPurchaseOrder(int32_t order_id, bool show_preview, const std::string& database,
                        bool reprint, const std::string& connection_text,
                        services::DataGateway& gateway, report::Output& output) {
  data::ConnectionRef connection;
  data::RecordSetRef print_data;
  vb::PassOver([&] { connection = gateway.OpenConnection(connection_text, -1, 3); });
  vb::PassOver([&] {
    int32_t status = 0;
    print_data =
        gateway.OpenRecordset(PurchaseOrderDataCommand(order_id), 1, 3, 3, connection, status);
  });
  connection.reset();

  services::ControlSettings settings;
  std::string form_preference;
  std::string printer;
  vb::PassOver([&] { settings.Connect(connection_text); });
  vb::PassOver([&] {
    form_preference =
        settings.ReadControlValue("CheckBox", "chkPOGRVForm", kFormPreferenceIndex, database);
  });
  std::unique_ptr<report::Report> report = NewPurchaseOrderLayout(form_preference);
  vb::PassOver([&] {
    printer =
        settings.ReadControlValue("ComboBox", "cboPrinters", kPurchaseOrderPrinterIndex, database);
  });

  vb::PassOver([&] { report->Control("RePrintFlag").SetText(reprint ? "Re-Print" : ""); });
  vb::PassOver([&] { report->Printer().SetDeviceName(printer); });
  vb::PassOver([&] { report->GetDataControl(kPurchaseOrderDataControl).SetRecordset(print_data); });
  BindPurchaseOrderFields(*report, print_data);
  vb::PassOver(
      [&] { report->Control("fldOHPageNo").SetText(std::to_string(report->pageNumber())); });

  vb::PassOver([&] {
    const report::Document document = report->Run(output.Metrics());
    if (show_preview) {
      output.Preview(document, report->Printer().DeviceName());
    } else {
      output.Print(document, report->Printer().DeviceName());
    }
  });
}

void PrintPurchaseOrder(int32_t order_id, bool show_preview, const std::string& database,
                        bool reprint, const std::string& connection_text,
                        services::DataGateway& gateway) {
  PrintPurchaseOrder(order_id, show_preview, database, reprint, connection_text, gateway,
                     report::CurrentOutput());
}

}  // namespace kvt::documents
