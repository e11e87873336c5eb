// A small purchasing database for the printing tests: the print-data
// procedure over a table of order lines, and saved control values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/report/data_source.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::documents::testing {

class PurchaseOrderDb {
 public:
  static constexpr int32_t kOrderId = 1234;
  static constexpr const char* kDatabase = "KvtTest";

  // Creates a fresh database of `backend` with the schema and procedures.
  explicit PurchaseOrderDb(data::Backend backend = data::Backend::kSQLite);

  // Stores the rows of `data` as order kOrderId's lines; once per database.
  void AddOrder(report::MemoryTable& data);
  // Saves the user's value of a control ("CheckBox", "chkPOGRVForm", 0),
  // replacing an earlier one; nullptr forgets it.
  void SaveControlValue(const std::string& kind, const std::string& name, int index,
                        const char* value) {
    db_.SaveControlValue(kDatabase, "tester", kind, name, index, value);
  }
  // The connection text of user "tester".
  std::string ConnectionText() const { return connection_text_; }

 private:
  void WriteProcedure();

  test_support::TempDemoDatabase db_;
  std::string connection_text_;
  // Column names and their types as the shared dialect declares them.
  std::vector<std::pair<std::string, std::string>> columns_;
};

}  // namespace kvt::documents::testing
