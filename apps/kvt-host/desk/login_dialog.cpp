#include "apps/kvt-host/desk/login_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "apps/kvt-host/access/login_gate.h"
#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/desk/desk_widgets.h"

namespace kvt::host {
namespace {

constexpr char kLastUserKey[] = "login/lastUser";

}  // namespace

LoginDialog::LoginDialog(const std::string& where, const std::string& user, Attempt attempt,
                         QWidget* parent)
    : QDialog(parent), attempt_(std::move(attempt)) {
  setWindowTitle("Log in - Purchasing desk");
  setObjectName("loginDialog");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading("Log in", this));
  layout->addWidget(NoteLabel(ToQt("To " + where + ", with your own login."), this));

  auto* form = new QFormLayout();
  user_ = new QLineEdit(ToQt(user), this);
  user_->setObjectName("loginUser");
  password_ = new QLineEdit(this);
  password_->setObjectName("loginPassword");
  password_->setEchoMode(QLineEdit::Password);
  form->addRow("&User:", user_);
  form->addRow("&Password:", password_);
  layout->addLayout(form);

  refusal_ = new QLabel(this);
  refusal_->setObjectName("loginRefusal");
  refusal_->setWordWrap(true);
  refusal_->setStyleSheet("color: #a01818;");
  refusal_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  refusal_->hide();
  layout->addWidget(refusal_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("Log &in");
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { TryLogin(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  setMinimumWidth(420);
  (user.empty() ? user_ : password_)->setFocus();
}

std::string LoginDialog::User() const { return user_->text().trimmed().toStdString(); }

void LoginDialog::TryLogin() {
  const std::string user = User();
  std::string why;
  if (user.empty()) {
    why = "Type your user name.";
  } else {
    why = attempt_(user, password_->text().toStdString());
  }
  // The password is gone from the dialog whatever the answer.
  password_->clear();
  if (why.empty()) {
    accept();
    return;
  }
  refusal_->setText(ToQt(why));
  refusal_->show();
  adjustSize();  // room for every line of it
  (user.empty() ? user_ : password_)->setFocus();
}

std::optional<std::string> AskDeskLogin(const std::string& connection_text, std::string& user,
                                        QWidget* parent) {
  std::string logged_in;
  LoginDialog login(
      DatabaseLabel(connection_text), user.empty() ? LastDeskUser() : user,
      [&](const std::string& name, const std::string& password) -> std::string {
        try {
          access::RequireLoginOpen(connection_text, name);
          logged_in = access::LoggedIn(connection_text, name, password);
          return "";
        } catch (const vb::Error& error) {
          return error.description();
        }
      },
      parent);
  if (login.exec() != QDialog::Accepted) return std::nullopt;
  user = login.User();
  RememberDeskUser(user);
  return logged_in;
}

std::string LastDeskUser() {
  return QSettings("KvtSuppliers", "desk").value(kLastUserKey).toString().toStdString();
}

void RememberDeskUser(const std::string& user) {
  QSettings("KvtSuppliers", "desk").setValue(kLastUserKey, ToQt(user));
}

}  // namespace kvt::host
