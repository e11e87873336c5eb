#include "kvt/CGRV.h"

#include "classes/call_kind.h"
#include "classes/cgrv_members.h"
#include "classes/member_binding.h"
#include "classes/published_members.h"
#include "platform/object/member_table.h"
#include "platform/value/conversions.h"

namespace kvt {

namespace {

using Table = classes::CGRVTable;

const Table& Members() {
  static const Table kTable = [] {
    Table table("CGRV", classes::CGRVPublishedMembers());
    classes::BindSharedSettings(table);
    table.Get("mbIsCRN", [](CGRV& self, object::Args) -> vb::Variant { return self.mbIsCRN(); });
    table.Let("mbIsCRN",
              [](CGRV& self, object::Args args) { self.mbIsCRN(vb::CBool(args.back())); });
    classes::BindCGRVQueryMembers(table);
    classes::BindCGRVLineMembers(table);
    classes::BindCGRVHeaderMembers(table);
    classes::BindCGRVSaveMembers(table);
    classes::BindCGRVDocumentMembers(table);
    return table;
  }();
  return kTable;
}

}  // namespace

struct CGRV::Impl {
  bool is_crn = false;
};

CGRV::CGRV() : impl_(std::make_unique<Impl>()) {}
CGRV::~CGRV() = default;
CGRV::CGRV(CGRV&&) noexcept = default;
CGRV& CGRV::operator=(CGRV&&) noexcept = default;

bool CGRV::mbIsCRN() const { return impl_->is_crn; }
void CGRV::mbIsCRN(bool value) { impl_->is_crn = value; }

int32_t CGRV::SlotOf(std::string_view name) { return Members().SlotOf(name); }

vb::Variant CGRV::Invoke(int32_t slot, CallKind kind, std::span<vb::Variant> args) {
  return Members().Invoke(*this, slot, classes::ToInvokeKind(kind), args);
}

vb::Variant CGRV::Invoke(std::string_view name, CallKind kind, std::span<vb::Variant> args) {
  return Members().Invoke(*this, name, classes::ToInvokeKind(kind), args);
}

}  // namespace kvt
