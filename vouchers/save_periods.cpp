#include "vouchers/save_periods.h"

#include <vector>

#include "component/mod_publics.h"
#include "platform/value/conversions.h"
#include "services/control_settings.h"
#include "services/data_gateway.h"

namespace kvt::vouchers {
namespace {

using services::ProcedureParameter;

void Run(const char* procedure, std::vector<ProcedureParameter> parameters) {
  component::Store& store = component::ThreadStore();
  services::DataGateway& gateway = store.DataGateway();
  data::ConnectionRef connection = gateway.OpenConnection(store.settings.connection_string, -1, 3);
  int32_t status = 0;
  gateway.RunProcedure(procedure, connection, 1, parameters, status);
}

}  // namespace

void ReadCurrentPeriod(int32_t company_id, CurrentPeriod& period) {
  vb::Variant company = company_id;
  Run("sp_AB_Current_Accounting_Period",
      {ProcedureParameter::In(company), ProcedureParameter::Out(period.month),
       ProcedureParameter::Out(period.name), ProcedureParameter::Out(period.status),
       ProcedureParameter::Out(period.year_key), ProcedureParameter::Out(period.year),
       ProcedureParameter::Out(period.period_id)});
}

void ReadYearKey(int32_t year, vb::Variant& year_key) {
  vb::Variant calendar_year = year;
  Run("sp_AW_Select_YearID_From_Year",
      {ProcedureParameter::In(calendar_year), ProcedureParameter::Out(year_key)});
}

void ReadLastSupplierProcedure(int32_t company_id, vb::Variant& month, vb::Variant& year_key) {
  // 6 names the supplier period procedure among the period procedures.
  vb::Variant kind = 6;
  vb::Variant company = company_id;
  Run("sp_AW_Get_Last_Period_Procedure_Period",
      {ProcedureParameter::In(kind), ProcedureParameter::In(company),
       ProcedureParameter::Out(month), ProcedureParameter::Out(year_key)});
}

std::string PeriodKeyOf(const vb::Variant& month, const vb::Variant& year_key) {
  services::ControlSettings& settings = component::ThreadStore().ControlSettings();
  return settings.PeriodKey(vb::CLng(month), vb::CLng(year_key));
}

}  // namespace kvt::vouchers
