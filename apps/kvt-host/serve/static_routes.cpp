#include "apps/kvt-host/serve/static_routes.h"

#include "apps/kvt-host/serve/serve_assets.h"

namespace kvt::serve {

const char* OpenApiDocument() { return assets::OpenApiJson(); }

void AddStaticRoutes(ApiServer& server) {
  server.AddStatic("/", "text/html; charset=utf-8", assets::DockHtml());
  server.AddStatic("/dock.css", "text/css; charset=utf-8", assets::DockCss());
  server.AddStatic("/dock.js", "text/javascript; charset=utf-8", assets::DockJs());
  server.AddStatic("/api/openapi.json", "application/json", assets::OpenApiJson());
}

}  // namespace kvt::serve
