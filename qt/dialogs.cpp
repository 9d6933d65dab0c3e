#include "qt/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace orvu {
namespace {

std::optional<QString> runFileDialog(QWidget* owner, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, request.title, request.initialFolder);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // Qt takes the patterns from the last parentheses and shows the whole
    // text; hide the pattern part unless the name is nothing else.
    const QString wholePattern = "(" + request.filterPattern + ")";
    if (request.filterName == wholePattern) {
        dialog.setNameFilter(wholePattern);
    } else {
        dialog.setNameFilter(request.filterName + " " + wholePattern);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> QtDialogs::openFile(QWidget* owner, const FileDialogRequest& request) {
    return runFileDialog(owner, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFile(QWidget* owner, const FileDialogRequest& request) {
    return runFileDialog(owner, request, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::chooseFolder(QWidget* owner, const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(owner, title, QDir::homePath(),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

void QtDialogs::tell(QWidget* owner, const QString& message) {
    QMessageBox::warning(owner, QApplication::applicationName(), message);
}

} // namespace orvu
