// ControlSettings — the values users and companies last left in named
// controls of the suite's screens, saved in the database, and the ordering
// of accounting periods.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data/connection.h"

namespace kvt::services {

class ControlSettings {
 public:
  // Connects to the database of the shared connection text; the text's
  // "User ID" (empty when absent) is the user whose values are read.
  // Raises as DataGateway::OpenConnection does (a missing file is an error).
  void Connect(const std::string& connection_text);

  // The company's saved value of control `control_name`(`control_index`) of
  // kind `control_kind` ("CheckBox"), as text; empty when nothing is saved.
  // Names and kinds are compared without regard to case. Raises 3704 before
  // Connect.
  std::string ReadCompanyControlValue(const std::string& control_kind,
                                      const std::string& control_name, int16_t control_index,
                                      int32_t company_id);

  // The current user's saved value of the control under database name
  // `database`, as text; a value saved for all users (empty user name)
  // answers when the user has none; empty when nothing is saved. Raises 3704
  // before Connect.
  std::string ReadControlValue(const std::string& control_kind, const std::string& control_name,
                               int16_t control_index, const std::string& database);

  // A text whose order, compared as text, is the order of accounting
  // periods, and whose equality is period equality: PeriodKeyOfYear of the
  // month and of the calendar year that the connected database's Years
  // table gives `year_key` (keys are not in the years' order). Raises 3704
  // before Connect, 5 for a month outside 1..12 or a year key the table
  // does not hold (0 included): a period that cannot be placed is an error,
  // never a guess.
  std::string PeriodKey(int32_t month, int32_t year_key);

  // The calendar year in eight digits, then the month in two ("0000202612"
  // for December 2026). Raises 5 for a month outside 1..12 or a year
  // outside 1..99999999.
  static std::string PeriodKeyOfYear(int32_t month, int32_t calendar_year);

 private:
  std::string ReadValue(const std::string& sql, const std::vector<vb::Variant>& parameters);
  data::Connection& Connected();

  data::ConnectionRef connection_;
  std::string user_id_;
};

}  // namespace kvt::services
