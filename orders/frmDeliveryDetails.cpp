#include "orders/frmDeliveryDetails.h"

#include "platform/value/failure_style.h"
#include "component/mod_publics.h"
#include "platform/ui/controls.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/text.h"

namespace kvt::orders {

namespace {

constexpr const char* kPrintCaption = "&Print";
constexpr const char* kSaveOrderCaption = "&Save Order";

using enum ui::ControlKind;
using ui::kBold;

// The order's facts, the address to deliver to, then the choice.
constexpr ui::ControlLayout kLayout[] = {
    {kLabel, "lblDelDetails", -1, 120, 120, 6360, 495, " Delivery Details ", kBold, nullptr, -1,
     "Tahoma", 18},
    {kLabel, "lblDelivery", 0, 240, 780, 1335, 255, "Order No"},
    {kLabel, "lblDMethod", 0, 1680, 780, 4680, 255},
    {kLabel, "lblDelivery", 2, 240, 1080, 1335, 255, "Date Ordered "},
    {kLabel, "lblDMethod", 1, 1680, 1080, 4680, 255},
    {kLabel, "lblDelivery", 3, 240, 1380, 1335, 255, "Supplier"},
    {kLabel, "lblDMethod", 2, 1680, 1380, 4680, 255},
    {kLabel, "lblDelivery", 4, 240, 1680, 1335, 255, "Created by"},
    {kLabel, "lblDMethod", 3, 1680, 1680, 4680, 255},
    {kLabel, "lblOrders", 0, 240, 2040, 1335, 255, "Deliver to:"},
    {kLabel, "lblOrders", 6, 240, 2370, 1335, 255, "Name"},
    {kLabel, "lblOrders", 7, 240, 2730, 1335, 255, "Address 1"},
    {kLabel, "lblOrders", 8, 240, 3090, 1335, 255, "Address 2"},
    {kLabel, "lblOrders", 2, 240, 3450, 1335, 255, "Address 3"},
    {kLabel, "lblOrders", 1, 240, 3810, 1335, 255, "Post Code"},
    {kTextBox, "txtDelAddr", 0, 1680, 2340, 4680, 315},
    {kTextBox, "txtDelAddr", 1, 1680, 2700, 4680, 315},
    {kTextBox, "txtDelAddr", 2, 1680, 3060, 4680, 315},
    {kTextBox, "txtDelAddr", 3, 1680, 3420, 4680, 315},
    {kTextBox, "txtDelAddr", 4, 1680, 3780, 1500, 315},
    {kOptionButton, "optChoice", 0, 240, 4260, 3255, 255, "Save Order now and Print Order"},
    {kOptionButton, "optChoice", 1, 240, 4560, 3255, 255, "Save as a Pending Order"},
    {kCheckBox, "chkShow", -1, 3720, 4260, 1455, 255, "Show Preview"},
    {kCommandButton, "cmdAction", 0, 3720, 4920, 1215, 375, kPrintCaption},
    {kCommandButton, "cmdAction", 1, 5040, 4920, 1215, 375, "&Cancel"},
};

}  // namespace

frmDeliveryDetails::frmDeliveryDetails() : Dialog("frmDeliveryDetails") {}

void frmDeliveryDetails::Build() {
  Caption("Delivery Details");
  Size(6600, 5520);
  AddControls(kLayout);
  lbl_dmethod_.Collect(ArrayElements("lblDMethod"));
  txt_del_addr_.Collect(ArrayElements("txtDelAddr"));
  opt_choice_.Collect(ArrayElements("optChoice"));
  cmd_action_.Collect(ArrayElements("cmdAction"));
  chk_show_ = &Ctl<ui::CheckBox>("chkShow");
  for (int i = 0; i < 2; ++i) {
    opt_choice_[i].On(ui::Event::kClick, [this, i](ui::EventArgs&) { OptionChosen(i); });
    cmd_action_[i].On(ui::Event::kClick, [this, i](ui::EventArgs&) { ActionClicked(i); });
  }
}

ui::Control& frmDeliveryDetails::Element(Array array, int index) {
  EnsureBuilt();
  switch (array) {
    case Array::kLblDMethod: return lbl_dmethod_[index];
    case Array::kTxtDelAddr: return txt_del_addr_[index];
    case Array::kOptChoice: return opt_choice_[index];
    case Array::kChkShow: return *chk_show_;
  }
  throw vb::Error::SubscriptOutOfRange(TypeName());
}

void frmDeliveryDetails::OnLoad() {
  is_loaded_ = true;
  opt_choice_[0].Value(true);
}

void frmDeliveryDetails::OnUnload(bool&) { is_loaded_ = false; }

void frmDeliveryDetails::OptionChosen(int index) {
  vb::StopSilently([&] {
    ui::CommandButton& action = cmd_action_[0];
    if (index == 0) action.Caption(kPrintCaption);
    if (index == 1) action.Caption(kSaveOrderCaption);
    // Fails while the dialog is still loading (not shown yet): ignored.
    action.SetFocus();
  });
}

void frmDeliveryDetails::ActionClicked(int index) {
  vb::StopSilently([&] {
    // Written back through the shared properties, as a fresh COrder would,
    // so the trimmed text lands in whatever dialog the slot holds.
    for (const char* line :
         {"Del_Name", "Del_Address1", "Del_Address2", "Del_Address3", "Del_PostCode"}) {
      frmDeliveryDetails& shared = SharedDeliveryDialog();
      const auto& row = component::FindProperty(DeliveryProperties(), line);
      component::LetProperty(shared, row, vb::Trim(vb::CStr(GetProperty(shared, row))));
    }

    if (index == 0) {
      const std::string caption = vb::LCase(cmd_action_[0].Caption());
      if (caption == vb::LCase(kPrintCaption) || caption == vb::LCase(kSaveOrderCaption)) {
        Hide();
      }
    } else if (index == 1) {
      Unload();
    }
  });
}

frmDeliveryDetails& SharedDeliveryDialog() {
  auto& slot = component::ThreadStore().Slot(component::DialogKind::kDelivery);
  auto* dialog = dynamic_cast<frmDeliveryDetails*>(slot.instance.get());
  if (dialog == nullptr) throw vb::Error::ObjectNotSet("frmDeliveryDetails");
  return *dialog;
}

namespace {

using component::Access;
using component::Facet;
using component::ValueType;
using Array = frmDeliveryDetails::Array;

// A greyed box counts as a yes.
vb::Variant PreviewChosen(frmDeliveryDetails& form) {
  return vb::CInt(component::ReadFacet(form.Element(Array::kChkShow, -1), Facet::kValue)) !=
         ui::vbUnchecked;
}

const component::DialogProperty<frmDeliveryDetails> kProperties[] = {
    {"Order_No", Access::kLetGet, Array::kLblDMethod, 0},
    {"Date_Ordered", Access::kLetGet, Array::kLblDMethod, 1},
    {"Supplier_Name", Access::kLetGet, Array::kLblDMethod, 2},
    {"Created_By", Access::kLetGet, Array::kLblDMethod, 3},
    {"Del_Name", Access::kLetGet, Array::kTxtDelAddr, 0},
    {"Del_Address1", Access::kLetGet, Array::kTxtDelAddr, 1},
    {"Del_Address2", Access::kLetGet, Array::kTxtDelAddr, 2},
    {"Del_Address3", Access::kLetGet, Array::kTxtDelAddr, 3},
    {"Del_PostCode", Access::kLetGet, Array::kTxtDelAddr, 4},
    {"Process_Order_Enabled", Access::kLetGet, Array::kOptChoice, 0, Facet::kEnabled,
     ValueType::kBoolean},
    {"Save_Order_Enabled", Access::kLetGet, Array::kOptChoice, 1, Facet::kEnabled,
     ValueType::kBoolean},
    {"OrderNow", Access::kGetOnly, Array::kOptChoice, 0, Facet::kChosen, ValueType::kBoolean},
    {.name = "Show_Report_Preview",
     .access = Access::kGetOnly,
     .array = Array::kChkShow,
     .index = -1,
     .type = ValueType::kBoolean,
     .get = PreviewChosen},
};

}  // namespace

std::span<const component::DialogProperty<frmDeliveryDetails>> DeliveryProperties() {
  return kProperties;
}

}  // namespace kvt::orders
