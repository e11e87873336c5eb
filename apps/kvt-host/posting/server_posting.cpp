#include "apps/kvt-host/posting/server_posting.h"

#include <cmath>
#include <string>

#include "apps/kvt-host/posting/refusal.h"
#include "apps/kvt-host/posting/write_transaction.h"
#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "platform/value/number_text.h"

namespace kvt::posting {

namespace {

// A quantity as JSON: a number, or the server's name for one that is not
// finite (the function refuses it with the host's words).
std::string QtyJson(double qty) {
  if (std::isnan(qty)) return "\"NaN\"";
  if (std::isinf(qty)) return qty > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  return vb::PlainText(qty);
}

// Runs `call`; a refusal of the function becomes the host's refusal.
template <class Call>
void Refused(Call&& call) {
  try {
    call();
  } catch (const data::RuleRefusal& refusal) {
    Refuse(refusal.description());
  }
}

vb::Variant Key(int32_t key) { return vb::Variant(key); }

}  // namespace

bool ServerPosts(data::Connection& connection) {
  if (connection.GetBackend() != data::Backend::kPostgreSQL) return false;
  // Once found, the function stays for the connection's life: a round trip
  // per posting otherwise. Not found is asked again, as the owner's opening
  // of the database may add it.
  constexpr char kKey[] = "posting: the server posts";
  if (connection.Memo().count(kKey) != 0) return true;
  const bool posts =
      !connection
           .Query(
               "SELECT 1 FROM pg_proc WHERE pronamespace = current_schema()::regnamespace "
               "AND proname = 'kvt_post_voucher'")
           ->IsEOF();
  if (posts) connection.Memo()[kKey] = true;
  return posts;
}

std::string LinesJson(const std::vector<VoucherLine>& lines) {
  std::string json = "[";
  for (const VoucherLine& line : lines) {
    if (json.size() > 1) json += ",";
    json += "{\"source_line\":" + std::to_string(line.source_line_id) +
            ",\"product\":" + std::to_string(line.product_id) + ",\"qty\":" + QtyJson(line.qty) +
            ",\"unit_price\":" + line.unit_price.ToDecimalText() +
            ",\"trade_disc\":" + line.trade_disc.ToDecimalText() +
            ",\"rebate_disc\":" + line.rebate_disc.ToDecimalText() +
            ",\"other_disc\":" + line.other_disc.ToDecimalText() +
            ",\"net_amount\":" + line.net_amount.ToDecimalText() +
            ",\"tax_code\":" + std::to_string(line.tax_code_id) +
            ",\"tax_amount\":" + line.tax_amount.ToDecimalText() +
            ",\"total_cost\":" + line.total_cost.ToDecimalText() + "}";
  }
  return json + "]";
}

PostedVoucher PostOnServer(data::Connection& connection, const Voucher& voucher,
                           const std::vector<VoucherLine>& lines, int attempts) {
  const std::vector<vb::Variant> parameters = {Key(voucher.tran_type),
                                               Key(voucher.company_id),
                                               Key(voucher.supplier_id),
                                               Key(voucher.purchase_order_id),
                                               Key(voucher.source_voucher_id),
                                               vb::Variant(voucher.date),
                                               vb::Variant(voucher.del_note_number),
                                               vb::Variant(voucher.supplier_ref),
                                               vb::Variant(voucher.our_ref),
                                               vb::Variant(voucher.notes),
                                               Key(voucher.user_id),
                                               Key(voucher.period_month),
                                               Key(voucher.period_year_key),
                                               vb::Variant(voucher.create_supplier_document),
                                               vb::Variant(voucher.supplier_document_number),
                                               vb::Variant(voucher.supplier_document_date),
                                               vb::Variant(LinesJson(lines))};
  PostedVoucher posted;
  Refused([&] {
    RunRetryingConflicts(
        [&] {
          const data::RecordSetRef row = connection.Query(
              "SELECT posted_id, posted_number, document_id FROM kvt_post_voucher(?1, ?2, ?3, "
              "?4, ?5, ?6::date, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16::date, ?17::jsonb)",
              parameters);
          posted.voucher_id = vb::CLng(row->Item(0).Value());
          posted.supplier_document_id = vb::CLng(row->Item(2).Value());
        },
        attempts);
    RunRetryingConflicts(
        [&] { posted.voucher_number = FinishedVoucherNumber(connection, posted.voucher_id); },
        attempts);
  });
  posted.total = VoucherTotal(lines);
  return posted;
}

std::string FinishedVoucherNumber(data::Connection& connection, int32_t voucher_id) {
  return vb::CStr(
      connection.Query("SELECT kvt_voucher_number(?1)", {Key(voucher_id)})->Item(0).Value());
}

void FinishCompanyPostings(data::Connection& connection, int32_t company_id) {
  connection.Query("SELECT kvt_finish_postings(?1)", {Key(company_id)});
}

void SellOnServer(data::Connection& connection, const ConsignmentSale& sale, int attempts) {
  Refused([&] {
    RunRetryingConflicts(
        [&] {
          connection.Query("SELECT kvt_sell_consignment(?1, ?2, ?3, ?4::date, ?5)",
                           {Key(sale.company_id), Key(sale.consignment_line_id),
                            vb::Variant(sale.qty), vb::Variant(sale.date), Key(sale.user_id)});
        },
        attempts);
  });
}

}  // namespace kvt::posting
