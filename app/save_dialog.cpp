#include "app/save_dialog.h"

#include "app/window_design.h"
#include "harvest/messages.h"
#include "qt/dialogs.h"
#include "qt/qt_bridge.h"

#include <QDir>

namespace orvu {
namespace {

// Where the save dialog starts: the folder WinDir names, otherwise home,
// and in it the suggested name, if any.
QString startPath(const SaveSubject& subject) {
    const QString windows = qEnvironmentVariable("WinDir");
    const QDir folder(!windows.isEmpty() && QDir(windows).exists() ? windows : QDir::homePath());
    if (subject.suggestedStem.empty() || subject.formats.empty())
        return folder.path();
    return folder.filePath(toDisplay(subject.suggestedStem) +
                           QString::fromLatin1(extensionOf(subject.formats.front())));
}

} // namespace

void saveThroughDialog(QWidget* owner, Dialogs& dialogs, const SaveSubject& subject) {
    QList<FileFilter> filters;
    for (const SaveFormat format : subject.formats)
        filters << saveFilterOf(format);
    const auto chosen = dialogs.saveFile(owner, {saveDialogTitle(), filters, startPath(subject)});
    if (!chosen || chosen->path.isEmpty())
        return;
    const std::filesystem::path path = toPath(chosen->path);
    const SaveTarget target = saveTargetOf(subject, path, chosen->filter);
    if (asksBeforeReplacing(target, path) &&
        !dialogs.confirm(owner, fromUtf8(messages::replaceExisting(target.path))))
        return;
    if (const SaveOutcome outcome = save(subject, target); !outcome.message.empty())
        dialogs.tell(owner, fromUtf8(outcome.message));
}

} // namespace orvu
