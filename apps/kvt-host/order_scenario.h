// A scripted purchase-order save, run headless: the host's side of the
// delivery dialog with a scripted user, and what the host reads back.
#pragma once

#include <ostream>

namespace kvt::host {

// Plays the scenario and writes a readable transcript to `out`. Returns 0
// when the user's answers came back as scripted, 1 otherwise.
int RunOrderScenario(std::ostream& out);

}  // namespace kvt::host
