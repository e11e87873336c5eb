// Another clerk's desk, in a process of its own: starts on the database as
// kvt-host --gui does (the database checked on a connection of its own,
// then the desk's), sets one order's reference and saves it, and ends.
//   another_desk CONNECTION_TEXT ORDER_ID OUR_REF
#include <cstdlib>
#include <iostream>
#include <string>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/order_store.h"
#include "db/demo_database.h"
#include "platform/value/error.h"
#include "services/connection_text.h"
#include "services/data_gateway.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: another_desk CONNECTION_TEXT ORDER_ID OUR_REF\n";
    return 2;
  }
  using namespace kvt;
  try {
    const std::string text = argv[1];
    const int32_t order_id = std::atoi(argv[2]);
    const services::ConnectionText target = services::ParseConnectionText(text);
    if (target.backend == data::Backend::kSQLite) db::CheckOurDatabase(target.path);
    host::DeskContext desk =
        host::OpenDesk(text, "clerk", db::kDemoCompanyID, db::kDemoDatabaseName);
    host::OrderHeader header = host::ReadOrderHeader(*desk.connection, order_id);
    services::DataGateway gateway;
    int32_t status = 0;
    data::RecordSetRef lines =
        gateway.OpenRecordset("Exec sp_AO_Select_Order_Details " + std::to_string(order_id), 1, 3,
                              3, desk.connection, status);
    const host::SavedLines opened = host::ReadSavedLines(*lines);
    header.our_ref = argv[3];
    host::WriteOrder(*desk.connection, desk.company_id, header, *lines, opened, {}, desk.user_name);
  } catch (const vb::Error& error) {
    std::cerr << "another_desk: " << error.description() << "\n";
    return 1;
  }
  return 0;
}
