#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace orvu {

// One file dialog: its title, its single filter (the name shown and the
// pattern), the folder it starts in and the suffix added to a name typed
// without one (none when empty).
struct FileDialogRequest {
    QString title;
    QString filterName;
    QString filterPattern;
    QString initialFolder;
    QString defaultSuffix;
};

// The modal dialogs the windows open. The program uses Qt's; tests answer
// them themselves. Every dialog returns nullopt when the user cancels.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual std::optional<QString> openFile(QWidget* owner, const FileDialogRequest& request) = 0;
    // Never asks before an existing file is replaced.
    virtual std::optional<QString> saveFile(QWidget* owner, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> chooseFolder(QWidget* owner, const QString& title) = 0;
    // A message the user acknowledges.
    virtual void tell(QWidget* owner, const QString& message) = 0;
};

class QtDialogs final : public Dialogs {
public:
    std::optional<QString> openFile(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(QWidget* owner, const QString& title) override;
    void tell(QWidget* owner, const QString& message) override;
};

} // namespace orvu
