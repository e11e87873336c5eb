// The desk's file dialogs, which never open a file they list.
//
// Qt's own dialog asks each file's type by reading its first bytes (in the
// background, for every file of the folder shown, the database's -wal and
// -shm included); a native dialog running in the process does the same.
// Each such open and close drops the process's record locks on the file,
// which the database engine's locking relies on. These dialogs tell a
// file's type and icon from its name alone.
#pragma once

#include <QString>

class QDialog;
class QFileDialog;
class QWidget;

namespace kvt::host {

// Asks where to save a file, proposing `proposed`; empty when cancelled.
QString ChooseSavePath(QWidget* parent, const QString& title, const QString& proposed,
                       const QString& filter);

// Makes `dialog` one that reads no file it lists (and never the native one).
void KeepFromFileContents(QFileDialog& dialog);

// Makes the file button of a print dialog (its "print to file" browser)
// choose the file with ChooseSavePath.
void KeepPrintDialogFromFileContents(QDialog& print_dialog);

}  // namespace kvt::host
