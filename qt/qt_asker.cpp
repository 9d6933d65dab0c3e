#include "qt/qt_asker.h"

#include "qt/dialog_placement.h"
#include "qt/qt_bridge.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <algorithm>

namespace orvu {
namespace {

QWidget* windowOf(Owner owner) {
    return static_cast<QWidget*>(owner.window);
}

// "ext" of a type's pattern "*.ext"; empty for patterns without one.
QString suffixOf(const FileType& type) {
    const QString pattern = fromUtf8(type.patterns);
    const qsizetype dot = pattern.lastIndexOf('.');
    return dot < 0 ? QString() : pattern.mid(dot + 1);
}

bool namedByPatterns(const FileType& type) {
    return type.name == "(" + type.patterns + ")";
}

// The types as the dialog lists them, the chosen one selected.
QStringList setTypes(QFileDialog& dialog, const FileQuestion& question) {
    QStringList texts;
    for (const FileType& type : question.types)
        texts << fromUtf8(typeLabel(type));
    dialog.setNameFilters(texts);
    if (question.chosenType < static_cast<std::size_t>(texts.size()))
        dialog.selectNameFilter(texts[static_cast<qsizetype>(question.chosenType)]);
    return texts;
}

int run(QDialog& dialog, Owner owner) {
    placeOverOwner(dialog, windowOf(owner));
    return dialog.exec();
}

std::filesystem::path chosenPath(const QFileDialog& dialog) {
    return toPath(dialog.selectedFiles().constFirst());
}

QMessageBox::StandardButton showMessage(Owner owner, QMessageBox::Icon icon,
                                        const std::string& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton chosen) {
    QMessageBox box(icon, QApplication::applicationName(), fromUtf8(text), buttons,
                    windowOf(owner));
    box.setDefaultButton(chosen);
    return static_cast<QMessageBox::StandardButton>(run(box, owner));
}

} // namespace

std::optional<std::filesystem::path> QtAsker::openFile(Owner owner, const FileQuestion& question) {
    QFileDialog dialog(windowOf(owner), fromUtf8(question.title), toDisplay(question.start));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    setTypes(dialog, question);
    if (question.types.size() == 1 && !namedByPatterns(question.types.front()))
        dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (run(dialog, owner) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return chosenPath(dialog);
}

std::optional<SavePlace> QtAsker::saveFile(Owner owner, const FileQuestion& question) {
    QFileDialog dialog(windowOf(owner), fromUtf8(question.title), toDisplay(question.start));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList texts = setTypes(dialog, question);
    // The suffix follows the chosen type, so that the dialog's own question
    // before replacing a file asks about the name that will be written.
    const auto followType = [&](const QString& text) {
        if (const qsizetype i = texts.lastIndexOf(text); i >= 0)
            dialog.setDefaultSuffix(suffixOf(question.types[static_cast<std::size_t>(i)]));
    };
    followType(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followType);
    if (run(dialog, owner) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const auto type = std::max<qsizetype>(0, texts.lastIndexOf(dialog.selectedNameFilter()));
    return SavePlace{chosenPath(dialog), static_cast<std::size_t>(type)};
}

std::optional<FolderAnswer> QtAsker::chooseFolder(Owner owner, const FolderQuestion& question) {
    QFileDialog dialog(windowOf(owner), fromUtf8(question.title), toDisplay(question.start));
    dialog.setFileMode(QFileDialog::Directory);
    QComboBox* choices = nullptr;
    if (question.choices.empty()) {
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        // Qt's own dialog, which can take one more row; the system's can't.
        dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        choices = new QComboBox(&dialog);
        for (const std::string& choice : question.choices)
            choices->addItem(fromUtf8(choice));
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            const int row = grid->rowCount();
            grid->addWidget(new QLabel(fromUtf8(question.choiceLabel), &dialog), row, 0);
            grid->addWidget(choices, row, 1);
        }
    }
    if (run(dialog, owner) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FolderAnswer{chosenPath(dialog),
                        choices ? static_cast<std::size_t>(std::max(0, choices->currentIndex()))
                                : std::size_t{0}};
}

Reply QtAsker::ask(Owner owner, const std::string& question, bool offersCancel) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (offersCancel)
        buttons |= QMessageBox::Cancel;
    switch (showMessage(owner, QMessageBox::Question, question, buttons, QMessageBox::No)) {
    case QMessageBox::Yes:
        return Reply::Yes;
    case QMessageBox::No:
        return Reply::No;
    default:
        return offersCancel ? Reply::Cancel : Reply::No;
    }
}

void QtAsker::tell(Owner owner, const std::string& message) {
    showMessage(owner, QMessageBox::Warning, message, QMessageBox::Ok, QMessageBox::Ok);
}

void QtAsker::inform(Owner owner, const std::string& message) {
    showMessage(owner, QMessageBox::Information, message, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace orvu
