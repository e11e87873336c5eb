#include "apps/kvt-host/sessions/order_ending.h"

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/access/user_access.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::host {
namespace {

constexpr char kSource[] = "kvt-host";

int32_t CompanyOf(data::Connection& connection, int32_t order_id) {
  const data::RecordSetRef order =
      connection.Query("SELECT CompanyID FROM PurchaseOrders WHERE ID = ?1", {order_id});
  return order->IsEOF() ? 0 : vb::CLng(order->Item(0).Value());
}

}  // namespace

OrderProgress ProgressOf(int32_t status, int32_t lines_to_come, int32_t lines_with_receipts) {
  switch (status) {
    case kOrderPending: return OrderProgress::kPending;
    case kOrderClosed: return OrderProgress::kClosed;
    case kOrderCancelled: return OrderProgress::kCancelled;
    default: break;
  }
  if (lines_with_receipts == 0) return OrderProgress::kOpen;
  return lines_to_come > 0 ? OrderProgress::kPartReceived : OrderProgress::kReceived;
}

std::string ProgressText(OrderProgress progress) {
  switch (progress) {
    case OrderProgress::kPending: return "Pending";
    case OrderProgress::kOpen: return "Open";
    case OrderProgress::kPartReceived: return "Part received";
    case OrderProgress::kReceived: return "Received";
    case OrderProgress::kClosed: return "Closed";
    case OrderProgress::kCancelled: return "Cancelled";
  }
  return {};
}

std::string EndRefusal(const std::string& order_number, int32_t status, double received,
                       OrderEnd end) {
  if (status == kOrderClosed) return order_number + " is already closed.";
  if (status == kOrderCancelled) return order_number + " is already cancelled.";
  if (end == OrderEnd::kCancel) {
    return received > 0 ? "Goods were received against " + order_number +
                              ": it cannot be cancelled. Close it instead, so that what is "
                              "still to come is no longer expected."
                        : std::string();
  }
  return status == kOrderPending ? order_number +
                                       " is pending: nothing is expected yet, so there is nothing "
                                       "to close. Cancel it instead."
                                 : std::string();
}

void EndOrder(data::Connection& connection, OrderHeader& header, OrderEnd end,
              const std::string& user_name) {
  OrderHeader ended = header;
  const bool closing = end == OrderEnd::kClose;
  const std::string document = "order " + header.order_number;
  const int32_t company_id = CompanyOf(connection, header.order_id);
  const access::UserAccess user = access::UserAccess::Of(connection);
  user.Require(connection, closing ? access::Action::kCloseOrder : access::Action::kCancelOrder,
               document, company_id);
  const access::AuditEntry entry = {company_id, closing ? "order closed" : "order cancelled",
                                    document, ""};
  access::RunAudited(connection, user.User(), entry, [&] {
    connection.RunInTransaction(
        [&] {
          const data::RecordSetRef saved = connection.Query(
              "SELECT Status, RowVersion, (SELECT COALESCE(SUM(d.QtyReceived), 0) FROM "
              "PurchaseOrderDetails d WHERE d.PurchaseOrderID = po.ID) FROM PurchaseOrders po "
              "WHERE po.ID = ?1",
              {ended.order_id});
          if (saved->IsEOF() || vb::CLng(saved->Item(1).Value()) != ended.row_version) {
            throw vb::Error(kOrderChangedElsewhere, kSource, ChangeRefusal(connection, ended));
          }
          const std::string refusal =
              EndRefusal(ended.order_number, vb::CLng(saved->Item(0).Value()),
                         vb::CDbl(saved->Item(2).Value()), end);
          if (!refusal.empty()) throw vb::Error(vb::err::kInvalidCall, kSource, refusal);
          ended.status = end == OrderEnd::kClose ? kOrderClosed : kOrderCancelled;
          connection.Execute(
              "UPDATE PurchaseOrders SET Status = ?1, EndedBy = ?2, EndedAt = ?3, ChangedBy = ?2, "
              "ChangedAt = ?3, RowVersion = RowVersion + 1 WHERE ID = ?4",
              {ended.status, user_name.empty() ? vb::Variant::Null() : vb::Variant(user_name),
               vb::Date::Now(), ended.order_id});
          ++ended.row_version;
          access::AuditEntry done = entry;
          done.details = ProgressText(ProgressOf(vb::CLng(saved->Item(0).Value()), 1,
                                                 vb::CDbl(saved->Item(2).Value()) > 0 ? 1 : 0)) +
                         " -> " + ProgressText(ProgressOf(ended.status, 0, 0));
          access::Audit(connection, user.User(), done);
        },
        data::Connection::TransactionLock::kWrite);
  });
  header = ended;
}

}  // namespace kvt::host
