// Who plays the story's parts: a buyer orders, a clerk receives, returns
// and sells.
#pragma once

#include <string>

namespace kvt::host {

struct StoryPart {
  std::string user;             // as the audit trail names them
  std::string connection_text;  // logged in as them
};

struct StoryCast {
  StoryPart buyer;
  StoryPart clerk;
};

// On a server whose owner tells the story: logins of their own for the
// buyer and the clerk of this database, made on the first run and given a
// new random password on each (held in memory only, never shown). Anyone
// else, and everyone on an SQLite file, plays every part as themselves.
// Raises what opening the database and managing its users raise.
StoryCast CastStory(const std::string& connection_text);

}  // namespace kvt::host
