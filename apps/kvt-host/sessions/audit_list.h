// The audit trail as the desk shows it: newest first, a page at a time
// read from the database (the trail only grows, so it is never read
// whole), under the user, dates and document the user chose.
// Toolkit-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/sessions/grid_table.h"
#include "platform/data/connection.h"
#include "platform/value/date.h"

namespace kvt::host {

// The filters as the user typed them; empty fields take everything.
struct AuditSearch {
  std::string user;
  std::string document;  // "PO000111", "GRV000208", or as recorded: "order PO000111"
  std::string from;      // a date as the user writes one: "2026-11-02", "02/11/2026"
  std::string to;
};

// The day `typed` names as a user writes one ("2026-11-02", "02/11/2026"
// under the active locale); none for a blank text. Raises 5 (Invalid
// procedure call) saying how to write the `which` ("first", "last") date
// when it is no date.
std::optional<vb::Date> TypedDay(const std::string& typed, const char* which);

// The document text the trail records for what the user typed: a bare
// order number is "order PO...", any other bare number a voucher's; text
// naming its kind ("user dana") is kept as typed.
std::string AuditDocument(const std::string& typed);

// The trail's filter for `search`, or raises 5 (Invalid procedure call)
// with the reason in words: a date that is no date, or a range that ends
// before it begins.
access::AuditFilter AuditFilterOf(const AuditSearch& search);

class AuditList {
 public:
  // The columns: When, User, Machine, Action, Document, Details.
  static constexpr int kDocumentColumn = 4;
  static constexpr int kDetailsColumn = 5;

  explicit AuditList(data::Connection& connection, int32_t page_size = 200)
      : connection_(connection), page_size_(page_size) {}

  // Reads the newest page under `search`; raises as AuditFilterOf and the
  // connection do, and then keeps what was shown.
  void Search(const AuditSearch& search);
  // Appends the next older page, when there is one.
  void More();
  // True when rows older than the last shown remain.
  bool HasMore() const { return has_more_; }
  const GridTable& Table() const { return table_; }

 private:
  void ReadPage();

  data::Connection& connection_;
  int32_t page_size_;
  access::AuditFilter filter_;
  GridTable table_;
  int32_t oldest_id_ = 0;
  bool has_more_ = false;
};

}  // namespace kvt::host
