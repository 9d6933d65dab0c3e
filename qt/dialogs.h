#pragma once

#include <QList>
#include <QString>
#include <optional>

class QWidget;

namespace orvu {

// One choice of a file dialog's type list: the name shown and the pattern,
// such as "PNG image" and "*.png".
struct FileFilter {
    QString name;
    QString pattern;
};

// "Name (*.ext)", as file dialogs list a filter: the patterns in the last
// parentheses.
QString filterText(const FileFilter& filter);

// One file dialog: its title, its filters (the first chosen at first, unless
// `selectedFilter` says otherwise) and the folder it starts in.
struct FileDialogRequest {
    QString title;
    QList<FileFilter> filters;
    QString initialFolder;
    int selectedFilter = 0;
};

// What a save dialog returns: the chosen path and the filter chosen with it.
struct SaveChoice {
    QString path;
    int filter = 0;
};

// The modal dialogs the windows open. The program uses Qt's; tests answer
// them themselves. Every dialog returns nullopt when the user cancels.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a single filter's name without its pattern.
    virtual std::optional<QString> openFile(QWidget* owner, const FileDialogRequest& request) = 0;
    // A name typed without an extension gets the chosen filter's; an existing
    // file is chosen only after the user agreed to replace it.
    virtual std::optional<SaveChoice> saveFile(QWidget* owner,
                                               const FileDialogRequest& request) = 0;
    virtual std::optional<QString> chooseFolder(QWidget* owner, const QString& title) = 0;
    // A folder, and one of `choices` (the first at first) shown with it.
    struct FolderChoice {
        QString folder;
        int choice = 0;
    };
    virtual std::optional<FolderChoice> chooseFolderAnd(QWidget* owner, const QString& title,
                                                        const QString& choiceLabel,
                                                        const QStringList& choices) = 0;
    // A message the user acknowledges: something went wrong, or (inform)
    // the news that all went well.
    virtual void tell(QWidget* owner, const QString& message) = 0;
    virtual void inform(QWidget* owner, const QString& message) = 0;
    // A yes-or-no question; true for yes.
    virtual bool confirm(QWidget* owner, const QString& question) = 0;
};

class QtDialogs final : public Dialogs {
public:
    std::optional<QString> openFile(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<SaveChoice> saveFile(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(QWidget* owner, const QString& title) override;
    std::optional<FolderChoice> chooseFolderAnd(QWidget* owner, const QString& title,
                                                const QString& choiceLabel,
                                                const QStringList& choices) override;
    void tell(QWidget* owner, const QString& message) override;
    void inform(QWidget* owner, const QString& message) override;
    bool confirm(QWidget* owner, const QString& question) override;
};

} // namespace orvu
