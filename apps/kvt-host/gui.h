// The delivery dialog on screen, driven through COrder as a host would.
#pragma once

namespace kvt::host {

// Creates the Qt application, shows the delivery dialog of a sample order
// modally, then tells the user what the host read back. Returns 0.
int RunGui(int argc, char** argv);

}  // namespace kvt::host
