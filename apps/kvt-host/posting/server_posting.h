// Posting on a server through its own functions (db/posting_postgres.sql):
// the header and every line go in one call, and the database checks,
// draws and records the movements with set-based statements, so a voucher
// costs the same few round trips however many lines it has. A second,
// short call after the commit gives it its number (with the stock figures
// and the audit row), so that clerks' commits do not queue behind one
// another for the company's series. The functions refuse what the host
// refuses, with the same words.
#pragma once

#include <vector>

#include "apps/kvt-host/posting/consignment_sale.h"
#include "apps/kvt-host/posting/voucher.h"
#include "apps/kvt-host/posting/voucher_lines.h"
#include "platform/data/connection.h"

namespace kvt::posting {

// True when `connection` is a server whose schema has the posting
// functions (a database an earlier build made gets them when its owner
// opens it).
bool ServerPosts(data::Connection& connection);

// The lines as the posting function takes them: a JSON array of objects.
std::string LinesJson(const std::vector<VoucherLine>& lines);

// Posts `voucher` with its `lines` in one call, outside any transaction of
// the connection's. Refuses (kPostingRefused) as PostVoucher does; a lock
// conflict is run again, `attempts` times in all.
PostedVoucher PostOnServer(data::Connection& connection, const Voucher& voucher,
                           const std::vector<VoucherLine>& lines, int attempts);

// The number of posted voucher `voucher_id`, its posting finished first
// if the poster left it unnumbered (it stopped between the two calls).
std::string FinishedVoucherNumber(data::Connection& connection, int32_t voucher_id);

// Numbers every voucher of `company_id` still unnumbered, inside the
// caller's transaction (the host's own statements on a server, which
// number theirs there too), so both ways keep one series.
void FinishCompanyPostings(data::Connection& connection, int32_t company_id);

// Records `sale` in one call; refusals as RecordConsignmentSale's.
void SellOnServer(data::Connection& connection, const ConsignmentSale& sale, int attempts);

}  // namespace kvt::posting
