#include "component/dialog_lifecycle.h"

#include "platform/value/failure_style.h"

namespace kvt::component {

namespace {

void CreateAndLoad(DialogSlot& slot, const DialogFactory& make) {
  if (!slot.instance) slot.instance = make();
  if (!slot.instance->IsLoaded()) slot.instance->Load();
}

}  // namespace

void LoadDialog(DialogSlot& slot, const DialogFactory& make) {
  vb::ErrorData failure = vb::StopSilently([&] { CreateAndLoad(slot, make); });
  if (!failure.HasError() || !slot.instance) return;
  std::shared_ptr<Dialog> failed = std::move(slot.instance);
  slot.instance.reset();
  vb::PassOver([&] {
    if (failed->IsLoaded() || failed->Loaded()) failed->Unload();
  });
}

void ShowDialog(DialogSlot& slot, const DialogFactory& make,
                const std::function<void(Dialog&)>& prepare) {
  vb::StopSilently([&] {
    if (!slot.instance) CreateAndLoad(slot, make);
    // Held here too: the dialog's own buttons may empty the slot meanwhile.
    std::shared_ptr<Dialog> dialog = slot.instance;
    if (prepare) prepare(*dialog);
    dialog->Show(ui::vbModal);
  });
}

void HideDialog(DialogSlot& slot) {
  vb::StopSilently([&] {
    if (slot.instance) slot.instance->Hide();
  });
}

void UnloadDialog(DialogSlot& slot) {
  vb::StopSilently([&] {
    if (!slot.instance || !slot.instance->IsLoaded()) return;
    std::shared_ptr<Dialog> dialog = slot.instance;
    dialog->Unload();
    slot.instance.reset();
  });
}

bool IsDialogLoaded(const DialogSlot& slot) {
  return vb::AnswerOnFailure(false,
                             [&] { return slot.instance != nullptr && slot.instance->IsLoaded(); });
}

}  // namespace kvt::component
