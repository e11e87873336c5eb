#include "apps/kvt-host/data_tour.h"

#include <algorithm>
#include <vector>

#include "db/demo_database.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/connection_text.h"
#include "services/control_settings.h"
#include "services/data_gateway.h"
#include "services/number_format_service.h"

namespace kvt::host {

namespace {

std::string Shown(const vb::Variant& value) {
  if (value.IsNull()) return "Null";
  if (value.get_if<vb::Currency>() != nullptr) {
    return services::NumberFormatService().FormatAmount(value, 2, -1, 0, -1);
  }
  std::string text = vb::CStr(value);
  // Formulas may span lines; keep each row on one line.
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

// Prints the record set as a table: column names, then one line per row.
void PrintTable(data::RecordSet& rows, std::ostream& out) {
  const int columns = rows.Fields().Count();
  std::vector<std::vector<std::string>> cells(1);
  for (int c = 0; c < columns; ++c) cells[0].push_back(rows.Item(c).Name());
  for (; !rows.IsEOF(); rows.MoveNext()) {
    cells.emplace_back();
    for (int c = 0; c < columns; ++c) {
      cells.back().push_back(Shown(rows.Item(c).Value()));
    }
  }
  std::vector<size_t> widths(static_cast<size_t>(columns), 0);
  for (const auto& line : cells) {
    for (size_t c = 0; c < line.size(); ++c) {
      widths[c] = std::max(widths[c], line[c].size());
    }
  }
  for (const auto& line : cells) {
    out << " ";
    for (size_t c = 0; c < line.size(); ++c) {
      out << " " << line[c] << std::string(widths[c] - line[c].size(), ' ');
      if (c + 1 < line.size()) out << " |";
    }
    out << "\n";
  }
  out << "  (" << cells.size() - 1 << " rows)\n\n";
}

void ShowQuery(services::DataGateway& gateway,
               const std::string& connection_text, const std::string& title,
               const std::string& command, std::ostream& out) {
  out << title << "\n  " << command << "\n";
  auto connection = gateway.OpenConnection(connection_text, -1, 3);
  int32_t status = 0;
  auto rows = gateway.OpenRecordset(command, 1, 3, 3, connection, status);
  PrintTable(*rows, out);
}

}  // namespace

int RunDataTour(const std::string& connection_text, std::ostream& out) {
  try {
    // A server's text holds a password; say where the database is instead.
    const services::ConnectionText target = services::ParseConnectionText(connection_text);
    if (target.backend == data::Backend::kSQLite) {
      out << "Connection text: " << connection_text << "\n\n";
    } else {
      out << "Database: " << services::DescribeDatabase(target) << "\n\n";
    }

    services::DataGateway gateway;
    ShowQuery(gateway, connection_text,
              "Trade discount formulas of company 1 (lookup list)",
              "sp_AO_Select_Order_Lups 1,1", out);
    ShowQuery(gateway, connection_text, "Tax codes of company 1 (lookup list)",
              "sp_AO_Select_Order_Lups 4,1", out);
    ShowQuery(gateway, connection_text,
              "Outstanding orders of supplier 1 in company 1",
              "Exec sp_AO_GRV_Select_Outstanding_Orders 1,1", out);
    ShowQuery(gateway, connection_text, "Outstanding lines of order 1",
              "Exec sp_AO_GRV_Select_Outstanding_Order_Details 1", out);

    out << "Current accounting period of company 1\n"
        << "  RunProcedure sp_AB_Current_Accounting_Period\n";
    auto connection = gateway.OpenConnection(connection_text, -1, 3);
    vb::Variant company(db::kDemoCompanyID), month, period_name, period_status,
        year_key, year, period_id;
    std::vector<services::ProcedureParameter> parameters = {
        services::ProcedureParameter::In(company),
        services::ProcedureParameter::Out(month),
        services::ProcedureParameter::Out(period_name),
        services::ProcedureParameter::Out(period_status),
        services::ProcedureParameter::Out(year_key),
        services::ProcedureParameter::Out(year),
        services::ProcedureParameter::Out(period_id)};
    int32_t status = 0;
    gateway.RunProcedure("sp_AB_Current_Accounting_Period", connection, 1,
                         parameters, status);
    services::ControlSettings settings;
    settings.Connect(connection_text);
    out << "  month " << Shown(month) << ", year key " << Shown(year_key)
        << ", year " << Shown(year) << ": " << Shown(period_name) << " ("
        << Shown(period_status) << "), period key "
        << settings.PeriodKey(vb::CLng(month), vb::CLng(year_key)) << "\n\n";

    out << "Saved control values\n"
        << "  chkPOGRVForm(0) for " << db::kDemoDatabaseName << ": \""
        << settings.ReadControlValue("CheckBox", "chkPOGRVForm", 0,
                                     db::kDemoDatabaseName)
        << "\"\n"
        << "  chkNonInvoiceGRV(0) of company 1: \""
        << settings.ReadCompanyControlValue("CheckBox", "chkNonInvoiceGRV", 0,
                                            db::kDemoCompanyID)
        << "\"\n";
    return 0;
  } catch (const vb::Error& error) {
    out << "Error " << error.number() << ": " << error.description() << "\n";
    return 1;
  }
}

}  // namespace kvt::host
