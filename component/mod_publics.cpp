#include "component/mod_publics.h"

#include "services/control_settings.h"
#include "services/data_gateway.h"
#include "services/number_format_service.h"
#include "platform/value/thread_slot.h"

namespace kvt::component {

Store::Store() = default;
Store::~Store() = default;

services::DataGateway& Store::DataGateway() {
  if (!data_gateway_) data_gateway_ = std::make_unique<services::DataGateway>();
  return *data_gateway_;
}

services::NumberFormatService& Store::NumberFormat() {
  if (!number_format_) {
    number_format_ = std::make_unique<services::NumberFormatService>();
  }
  return *number_format_;
}

services::ControlSettings& Store::ControlSettings() {
  if (!control_settings_) {
    control_settings_ = std::make_unique<services::ControlSettings>();
  }
  return *control_settings_;
}

services::ControlSettings& Store::NewControlSettings() {
  control_settings_ = std::make_unique<services::ControlSettings>();
  return *control_settings_;
}

Store& ThreadStore() {
  return vb::ThreadSlot<Store>::Get([] { return std::make_shared<Store>(); });
}

void ResetThreadStore() {
  // Taken out first so a dialog's destructor that reaches the store finds
  // a fresh one rather than a half-destroyed one.
  std::shared_ptr<Store> old = vb::ThreadSlot<Store>::Set(nullptr);
  old.reset();
}

}  // namespace kvt::component
