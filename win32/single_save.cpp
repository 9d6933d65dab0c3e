#include "win32/single_save.h"

#include "harvest/messages.h"
#include "texts/text.h"
#include "win32/shell_dialogs.h"

#include <cstdlib>

namespace orvu::win32 {
namespace {

shellDialogs::FileType typeOf(SaveFormat format) {
    switch (format) {
    case SaveFormat::Ico:
        return {text("Icon file"), "*.ico"};
    case SaveFormat::Png:
        return {text("PNG image"), "*.png"};
    case SaveFormat::Cur:
        return {text("Cursor file"), "*.cur"};
    case SaveFormat::Ani:
        return {text("Animated cursor file"), "*.ani"};
    case SaveFormat::Bmp:
        break;
    }
    return {text("Bitmap"), "*.bmp"};
}

} // namespace

void saveThroughDialog(HWND owner, const SaveSubject& subject) {
    shellDialogs::FileRequest request;
    request.title = text("Save File As:...");
    for (const SaveFormat format : subject.formats)
        request.types.push_back(typeOf(format));
    // Where the dialog starts: the folder WinDir names.
    if (const wchar_t* windows = _wgetenv(L"WinDir"))
        request.folder = windows;
    if (!subject.suggestedStem.empty() && !subject.formats.empty())
        request.name = subject.suggestedStem.wstring() +
                       std::filesystem::path(extensionOf(subject.formats.front())).wstring();
    const auto chosen = shellDialogs::saveFile(owner, request);
    if (!chosen)
        return;
    const SaveTarget target = saveTargetOf(subject, chosen->path, static_cast<int>(chosen->type));
    if (asksBeforeReplacing(target, chosen->path) &&
        shellDialogs::ask(owner, messages::replaceExisting(target.path), false) !=
            shellDialogs::Answer::Yes)
        return;
    if (const SaveOutcome outcome = save(subject, target); !outcome.message.empty())
        shellDialogs::tell(owner, outcome.message, shellDialogs::Tone::Problem);
}

} // namespace orvu::win32
