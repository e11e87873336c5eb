// A failure told in plain words: what failed (the caller says), why, and
// what the user can do about it. The engines' messages ("database or disk
// is full", "could not extend file ...: No space left on device") become
// the cause a user recognises; an error with no words of its own is never
// shown as its number alone.
#pragma once

#include <string>

#include "platform/value/error.h"

namespace kvt::services {

struct FailureWords {
  std::string why;         // "the disk that holds the database is full"
  std::string what_to_do;  // "Free some space on it and try again." (may be empty)
};

FailureWords ExplainFailure(const vb::Error& error);

// "<doing> did not work: <why>. <what to do>" — `doing` as a user says it
// ("Saving PO000103").
std::string PlainFailure(const std::string& doing, const vb::Error& error);

}  // namespace kvt::services
