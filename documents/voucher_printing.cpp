#include "documents/voucher_printing.h"

#include <cmath>
#include <optional>

#include "documents/print_steps.h"
#include "documents/rptGoodsReceived.h"
#include "documents/rptGoodsReceivedNG.h"
#include "documents/rptGoodsReturned.h"
#include "documents/rptGoodsReturnedNG.h"
#include "documents/voucher_layout.h"
#include "platform/value/conversions.h"
#include "platform/value/failure_style.h"
#include "services/control_settings.h"

namespace kvt::documents {
namespace {

constexpr int16_t kVoucherPrinterIndex = 7;

// The title and number caption of the consignment kinds; the others keep
// the layout's.
struct ConsignmentCaptions {
  const char* title;
  const char* number;
};

std::optional<ConsignmentCaptions> CaptionsFor(VoucherKind kind) {
  if (kind == VoucherKind::ConsignmentReceived) {
    return ConsignmentCaptions{"Consignment Received Voucher", "CRV Number:"};
  }
  if (kind == VoucherKind::ConsignmentReturned) {
    return ConsignmentCaptions{"Consignment Returned Voucher", "CRN Number:"};
  }
  return std::nullopt;
}

// A grouped number format with `decimals` decimals when they lie within
// [lowest, highest], with two otherwise.
std::string GroupedFormat(int decimals, int lowest, int highest) {
  if (decimals < lowest || decimals > highest) decimals = 2;
  return decimals == 0 ? "#,##0" : "#,##0." + std::string(static_cast<size_t>(decimals), '0');
}

}  // namespace

std::string VoucherDataCommand(int32_t grv_id) {
  return "Exec sp_AO_Select_GRV_Report_Data " + std::to_string(grv_id);
}

VoucherKind KindOfVoucher(const data::RecordSetRef& print_data) {
  if (!print_data || !print_data->IsOpen() || print_data->IsEOF() || print_data->IsBOF()) {
    return VoucherKind::None;
  }
  VoucherKind kind = VoucherKind::None;
  vb::PassOver([&] {
    const vb::Variant type = print_data->Fields().Item("TranTypeID").Value();
    if (type.IsNull()) return;
    // Compared as the number it reads as, so 19.5 is no kind at all.
    const double code = vb::CDbl(type);
    if (code == 19) {
      kind = VoucherKind::GoodsReceived;
    } else if (code == 20) {
      kind = VoucherKind::GoodsReturned;
    } else if (code == 31) {
      kind = VoucherKind::ConsignmentReceived;
    } else if (code == 32) {
      kind = VoucherKind::ConsignmentReturned;
    }
  });
  return kind;
}

int16_t FormPreferenceIndex(VoucherKind kind) {
  const bool received =
      kind == VoucherKind::GoodsReceived || kind == VoucherKind::ConsignmentReceived;
  return received ? 1 : 2;
}

bool WantsPlainVoucher(const std::string& saved_value) {
  std::optional<double> number;
  // A number written too large to read (overflow) counts as no number.
  vb::PassOver([&] { number = vb::ParseLocaleNumber(saved_value, vb::Locale::Active()); });
  return number.has_value() && std::isfinite(*number) && *number != 1.0;
}

std::unique_ptr<report::Report> NewVoucherLayout(VoucherKind kind, const std::string& saved_value) {
  const bool plain = WantsPlainVoucher(saved_value);
  if (kind == VoucherKind::GoodsReturned) {
    if (plain) return std::make_unique<rptGoodsReturnedNG>();
    return std::make_unique<rptGoodsReturned>();
  }
  if (plain) return std::make_unique<rptGoodsReceivedNG>();
  return std::make_unique<rptGoodsReceived>();
}

std::string QuantityFormat(int qty_decimals) { return GroupedFormat(qty_decimals, 0, 3); }

std::string UnitPriceFormat(int price_decimals) { return GroupedFormat(price_decimals, 2, 4); }

std::unique_ptr<report::Report> PrepareGRVReport(int32_t grv_id, const std::string& database,
                                                 bool reprint, const std::string& connection_text,
                                                 int qty_decimals, int price_decimals,
                                                 services::DataGateway& gateway) {
  data::ConnectionRef connection;
  data::RecordSetRef print_data;
  vb::PassOver([&] { connection = gateway.OpenConnection(connection_text, -1, 3); });
  vb::PassOver([&] {
    int32_t status = 0;
    print_data = gateway.OpenRecordset(VoucherDataCommand(grv_id), 1, 3, 3, connection, status);
  });
  connection.reset();

  services::ControlSettings settings;
  vb::PassOver([&] { settings.Connect(connection_text); });
  const VoucherKind kind = KindOfVoucher(print_data);
  std::string form_preference;
  vb::PassOver([&] {
    form_preference =
        settings.ReadControlValue("CheckBox", "chkPOGRVForm", FormPreferenceIndex(kind), database);
  });
  std::unique_ptr<report::Report> report = NewVoucherLayout(kind, form_preference);
  std::string printer;
  vb::PassOver([&] {
    printer = settings.ReadControlValue("ComboBox", "cboPrinters", kVoucherPrinterIndex, database);
  });

  vb::PassOver([&] { report->Control("RePrintFlag").SetText(reprint ? "Copy" : ""); });
  vb::PassOver([&] { report->Printer().SetDeviceName(printer); });
  vb::PassOver([&] { report->GetDataControl(kVoucherDataControl).SetRecordset(print_data); });
  if (const auto captions = CaptionsFor(kind)) {
    vb::PassOver([&] {
      report->Control("lblRHDocumentType").SetCaption(captions->title);
      report->SetTitle(std::string("Brellix ") + captions->title);
    });
    vb::PassOver([&] { report->Control("lblGRVNo").SetCaption(captions->number); });
  }
  for (const ColumnBinding& binding : kVoucherBindings) {
    vb::PassOver([&] {
      if (binding.column == nullptr) {
        report->Control(binding.field).SetText(std::to_string(report->pageNumber()));
      } else {
        BindColumn(*report, print_data, binding.field, binding.column);
      }
    });
  }
  vb::PassOver(
      [&] { report->Control("fldRDReceivedQty").SetOutputFormat(QuantityFormat(qty_decimals)); });
  vb::PassOver(
      [&] { report->Control("fldRDUnitPrice").SetOutputFormat(UnitPriceFormat(price_decimals)); });
  return report;
}

void PrintGRVReport(int32_t grv_id, [[maybe_unused]] int32_t company_id,
                    const std::string& database, bool reprint, const std::string& connection_text,
                    int qty_decimals, int price_decimals, services::DataGateway& gateway,
                    report::Output& output) {
  vb::PassOver([&] {
    const std::unique_ptr<report::Report> report = PrepareGRVReport(
        grv_id, database, reprint, connection_text, qty_decimals, price_decimals, gateway);
    output.Preview(report->Run(output.Metrics()), report->Printer().DeviceName());
  });
}

void PrintGRVReport(int32_t grv_id, int32_t company_id, const std::string& database, bool reprint,
                    const std::string& connection_text, int qty_decimals, int price_decimals,
                    services::DataGateway& gateway) {
  PrintGRVReport(grv_id, company_id, database, reprint, connection_text, qty_decimals,
                 price_decimals, gateway, report::CurrentOutput());
}

}  // namespace kvt::documents
