#include "component/mod_publics.h"

#include "services/control_settings.h"
#include "services/data_gateway.h"
#include "services/number_format_service.h"

namespace kvt::component {

namespace {

std::unique_ptr<Store>& ThreadSlot() {
  thread_local std::unique_ptr<Store> store;
  return store;
}

}  // namespace

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
  std::unique_ptr<Store>& store = ThreadSlot();
  if (!store) store = std::make_unique<Store>();
  return *store;
}

void ResetThreadStore() {
  // Moved out first so a dialog's destructor that reaches the store finds
  // a fresh one rather than a half-destroyed one.
  std::unique_ptr<Store> old = std::move(ThreadSlot());
  old.reset();
}

}  // namespace kvt::component
