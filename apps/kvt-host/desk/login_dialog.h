// The desk's login for a server database: asks for the user and the
// password before the desk opens, offers the last user it logged in as
// (from the desk's settings; the password is never kept anywhere) and
// shows a refusal, a locked login included, in the dialog itself.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace kvt::host {

class LoginDialog : public QDialog {
 public:
  // Tries `user` with `password`: empty when they got in, otherwise why
  // not, in words for the user.
  using Attempt = std::function<std::string(const std::string& user, const std::string& password)>;

  // For the database `where` (as a title shows it), offering `user`.
  LoginDialog(const std::string& where, const std::string& user, Attempt attempt,
              QWidget* parent = nullptr);

  std::string User() const;

 private:
  void TryLogin();

  Attempt attempt_;
  QLineEdit* user_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLabel* refusal_ = nullptr;
};

// Asks who logs in to the server database `connection_text` names until
// the server takes them (access::LoggedIn) or the user cancels, offering
// `user`, or else the last user. Returns the connection text logged in,
// with `user` set to who logged in and remembered; nothing when cancelled.
std::optional<std::string> AskDeskLogin(const std::string& connection_text, std::string& user,
                                        QWidget* parent = nullptr);

// The user the desk last logged in as to a server ("" when none), and
// remembering it, in the desk's settings (QSettings "KvtSuppliers/desk",
// ~/.config/KvtSuppliers/desk.conf).
std::string LastDeskUser();
void RememberDeskUser(const std::string& user);

}  // namespace kvt::host
