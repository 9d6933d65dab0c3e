#include "qt/dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <algorithm>

namespace orvu {
namespace {

// Whether the filter's name is only its pattern in parentheses, "(*.exe)".
bool namedByPattern(const FileFilter& filter) {
    return filter.name == "(" + filter.pattern + ")";
}

// "ext" of a filter's pattern "*.ext"; empty for patterns without one.
QString suffixOf(const FileFilter& filter) {
    const qsizetype dot = filter.pattern.lastIndexOf('.');
    return dot < 0 ? QString() : filter.pattern.mid(dot + 1);
}

// The filters' texts, as the dialog shows them.
QStringList setFilters(QFileDialog& dialog, const FileDialogRequest& request) {
    QStringList texts;
    for (const FileFilter& filter : request.filters)
        texts << filterText(filter);
    dialog.setNameFilters(texts);
    if (request.selectedFilter >= 0 && request.selectedFilter < texts.size())
        dialog.selectNameFilter(texts[request.selectedFilter]);
    return texts;
}

} // namespace

QString filterText(const FileFilter& filter) {
    return namedByPattern(filter) ? filter.name : filter.name + " (" + filter.pattern + ")";
}

std::optional<QString> QtDialogs::openFile(QWidget* owner, const FileDialogRequest& request) {
    QFileDialog dialog(owner, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    setFilters(dialog, request);
    if (request.filters.size() == 1 && !namedByPattern(request.filters[0]))
        dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<SaveChoice> QtDialogs::saveFile(QWidget* owner, const FileDialogRequest& request) {
    QFileDialog dialog(owner, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList texts = setFilters(dialog, request);
    // The suffix follows the chosen filter, so that the dialog's own question
    // before replacing a file asks about the name that will be written.
    const auto followFilter = [&](const QString& text) {
        if (const qsizetype i = texts.lastIndexOf(text); i >= 0)
            dialog.setDefaultSuffix(suffixOf(request.filters[i]));
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const int chosen =
        static_cast<int>(std::max<qsizetype>(0, texts.lastIndexOf(dialog.selectedNameFilter())));
    return SaveChoice{dialog.selectedFiles().constFirst(), chosen};
}

std::optional<QString> QtDialogs::chooseFolder(QWidget* owner, const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(owner, title, QDir::homePath(),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<Dialogs::FolderChoice> QtDialogs::chooseFolderAnd(QWidget* owner,
                                                                const QString& title,
                                                                const QString& choiceLabel,
                                                                const QStringList& choices) {
    // Qt's own dialog, which can take one more row; the system's can't.
    QFileDialog dialog(owner, title, QDir::homePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    auto* combo = new QComboBox(&dialog);
    combo->addItems(choices);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(choiceLabel, &dialog), row, 0);
        grid->addWidget(combo, row, 1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FolderChoice{dialog.selectedFiles().constFirst(), combo->currentIndex()};
}

void QtDialogs::tell(QWidget* owner, const QString& message) {
    QMessageBox::warning(owner, QApplication::applicationName(), message);
}

void QtDialogs::inform(QWidget* owner, const QString& message) {
    QMessageBox::information(owner, QApplication::applicationName(), message);
}

bool QtDialogs::confirm(QWidget* owner, const QString& question) {
    return QMessageBox::question(owner, QApplication::applicationName(), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

} // namespace orvu
