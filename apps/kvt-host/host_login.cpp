#include "apps/kvt-host/host_login.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

#include "apps/kvt-host/access/login_gate.h"
#include "platform/value/error.h"
#include "platform/value/text.h"
#include "services/connection_text.h"

namespace kvt::host {

namespace {

constexpr char kSource[] = "kvt-host";

// Reads one line from the terminal with echo off; false when there is no
// terminal.
bool AskTerminal(const std::string& prompt, std::string& answer) {
  const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (tty < 0) return false;
  termios saved{};
  const bool quiet = ::tcgetattr(tty, &saved) == 0;
  if (quiet) {
    termios silent = saved;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(tty, TCSAFLUSH, &silent);
  }
  [[maybe_unused]] const ssize_t shown = ::write(tty, prompt.data(), prompt.size());
  char c = 0;
  while (::read(tty, &c, 1) == 1 && c != '\n') answer += c;
  if (quiet) ::tcsetattr(tty, TCSAFLUSH, &saved);
  [[maybe_unused]] const ssize_t ended = ::write(tty, "\n", 1);
  ::close(tty);
  return true;
}

}  // namespace

std::string ReadPassword(const char* variable, const std::string& prompt) {
  if (const char* given = std::getenv(variable); given != nullptr && *given != '\0') return given;
  std::string answer;
  if (!AskTerminal(prompt, answer)) {
    throw vb::Error(
        vb::err::kInvalidCall, kSource,
        std::string("No password: set ") + variable + " or run on a terminal, which asks for it.");
  }
  return answer;
}

std::string LoginConnectionText(const std::string& connection_text, const std::string& user) {
  // An SQLite file's user is the operating system's; the desk's --user
  // there names whose saved settings it uses.
  if (!OnServer(connection_text) || user.empty()) return connection_text;
  // A locked login is told so before it is asked for a password.
  access::RequireLoginOpen(connection_text, user);
  return access::LoggedIn(connection_text, user,
                          ReadPassword("KVT_PASSWORD", "Password for " + user + ": "));
}

bool OnServer(const std::string& connection_text) {
  return services::ParseConnectionText(connection_text).backend == data::Backend::kPostgreSQL;
}

bool DeskAsksForLogin(const std::string& connection_text) {
  const char* given = std::getenv("KVT_PASSWORD");
  return OnServer(connection_text) &&
         services::ParseConnectionText(connection_text).password.empty() &&
         (given == nullptr || *given == '\0');
}

}  // namespace kvt::host
