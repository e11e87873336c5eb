// kvt::component::Dialog — a form the component keeps in a shared slot. It
// answers IsLoaded from a flag of its own, set by its load handling and
// cleared by its unload handling, which is what the lifecycle operations
// ask (the platform's own loaded state may differ while loading fails).
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/form.h"

namespace kvt::component {

class Dialog : public ui::Form {
 public:
  using ui::Form::Form;
  // True from the end of the dialog's load handling until it is unloaded.
  virtual bool IsLoaded() const = 0;
};

using DialogFactory = std::function<std::shared_ptr<Dialog>()>;

}  // namespace kvt::component
