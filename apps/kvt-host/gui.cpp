#include "apps/kvt-host/gui.h"

#include <QApplication>
#include <memory>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/desk/desk_output.h"
#include "apps/kvt-host/desk/login_dialog.h"
#include "apps/kvt-host/desk/main_window.h"
#include "db/demo_database.h"
#include "frontends/qt/ui/qt_driver.h"
#include "platform/report/output.h"
#include "platform/value/error.h"
#include "services/connection_text.h"

namespace kvt::host {

int RunGui(int argc, char** argv, const std::string& connection_text, const std::string& user_name,
           const std::function<int(const std::string&)>& after_login) {
  QApplication app(argc, argv);
  ui::ScopedDriver driver(std::make_shared<qt::QtDriver>());
  auto output = std::make_shared<DeskOutput>();
  report::ScopedOutput installed(output);

  std::string text = connection_text;
  std::string user = user_name;
  if (after_login) {
    const std::optional<std::string> logged_in = AskDeskLogin(connection_text, user);
    if (!logged_in) throw vb::Error(vb::err::kInvalidCall, "kvt-host", "Nobody logged in.");
    text = *logged_in;
    if (const int status = after_login(text); status != 0) return status;
  }
  // Every screen of the desk runs on this thread: they share a few
  // connections for as long as the window is open instead of logging in
  // again for each list they read. Not before the checks above, which may
  // need the database to themselves.
  services::ScopedConnectionReuse reuse;
  const DeskContext desk = OpenDesk(text, user, db::kDemoCompanyID, db::kDemoDatabaseName);
  MainWindow window(desk, *output);
  output->SetWindow(&window);
  window.show();
  return app.exec();
}

}  // namespace kvt::host
