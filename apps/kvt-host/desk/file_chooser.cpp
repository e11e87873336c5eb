#include "apps/kvt-host/desk/file_chooser.h"

#include <QAbstractButton>
#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QStyle>
#include <QTemporaryDir>

namespace kvt::host {
namespace {

// Icons and type names from the name alone.
class NameOnlyIconProvider final : public QAbstractFileIconProvider {
 public:
  QIcon icon(IconType type) const override {
    return QApplication::style()->standardIcon(
        type == Folder || type == Drive ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
  }
  QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return "Folder";
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QString("File") : suffix.toUpper() + " file";
  }
};

NameOnlyIconProvider& Provider() {
  static NameOnlyIconProvider provider;
  return provider;
}

}  // namespace

void KeepFromFileContents(QFileDialog& dialog) {
  // The native dialog of a desktop running in the process reads contents
  // too, and takes no icon provider.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setIconProvider(&Provider());
}

QString ChooseSavePath(QWidget* parent, const QString& title, const QString& proposed,
                       const QString& filter) {
  // A dialog starts listing a folder (the last one visited) as it is made,
  // before it can be given its icons: it is made on an empty one.
  QTemporaryDir empty;
  QFileDialog dialog(parent, title, empty.isValid() ? empty.path() : QString("/"), filter);
  KeepFromFileContents(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  const QFileInfo target(proposed);
  dialog.setDirectory(target.absolutePath());
  dialog.selectFile(target.fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

void KeepPrintDialogFromFileContents(QDialog& print_dialog) {
  auto* browse = print_dialog.findChild<QAbstractButton*>("fileBrowser");
  auto* file = print_dialog.findChild<QLineEdit*>("filename");
  if (browse == nullptr || file == nullptr) return;
  QObject::disconnect(browse, &QAbstractButton::clicked, nullptr, nullptr);
  QObject::connect(browse, &QAbstractButton::clicked, &print_dialog, [&print_dialog, file] {
    const QString path =
        ChooseSavePath(&print_dialog, "Print to File", file->text(), "PDF files (*.pdf)");
    if (!path.isEmpty()) file->setText(path);
  });
}

}  // namespace kvt::host
