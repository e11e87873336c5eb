// A small purchasing database for the printing tests: the print-data
// procedure over a table of order lines, and saved control values.
#pragma once

#include <cstdint>
#include <string>

#include "platform/report/data_source.h"

namespace kvt::documents::testing {

class PurchaseOrderDb {
 public:
  static constexpr int32_t kOrderId = 1234;
  static constexpr const char* kDatabase = "KvtTest";

  // Creates a fresh database file under the temp folder.
  PurchaseOrderDb();
  ~PurchaseOrderDb();

  // Stores the rows of `data` as order kOrderId's lines; once per database.
  void AddOrder(report::MemoryTable& data);
  // Saves the user's value of a control ("CheckBox", "chkPOGRVForm", 0),
  // replacing an earlier one; nullptr forgets it.
  void SaveControlValue(const std::string& kind, const std::string& name,
                        int index, const char* value);
  // Makes the print-data procedure leave out `column`.
  void DropColumnFromProcedure(const std::string& column);

  const std::string& Path() const { return path_; }
  std::string ConnectionText() const;

 private:
  void WriteProcedure();

  std::string path_;
  std::vector<std::string> columns_;
};

}  // namespace kvt::documents::testing
