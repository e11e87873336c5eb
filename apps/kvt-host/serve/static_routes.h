// What the server hands out without a login: the dock page (its HTML,
// style sheet and script, built into the program) and the API document.
#pragma once

#include "apps/kvt-host/serve/api_server.h"

namespace kvt::serve {

void AddStaticRoutes(ApiServer& server);

// The API document as served at /api/openapi.json.
const char* OpenApiDocument();

}  // namespace kvt::serve
