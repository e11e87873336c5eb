#include "apps/kvt-host/posting/post_voucher.h"

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/access/audit_text.h"
#include "apps/kvt-host/access/user_access.h"
#include "platform/data/data_errors.h"

#include <random>
#include <vector>

#include "apps/kvt-host/posting/refusal.h"
#include "apps/kvt-host/posting/server_posting.h"
#include "apps/kvt-host/posting/source_lines.h"
#include "apps/kvt-host/posting/stock_movements.h"
#include "apps/kvt-host/posting/voucher_kind.h"
#include "apps/kvt-host/posting/voucher_lines.h"
#include "apps/kvt-host/posting/write_transaction.h"
#include "platform/value/conversions.h"
#include "platform/value/number_text.h"

namespace kvt::posting {

namespace {

vb::Variant TextOrNull(const std::string& text) {
  if (text.find_first_not_of(' ') == std::string::npos) {
    return vb::Variant::Null();
  }
  return vb::Variant(text);
}

vb::Variant KeyOrNull(int32_t key) { return key == 0 ? vb::Variant::Null() : vb::Variant(key); }

// The checks that need no database, made before the transaction starts.
const VoucherKind& CheckHeader(const Voucher& voucher) {
  const VoucherKind* kind = FindVoucherKind(voucher.tran_type);
  if (kind == nullptr) {
    Refuse("Transaction type " + std::to_string(voucher.tran_type) +
           " is not a voucher the host posts.");
  }
  if (voucher.company_id <= 0 || voucher.supplier_id <= 0) {
    Refuse("The voucher has no company or no supplier.");
  }
  if (!kind->IsReturn() && voucher.purchase_order_id <= 0) {
    Refuse("A received voucher needs the purchase order it receives.");
  }
  if (kind->IsReturn() && voucher.source_voucher_id <= 0) {
    Refuse("A returned voucher needs the received voucher it returns.");
  }
  if (voucher.period_month < 1 || voucher.period_month > 12 || voucher.period_year_key <= 0) {
    Refuse("The voucher has no accounting period.");
  }
  if (voucher.create_supplier_document && TextOrNull(voucher.supplier_document_number).IsNull()) {
    Refuse("The supplier's document needs a number.");
  }
  if (!voucher.lines) Refuse("The voucher has no lines.");
  return *kind;
}

// What the voucher draws on, as the database holds it.
struct Source {
  int32_t owner_id = 0;  // the order, or the received voucher
  std::string owner_label;
  vb::Variant order_id;  // the order the voucher belongs to
  vb::Variant our_ref;
};

Source ReadSource(data::Connection& connection, const Voucher& voucher, const VoucherKind& kind) {
  Source source;
  if (!kind.IsReturn()) {
    source.owner_id = voucher.purchase_order_id;
    auto order =
        connection.Query(std::string("SELECT OrderNumber, OurRef FROM PurchaseOrders"
                                     " WHERE ID = ?1 AND SupplierID = ?2 AND CompanyID = ?3"
                                     " AND Status = 1") +
                             RowLock(connection),
                         {vb::Variant(source.owner_id), vb::Variant(voucher.supplier_id),
                          vb::Variant(voucher.company_id)});
    if (order->IsEOF()) {
      Refuse("Order " + std::to_string(source.owner_id) +
             " is not an open order of the voucher's supplier.");
    }
    source.owner_label = "order " + vb::CStr(order->Item(0).Value());
    source.order_id = vb::Variant(source.owner_id);
    source.our_ref = order->Item(1).Value();
    return source;
  }
  source.owner_id = voucher.source_voucher_id;
  auto received =
      connection.Query(std::string("SELECT VoucherNumber, OurRef, PurchaseOrderID FROM GRVs"
                                   " WHERE ID = ?1 AND SupplierID = ?2 AND CompanyID = ?3"
                                   " AND TranTypeID = ?4") +
                           RowLock(connection),
                       {vb::Variant(source.owner_id), vb::Variant(voucher.supplier_id),
                        vb::Variant(voucher.company_id), vb::Variant(kind.source_type)});
  if (received->IsEOF()) {
    Refuse("Voucher " + std::to_string(source.owner_id) +
           " is not a voucher of the voucher's supplier to return against.");
  }
  source.owner_label = "voucher " + vb::CStr(received->Item(0).Value());
  source.our_ref = received->Item(1).Value();
  source.order_id = received->Item(2).Value();
  return source;
}

// A number for the voucher until it takes its own, unique so that postings
// at once do not wait for each other on the unique index, and outside
// every series ("~" sorts after the letters).
std::string ProvisionalNumber() {
  thread_local std::mt19937_64 random{std::random_device{}()};
  return "~" + std::to_string(random());
}

std::string NextNumber(data::Connection& connection, int32_t company_id, const VoucherKind& kind) {
  auto last =
      connection.Query(kLastVoucherNumberSql,
                       {vb::Variant(company_id), vb::Variant(std::string(kind.number_prefix))});
  return NextVoucherNumber(kind.number_prefix,
                           last->IsEOF() ? "" : vb::CStr(last->Item(0).Value()));
}

int32_t InsertedId(const data::RecordSetRef& returned) {
  return vb::CLng(returned->Item(0).Value());
}

// Numbers the voucher as the last step of its posting: the company's row
// stays locked (on a server; SQLite's write lock does it there) until the
// posting commits, so postings of one company take their numbers one after
// the other, without gaps, and a posting that fails gives its number back.
// Taken last, the lock is held for the numbering and the commit only. A
// server with the posting functions numbers it as it numbers theirs.
std::string TakeNumber(data::Connection& connection, int32_t company_id, const VoucherKind& kind,
                       int32_t voucher_id, bool server_posts) {
  if (server_posts) {
    FinishCompanyPostings(connection, company_id);
    return vb::CStr(
        connection.Query("SELECT VoucherNumber FROM GRVs WHERE ID = ?1", {vb::Variant(voucher_id)})
            ->Item(0)
            .Value());
  }
  connection.Query(std::string("SELECT ID FROM Companies WHERE ID = ?1") + RowLock(connection),
                   {vb::Variant(company_id)});
  std::string number = NextNumber(connection, company_id, kind);
  connection.Execute("UPDATE GRVs SET VoucherNumber = ?1 WHERE ID = ?2",
                     {vb::Variant(number), vb::Variant(voucher_id)});
  return number;
}

int32_t InsertHeader(data::Connection& connection, const Voucher& voucher, const Source& source,
                     const std::string& number) {
  const bool document = voucher.create_supplier_document;
  return InsertedId(connection.Query(
      "INSERT INTO GRVs (CompanyID, SupplierID, TranTypeID, VoucherNumber, "
      "PurchaseOrderID, SourceGRVID, DateReceived, DelNoteNumber, OurRef, "
      "SuppRef, UserID, Notes, SupplierDocNo, SupplierDocDate, "
      "AccPeriodMonth, AccPeriodYearID) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, "
      "?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16) RETURNING ID",
      {vb::Variant(voucher.company_id), vb::Variant(voucher.supplier_id),
       vb::Variant(voucher.tran_type), vb::Variant(number), source.order_id,
       KeyOrNull(voucher.source_voucher_id), vb::Variant(voucher.date),
       TextOrNull(voucher.del_note_number),
       voucher.our_ref.empty() ? source.our_ref : vb::Variant(voucher.our_ref),
       TextOrNull(voucher.supplier_ref), KeyOrNull(voucher.user_id), TextOrNull(voucher.notes),
       document ? vb::Variant(voucher.supplier_document_number) : vb::Variant::Null(),
       document ? vb::Variant(voucher.supplier_document_date) : vb::Variant::Null(),
       vb::Variant(voucher.period_month), vb::Variant(voucher.period_year_key)}));
}

void InsertLine(data::Connection& connection, int32_t voucher_id, const VoucherKind& kind,
                const VoucherLine& line) {
  // The product is the drawn-on line's own; a row's "ProductsID" was
  // checked against it by the draw.
  const std::string product = kind.IsReturn()
                                  ? "(SELECT ProductID FROM GRVDetails WHERE ID = ?2)"
                                  : "(SELECT ProductID FROM PurchaseOrderDetails WHERE ID = ?2)";
  const bool consignment_receipt = kind.consignment && !kind.IsReturn();
  connection.Execute(
      "INSERT INTO GRVDetails (GRVID, SourceLineID, ProductID, Qty, "
      "UnitPrice, TradeDisc, RebateDisc, OtherDisc, NetAmount, TaxCodesID, "
      "TaxAmount, TotalCost, QtyReturned, QtySold, QtyLeft) VALUES (?1, ?2, " +
          product + ", ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, 0, 0, ?12)",
      {vb::Variant(voucher_id), vb::Variant(line.source_line_id), vb::Variant(line.qty),
       vb::Variant(line.unit_price), vb::Variant(line.trade_disc), vb::Variant(line.rebate_disc),
       vb::Variant(line.other_disc), vb::Variant(line.net_amount), KeyOrNull(line.tax_code_id),
       vb::Variant(line.tax_amount), vb::Variant(line.total_cost),
       consignment_receipt ? vb::Variant(line.qty) : vb::Variant::Null()});
}

// A supplier's document number is booked once per kind: the supplier's row
// stays locked until the posting commits (after the products, before the
// company), so two clerks with the same number are checked one after the
// other; a unique index in the schema stands behind it.
void RefuseBookedNumber(data::Connection& connection, const Voucher& voucher,
                        const VoucherKind& kind) {
  connection.Query(std::string("SELECT ID FROM Suppliers WHERE ID = ?1") + RowLock(connection),
                   {vb::Variant(voucher.supplier_id)});
  auto booked = connection.Query(
      "SELECT g.VoucherNumber FROM SupplierDocuments sd JOIN GRVs g ON g.ID = sd.GRVID "
      "WHERE sd.SupplierID = ?1 AND sd.DocType = ?2 AND sd.DocNumber = ?3",
      {vb::Variant(voucher.supplier_id), vb::Variant(kind.supplier_document),
       vb::Variant(voucher.supplier_document_number)});
  if (!booked->IsEOF()) {
    Refuse(std::string(kind.supplier_document) + " " + voucher.supplier_document_number +
           " of this supplier is already booked on voucher " + vb::CStr(booked->Item(0).Value()) +
           "; it cannot be booked twice.");
  }
}

int32_t InsertSupplierDocument(data::Connection& connection, const Voucher& voucher,
                               const VoucherKind& kind, int32_t voucher_id, vb::Currency total) {
  RefuseBookedNumber(connection, voucher, kind);
  return InsertedId(connection.Query(
      "INSERT INTO SupplierDocuments (CompanyID, SupplierID, GRVID, DocType, "
      "DocNumber, DocDate, Amount, AccPeriodMonth, AccPeriodYearID) VALUES "
      "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) RETURNING ID",
      {vb::Variant(voucher.company_id), vb::Variant(voucher.supplier_id), vb::Variant(voucher_id),
       vb::Variant(kind.supplier_document), vb::Variant(voucher.supplier_document_number),
       vb::Variant(voucher.supplier_document_date), vb::Variant(total),
       vb::Variant(voucher.period_month), vb::Variant(voucher.period_year_key)}));
}

// How the audit trail names a voucher: "voucher GRV000208", or by its
// kind before it has a number.
std::string VoucherDocument(const VoucherKind& kind, const std::string& number) {
  return "voucher " + (number.empty() ? std::string(kind.number_prefix) + " (new)" : number);
}

// "3 lines, total 1,030.40, to November 2026, supplier document INV-1".
std::string PostingDetails(data::Connection& connection, const Voucher& voucher, size_t line_count,
                           const PostedVoucher& posted) {
  return std::to_string(line_count) + (line_count == 1 ? " line" : " lines") + ", total " +
         vb::TwoDecimalText(posted.total) + ", to " +
         access::PeriodName(connection, voucher.period_month, voucher.period_year_key) +
         (posted.supplier_document_id != 0
              ? ", supplier document " + voucher.supplier_document_number
              : "");
}

Draw DrawOf(const VoucherKind& kind) {
  if (!kind.IsReturn()) return Draw::kReceive;
  return kind.consignment ? Draw::kReturnConsignment : Draw::kReturnReceived;
}

}  // namespace

PostedVoucher PostVoucher(data::Connection& connection, const Voucher& voucher, int attempts,
                          PostingRoute route) try {
  const VoucherKind& kind = CheckHeader(voucher);
  const std::vector<VoucherLine> lines = ReadVoucherLines(*voucher.lines);
  if (lines.empty()) Refuse("The voucher has no lines.");
  const access::UserAccess access =
      access::RequirePosting(connection, voucher.company_id, voucher.period_month,
                             voucher.period_year_key, VoucherDocument(kind, ""));
  const bool server_posts = ServerPosts(connection);
  if (route == PostingRoute::kServerFunction && server_posts) {
    return PostOnServer(connection, voucher, lines, attempts);
  }
  PostedVoucher posted;
  posted.total = VoucherTotal(lines);
  RunInWriteTransaction(
      connection,
      [&] {
        const Source source = ReadSource(connection, voucher, kind);
        posted.voucher_id = InsertHeader(connection, voucher, source, ProvisionalNumber());
        for (size_t i = 0; i < lines.size(); ++i) {
          const VoucherLine& line = lines[i];
          DrawOnLine(connection, DrawOf(kind),
                     {line.source_line_id, source.owner_id, line.product_id, line.qty,
                      "Line " + std::to_string(i + 1), source.owner_label});
          InsertLine(connection, posted.voucher_id, kind, line);
        }
        MoveVoucherStock(connection, posted.voucher_id, kind);
        posted.supplier_document_id =
            voucher.create_supplier_document
                ? InsertSupplierDocument(connection, voucher, kind, posted.voucher_id, posted.total)
                : 0;
        posted.voucher_number =
            TakeNumber(connection, voucher.company_id, kind, posted.voucher_id, server_posts);
        access::Audit(
            connection, access.User(),
            {voucher.company_id, "voucher posted", VoucherDocument(kind, posted.voucher_number),
             PostingDetails(connection, voucher, lines.size(), posted)});
      },
      attempts);
  return posted;
} catch (const data::PermissionDenied& denied) {
  // The database's own check, where the host's was passed by.
  access::RaiseRefusal(connection, access::UserAccess::Of(connection).User(), denied,
                       {voucher.company_id, "voucher posted", "voucher (new)", ""});
}

}  // namespace kvt::posting
