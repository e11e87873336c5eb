// Logging in to a server database from the command line: the user's name
// from --user, the password from KVT_PASSWORD or asked on the terminal,
// never from the command line.
#pragma once

#include <string>

namespace kvt::host {

// The password in the environment variable `variable`, or else asked on
// the terminal with `prompt` and without echo. Raises 5 when there is
// neither (no terminal to ask on).
std::string ReadPassword(const char* variable, const std::string& prompt);

// `connection_text` logged in as `user`: for a server the user and the
// password of ReadPassword("KVT_PASSWORD", ...) replace those of the
// text, once the server took them (access::LogIn: a refusal is counted,
// a locked login refused before it is asked for its password). An SQLite
// file's user is the operating system's: the text is returned as it is.
std::string LoginConnectionText(const std::string& connection_text, const std::string& user);

// `connection_text` names a server database.
bool OnServer(const std::string& connection_text);
// The desk asks who logs in (LoginDialog): a server database, with no
// password in `connection_text` nor in KVT_PASSWORD.
bool DeskAsksForLogin(const std::string& connection_text);

}  // namespace kvt::host
