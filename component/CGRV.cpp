#include "kvt/CGRV.h"

#include "component/call_kind.h"
#include "component/mod_publics.h"
#include "component/published_members.h"
#include "platform/object/member_table.h"
#include "platform/value/conversions.h"

namespace kvt {

namespace {

using component::ThreadStore;
using component::ToInvokeKind;
using Table = object::MemberTable<CGRV>;

void SettingProperty(Table& table, std::string_view name,
                     void (CGRV::*let)(int32_t)) {
  table.Let(name, [let](CGRV& self, object::Args args) {
    (self.*let)(vb::CLng(args.back()));
  });
}

const Table& Members() {
  static const Table kTable = [] {
    Table table("CGRV", component::CGRVPublishedMembers());
    table.Let("ConnectionString", [](CGRV& self, object::Args args) {
      self.ConnectionString(vb::CStr(args.back()));
    });
    SettingProperty(table, "CompanyID", &CGRV::CompanyID);
    SettingProperty(table, "QtyDecimals", &CGRV::QtyDecimals);
    SettingProperty(table, "PriceDecimals", &CGRV::PriceDecimals);
    table.Get("mbIsCRN", [](CGRV& self, object::Args) -> vb::Variant {
      return self.mbIsCRN();
    });
    table.Let("mbIsCRN", [](CGRV& self, object::Args args) {
      self.mbIsCRN(vb::CBool(args.back()));
    });
    return table;
  }();
  return kTable;
}

}  // namespace

struct CGRV::Impl {
  bool is_crn = false;
};

CGRV::CGRV() : impl_(std::make_unique<Impl>()) { ThreadStore(); }
CGRV::~CGRV() = default;
CGRV::CGRV(CGRV&&) noexcept = default;
CGRV& CGRV::operator=(CGRV&&) noexcept = default;

void CGRV::ConnectionString(const std::string& value) {
  ThreadStore().settings.connection_string = value;
}
void CGRV::CompanyID(int32_t value) { ThreadStore().settings.company_id = value; }
void CGRV::QtyDecimals(int32_t value) {
  ThreadStore().settings.qty_decimals = value;
}
void CGRV::PriceDecimals(int32_t value) {
  ThreadStore().settings.price_decimals = value;
}

bool CGRV::mbIsCRN() const { return impl_->is_crn; }
void CGRV::mbIsCRN(bool value) { impl_->is_crn = value; }

int32_t CGRV::SlotOf(std::string_view name) { return Members().SlotOf(name); }

vb::Variant CGRV::Invoke(int32_t slot, CallKind kind,
                         std::span<vb::Variant> args) {
  return Members().Invoke(*this, slot, ToInvokeKind(kind), args);
}

vb::Variant CGRV::Invoke(std::string_view name, CallKind kind,
                         std::span<vb::Variant> args) {
  return Members().Invoke(*this, name, ToInvokeKind(kind), args);
}

}  // namespace kvt
