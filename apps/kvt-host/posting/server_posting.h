// Posting on a server through its own functions (db/posting_postgres.sql):
// the header and every line go in one call, and the database checks,
// draws, moves the stock, numbers and audits with set-based statements,
// so a voucher costs the same few round trips however many lines it has.
// The functions refuse what the host refuses, with the same words.
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

// Records `sale` in one call; refusals as RecordConsignmentSale's.
void SellOnServer(data::Connection& connection, const ConsignmentSale& sale, int attempts);

}  // namespace kvt::posting
