#include "documents/hostile_sample.h"

#include <string>
#include <vector>

#include "documents/purchase_order_sample.h"
#include "documents/voucher_sample.h"
#include "platform/value/currency.h"
#include "platform/value/date.h"

namespace kvt::documents {
namespace {

// A word of `length` characters without a blank or a hyphen: letters and
// digits, so that a lost character shows.
std::string Word(size_t length, char first = 'A') {
  static const std::string kCycle = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string word;
  size_t at = kCycle.find(first);
  while (word.size() < length) word += kCycle[at++ % kCycle.size()];
  return word;
}

// clang-format off
const std::string kAccented = "\xC3\x86r\xC3\xB8sk\xC3\xB8""bing \xC5\xBD""daj\xC3\xA1r "
                              "\xC3\x91""and\xC3\xBA Z\xC3\xBCrich \xC5\x81\xC3\xB3""d\xC5\xBA "
                              "Cafe\xCC\x81 cr\xC3\xA8me br\xC3\xBBl\xC3\xA9""e";
// Eighteen wide characters (CJK ideographs and kana).
const std::string kWide = "\xE6\x9D\xB1\xE4\xBA\xAC\xE9\x83\xBD\xE5\x8D\x83\xE4\xBB\xA3\xE7"
                          "\x94\xB0\xE5\x8C\xBA\xE4\xB8\xB8\xE3\x81\xAE\xE5\x86\x85\xE4\xB8"
                          "\x80\xE4\xB8\x81\xE7\x9B\xAE\xE8\x9E\xBA\xE6\xA0\x93\xE8\x9E\xBA"
                          "\xE6\xAF\x8D\xE5\x9E\xAB\xE5\x9C\x88";
// clang-format on

// An amount whose whole part has `digits` digits, negative when asked.
vb::Variant Amount(size_t digits, bool negative) {
  std::string text = std::string("123456789012345").substr(0, digits) + ".67";
  if (negative) text.insert(0, "-");
  return vb::Variant(vb::Currency::FromDecimalText(text));
}

// One line of the corpus: `line` from 0.
struct HostileLine {
  size_t digits;
  bool negative;
  std::string code;
  std::string description;
  double quantity;
};

std::vector<HostileLine> Lines() {
  const std::string codes[] = {"PRD-ABCDEFGHIJKLMNOPQR",
                               Word(80, 'K'),
                               Word(200, 'C'),
                               "",
                               "\xC3\x89"
                               "CROU-\xC3\x80-OREILLES",
                               kWide.substr(0, 18)};
  const std::string descriptions[] = {
      Word(80), Word(200, 'D'), kAccented, kWide, "", "Hex bolt " + Word(200, 'H') + " stainless"};
  std::vector<HostileLine> lines;
  for (size_t digits = 1; digits <= 15; ++digits) {
    lines.push_back({digits, false, codes[digits % 6], descriptions[digits % 6], 123456789});
  }
  for (size_t digits : {15, 10, 1}) {
    lines.push_back({digits, true, codes[digits % 6], descriptions[(digits + 1) % 6], -987654321});
  }
  return lines;
}

// The header's values, by column; columns not named here stay empty.
struct HeaderValue {
  const char* column;
  std::string value;
};

std::vector<HeaderValue> Header() {
  return {
      {"Supp Name", Word(200, 'S')},
      {"Supp PostBox", kAccented},
      {"Supp PostOffice", kWide},
      {"Supp PostCode", Word(80, '0')},
      {"Supp TelNo", "011 555 0101 011 555 0102 011 555 0103"},
      {"Supp TaxNo", std::string(80, '4')},
      {"Co Name", Word(80, 'B')},
      {"Co RegNo", "2009/123456/07/2009/123456/07"},
      {"Co Address1", Word(80, 'M')},
      {"Co PostCode", "2001"},
      {"Co TelNo", "011 555 0200"},
      {"Co FaxNo", Word(80, '7')},
      {"Co TaxNo", Word(200, 'T')},
      {"Rep", Word(80, 'R')},
      {"Del Name", kAccented},
      {"Del Addr1", Word(80, 'U')},
      {"Del Addr3", Word(200, 'E')},
      {"Del PostCode", Word(80, '2')},
      {"Supp Ref", Word(200, 'Q')},
      {"Our Ref", Word(80, 'P')},
      {"Order Number", std::string(80, '9')},
      {"GRVID", "GRV" + std::string(80, '1')},
      {"Username", kWide},
      {"Del Note Number", Word(200, 'N')},
      {"DefaultMessage", "Quote " + Word(200, 'O') + " on every invoice. " + kAccented},
      {"Notes", "Counted by " + Word(200, 'W') + ". " + kWide},
  };
}

bool IsMoney(const std::string& column) {
  for (const char* money : {"Unit Price", "Trade Disc", "Rebate Disc", "Other Disc", "Tax Amount",
                            "Net Amount", "SubTotal", "Total Cost"}) {
    if (column == money) return true;
  }
  return false;
}

vb::Variant ValueOf(const std::string& column, const HostileLine& line,
                    const std::vector<HeaderValue>& header, int32_t tran_type) {
  if (IsMoney(column)) return Amount(line.digits, line.negative);
  if (column == "QTY") return vb::Variant(line.quantity);
  if (column == "Product Code") return vb::Variant(line.code);
  if (column == "Product Desc") return vb::Variant(line.description);
  if (column == "TranTypeID") return vb::Variant(tran_type);
  if (column == "Date Ordered" || column == "Date Received") {
    return vb::Variant(vb::Date::FromYmd(2026, 12, 31));
  }
  for (const HeaderValue& value : header) {
    if (column == value.column) return vb::Variant(value.value);
  }
  return {};
}

std::shared_ptr<report::MemoryTable> Fill(const report::MemoryTable& shape, int32_t tran_type) {
  std::vector<std::string> columns;
  for (int index = 0; index < shape.FieldCount(); ++index) {
    columns.push_back(shape.FieldName(index));
  }
  auto table = std::make_shared<report::MemoryTable>(columns);
  const std::vector<HeaderValue> header = Header();
  for (const HostileLine& line : Lines()) {
    std::vector<vb::Variant> row;
    for (const std::string& column : columns) {
      row.push_back(ValueOf(column, line, header, tran_type));
    }
    table->AddRow(std::move(row));
  }
  return table;
}

}  // namespace

std::shared_ptr<report::MemoryTable> HostilePurchaseOrderData() {
  return Fill(*SamplePurchaseOrderData(0), 0);
}

std::shared_ptr<report::MemoryTable> HostileVoucherData(int32_t tran_type) {
  return Fill(*SampleVoucherData(tran_type, 0), tran_type);
}

}  // namespace kvt::documents
