#include "services/failure_words.h"

#include "platform/data/data_errors.h"
#include "platform/value/text.h"

namespace kvt::services {
namespace {

struct Cause {
  const char* words;  // a part of the engine's or system's message, any case
  const char* why;
  const char* what_to_do;
};

// In the order they are tried: the first cause whose words the message
// holds explains it.
constexpr Cause kCauses[] = {
    {"disk is full", "the disk that holds the database is full",
     "Free some space on that disk, then try again."},
    {"no space left on device", "the disk is full",
     "Free some space on that disk, then try again."},
    {"file too large", "the file has reached the largest size this system allows",
     "Free some space or ask whoever looks after the machine, then try again."},
    {"readonly database", "the database may not be written to",
     "Ask whoever looks after the database for the right to change it."},
    {"permission denied", "this user may not change it",
     "Ask whoever looks after the database for the right to change it."},
    {"database is locked", "another clerk or program was changing the same data",
     "Try again in a moment."},
    {"lock timeout", "another clerk or program was changing the same data",
     "Try again in a moment."},
    {"could not serialize", "another clerk or program was changing the same data",
     "Try again in a moment."},
    {"deadlock", "another clerk was changing the same data at the same moment", "Try again."},
    {"disk i/o error", "the disk could not be read or written",
     "Check that the disk is there and not full, then try again."},
    {"server closed the connection", "the connection to the database server was lost",
     "Check the network, then close the desk and start it again."},
    {"no connection to the server", "the connection to the database server was lost",
     "Check the network, then close the desk and start it again."},
    {"could not connect", "the database server could not be reached",
     "Check that the server is running and the network, then try again."},
    {"zero character", "the text holds a character that cannot be stored",
     "Remove the odd character (often pasted in by accident) and try again."},
};

std::string WithoutFinalStop(std::string text) {
  while (!text.empty() && (text.back() == '.' || text.back() == ' ' || text.back() == '\n')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

FailureWords ExplainFailure(const vb::Error& error) {
  const std::string message = vb::LCase(error.description());
  for (const Cause& cause : kCauses) {
    if (message.find(cause.words) != std::string::npos) return {cause.why, cause.what_to_do};
  }
  if (dynamic_cast<const data::LockConflict*>(&error) != nullptr) {
    return {"another clerk or program was changing the same data", "Try again in a moment."};
  }
  if (error.description().empty()) {
    return {"an unexpected failure (error " + std::to_string(error.number()) + " in " +
                (error.source().empty() ? std::string("the program") : error.source()) + ")",
            "Try again; if it happens again, tell whoever looks after the program."};
  }
  return {WithoutFinalStop(error.description()), ""};
}

std::string PlainFailure(const std::string& doing, const vb::Error& error) {
  const FailureWords words = ExplainFailure(error);
  std::string text = doing + " did not work: " + words.why + ".";
  if (!words.what_to_do.empty()) text += " " + words.what_to_do;
  return text;
}

}  // namespace kvt::services
