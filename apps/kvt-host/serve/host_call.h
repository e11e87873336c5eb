// What the host's sessions need to work for the caller of a request: the
// voucher sessions' context under the caller's own connection.
#pragma once

#include "apps/kvt-host/serve/api_server.h"
#include "apps/kvt-host/sessions/voucher_session.h"

namespace kvt::serve {

// The caller's connection text, the server's company and database name,
// and the company's decimals as saved now.
host::HostContext VoucherContext(Call& call);

}  // namespace kvt::serve
