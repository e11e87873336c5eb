#include "orders/frmDeliveryDetails.h"

#include <array>
#include <functional>

#include "platform/value/failure_style.h"
#include "component/mod_publics.h"
#include "platform/ui/controls.h"
#include "platform/value/error.h"

namespace kvt::orders {

namespace {

constexpr const char* kPrintCaption = "&Print";
constexpr const char* kSaveOrderCaption = "&Save Order";

std::string Lower(std::string text) {
  for (char& ch : text) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return text;
}

// The platform's Trim: blanks only, not tabs.
std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

frmDeliveryDetails::frmDeliveryDetails() : Dialog("frmDeliveryDetails") {}

void frmDeliveryDetails::Build() {
  Caption("Delivery Details");
  Size(6600, 5520);

  auto& heading = Add<ui::Label>("lblDelDetails");
  heading.Caption(" Delivery Details ");
  heading.SetFont({"Tahoma", 18, true});
  heading.Move(120, 120, 6360, 495);

  // Order facts: caption labels beside their value labels.
  const std::array<std::pair<int, const char*>, 4> facts = {{
      {0, "Order No"}, {2, "Date Ordered "}, {3, "Supplier"}, {4, "Created by"}}};
  for (size_t row = 0; row < facts.size(); ++row) {
    const int32_t top = 780 + static_cast<int32_t>(row) * 300;
    auto& caption = Add<ui::Label>("lblDelivery", facts[row].first);
    caption.Caption(facts[row].second);
    caption.Move(240, top, 1335, 255);
    auto& value = Add<ui::Label>("lblDMethod", static_cast<int>(row));
    value.Move(1680, top, 4680, 255);
  }

  auto& deliver_to = Add<ui::Label>("lblOrders", 0);
  deliver_to.Caption("Deliver to:");
  deliver_to.Move(240, 2040, 1335, 255);
  const std::array<std::pair<int, const char*>, 5> address = {{
      {6, "Name"}, {7, "Address 1"}, {8, "Address 2"}, {2, "Address 3"},
      {1, "Post Code"}}};
  for (size_t line = 0; line < address.size(); ++line) {
    const int32_t top = 2340 + static_cast<int32_t>(line) * 360;
    auto& caption = Add<ui::Label>("lblOrders", address[line].first);
    caption.Caption(address[line].second);
    caption.Move(240, top + 30, 1335, 255);
  }
  for (int line = 0; line < 5; ++line) {
    auto& text_box = Add<ui::TextBox>("txtDelAddr", line);
    text_box.Move(1680, 2340 + line * 360, line == 4 ? 1500 : 4680, 315);
  }

  auto& process_now = Add<ui::OptionButton>("optChoice", 0);
  process_now.Caption("Save Order now and Print Order");
  process_now.Move(240, 4260, 3255, 255);
  auto& pending = Add<ui::OptionButton>("optChoice", 1);
  pending.Caption("Save as a Pending Order");
  pending.Move(240, 4560, 3255, 255);
  auto& preview = Add<ui::CheckBox>("chkShow");
  preview.Caption("Show Preview");
  preview.Move(3720, 4260, 1455, 255);

  auto& action = Add<ui::CommandButton>("cmdAction", 0);
  action.Caption(kPrintCaption);
  action.Move(3720, 4920, 1215, 375);
  auto& cancel = Add<ui::CommandButton>("cmdAction", 1);
  cancel.Caption("&Cancel");
  cancel.Move(5040, 4920, 1215, 375);

  process_now.On(ui::Event::kClick, [this](ui::EventArgs&) { OptionChosen(0); });
  pending.On(ui::Event::kClick, [this](ui::EventArgs&) { OptionChosen(1); });
  action.On(ui::Event::kClick, [this](ui::EventArgs&) { ActionClicked(0); });
  cancel.On(ui::Event::kClick, [this](ui::EventArgs&) { ActionClicked(1); });
}

void frmDeliveryDetails::OnLoad() {
  is_loaded_ = true;
  Ctl<ui::OptionButton>("optChoice", 0).Value(true);
}

void frmDeliveryDetails::OnUnload(bool&) { is_loaded_ = false; }

void frmDeliveryDetails::OptionChosen(int index) {
  vb::StopSilently([&] {
    auto& action = Ctl<ui::CommandButton>("cmdAction", 0);
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
    using Accessor = std::pair<std::string (*)(), void (*)(const std::string&)>;
    const std::array<Accessor, 5> lines = {{
        {delivery::Del_Name, delivery::Del_Name},
        {delivery::Del_Address1, delivery::Del_Address1},
        {delivery::Del_Address2, delivery::Del_Address2},
        {delivery::Del_Address3, delivery::Del_Address3},
        {delivery::Del_PostCode, delivery::Del_PostCode}}};
    for (const auto& [get, set] : lines) set(TrimBlanks(get()));

    if (index == 0) {
      const std::string caption =
          Lower(Ctl<ui::CommandButton>("cmdAction", 0).Caption());
      if (caption == Lower(kPrintCaption) ||
          caption == Lower(kSaveOrderCaption)) {
        Hide();
      }
    } else if (index == 1) {
      Unload();
    }
  });
}

namespace delivery {

namespace {

frmDeliveryDetails& Shared() {
  auto& slot = component::ThreadStore().Slot(component::DialogKind::kDelivery);
  auto* dialog = dynamic_cast<frmDeliveryDetails*>(slot.instance.get());
  if (dialog == nullptr) throw vb::Error::ObjectNotSet("frmDeliveryDetails");
  return *dialog;
}

ui::Label& Fact(int index) { return Shared().Ctl<ui::Label>("lblDMethod", index); }

ui::TextBox& Line(int index) {
  return Shared().Ctl<ui::TextBox>("txtDelAddr", index);
}

ui::OptionButton& Choice(int index) {
  return Shared().Ctl<ui::OptionButton>("optChoice", index);
}

}  // namespace

std::string Order_No() { return Fact(0).Caption(); }
void Order_No(const std::string& value) { Fact(0).Caption(value); }
std::string Date_Ordered() { return Fact(1).Caption(); }
void Date_Ordered(const std::string& value) { Fact(1).Caption(value); }
std::string Supplier_Name() { return Fact(2).Caption(); }
void Supplier_Name(const std::string& value) { Fact(2).Caption(value); }
std::string Created_By() { return Fact(3).Caption(); }
void Created_By(const std::string& value) { Fact(3).Caption(value); }

std::string Del_Name() { return Line(0).Text(); }
void Del_Name(const std::string& value) { Line(0).Text(value); }
std::string Del_Address1() { return Line(1).Text(); }
void Del_Address1(const std::string& value) { Line(1).Text(value); }
std::string Del_Address2() { return Line(2).Text(); }
void Del_Address2(const std::string& value) { Line(2).Text(value); }
std::string Del_Address3() { return Line(3).Text(); }
void Del_Address3(const std::string& value) { Line(3).Text(value); }
std::string Del_PostCode() { return Line(4).Text(); }
void Del_PostCode(const std::string& value) { Line(4).Text(value); }

bool Process_Order_Enabled() { return Choice(0).Enabled(); }
void Process_Order_Enabled(bool value) { Choice(0).Enabled(value); }
bool Save_Order_Enabled() { return Choice(1).Enabled(); }
void Save_Order_Enabled(bool value) { Choice(1).Enabled(value); }
bool OrderNow() { return Choice(0).Value(); }
bool Show_Report_Preview() {
  return Shared().Ctl<ui::CheckBox>("chkShow").Value() != ui::vbUnchecked;
}

}  // namespace delivery

}  // namespace kvt::orders
