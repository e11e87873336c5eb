// The five lifecycle operations every dialog slot follows. None raises:
// each traps its own failures as stated beside it.
#pragma once

#include <functional>

#include "component/dialog.h"
#include "component/mod_publics.h"

namespace kvt::component {

// Creates the instance if the slot is empty, then loads it unless it says
// it is loaded (its load handling runs once). On failure the instance is
// unloaded if it got loaded and the slot is emptied.
void LoadDialog(DialogSlot& slot, const DialogFactory& make);

// Creates and loads the instance if the slot is empty, runs `prepare` on it
// (may be empty), then shows it modally with no owner window; returns when
// the dialog hides or unloads itself. A loaded dialog is not reloaded. A
// failure ends the call silently; the slot keeps the state it reached.
void ShowDialog(DialogSlot& slot, const DialogFactory& make,
                const std::function<void(Dialog&)>& prepare = {});

// Hides the instance, if any; it stays loaded with its values. A failure
// ends the call silently.
void HideDialog(DialogSlot& slot);

// Unloads a loaded instance (its unload handling runs) and empties the
// slot; an instance that is not loaded stays. A failure ends the call
// silently.
void UnloadDialog(DialogSlot& slot);

// The instance's own IsLoaded; false for an empty slot or on failure.
bool IsDialogLoaded(const DialogSlot& slot);

}  // namespace kvt::component
