#include "win32/shell_asker.h"

#include "harvest/window_design.h"
#include "win32/com_ptr.h"
#include "win32/wide_text.h"

#include <shobjidl.h>

namespace orvu::win32 {
namespace {

constexpr DWORD ChoiceList = 1; // the id of the list a folder dialog adds

HWND windowOf(Owner owner) {
    return static_cast<HWND>(owner.window);
}

// The type list as the dialog takes it; the texts live as long as the list.
struct TypeList {
    std::vector<std::wstring> texts;
    std::vector<COMDLG_FILTERSPEC> specs;

    explicit TypeList(const std::vector<FileType>& types) {
        texts.reserve(types.size() * 2);
        for (const FileType& type : types) {
            texts.push_back(wide(typeLabel(type)));
            std::wstring patterns = wide(type.patterns);
            for (wchar_t& c : patterns) {
                if (c == L' ')
                    c = L';';
            }
            texts.push_back(patterns);
        }
        for (std::size_t i = 0; i + 1 < texts.size(); i += 2)
            specs.push_back({texts[i].c_str(), texts[i + 1].c_str()});
    }
};

void startIn(IFileDialog& dialog, const std::filesystem::path& folder) {
    if (folder.empty())
        return;
    ComPtr<IShellItem> item;
    if (SUCCEEDED(
            SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_IShellItem, item.outVoid())))
        dialog.SetFolder(item.get());
}

std::optional<std::filesystem::path> chosenPath(IFileDialog& dialog) {
    ComPtr<IShellItem> item;
    PWSTR name = nullptr;
    if (FAILED(dialog.GetResult(item.out())) ||
        FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &name)) || !name)
        return std::nullopt;
    std::filesystem::path path(name);
    CoTaskMemFree(name);
    return path;
}

// Shows a file dialog that asks `question`; the chosen path and type.
std::optional<SavePlace> show(Owner owner, IFileDialog& dialog, const FileQuestion& question,
                              FILEOPENDIALOGOPTIONS options) {
    const TypeList types(question.types);
    DWORD current = 0;
    dialog.GetOptions(&current);
    dialog.SetOptions(current | options | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
    dialog.SetTitle(wide(question.title).c_str());
    if (!types.specs.empty()) {
        dialog.SetFileTypes(static_cast<UINT>(types.specs.size()), types.specs.data());
        dialog.SetFileTypeIndex(static_cast<UINT>(question.chosenType + 1));
    }
    // A folder, or a folder and the name suggested in it.
    std::error_code error;
    if (question.start.empty() || std::filesystem::is_directory(question.start, error)) {
        startIn(dialog, question.start);
    } else {
        startIn(dialog, question.start.parent_path());
        dialog.SetFileName(question.start.filename().c_str());
    }
    if (FAILED(dialog.Show(windowOf(owner))))
        return std::nullopt;
    auto path = chosenPath(dialog);
    if (!path)
        return std::nullopt;
    UINT type = 1;
    dialog.GetFileTypeIndex(&type);
    return SavePlace{std::move(*path), type > 0 ? type - 1 : 0};
}

int showMessage(Owner owner, const std::string& text, UINT style) {
    return MessageBoxW(windowOf(owner), wide(text).c_str(), wide(design::productTitle()).c_str(),
                       style);
}

} // namespace

std::optional<std::filesystem::path> ShellAsker::openFile(Owner owner,
                                                          const FileQuestion& question) {
    auto dialog = ComPtr<IFileOpenDialog>::make(CLSID_FileOpenDialog, IID_IFileOpenDialog);
    if (!dialog.get())
        return std::nullopt;
    auto chosen = show(owner, *dialog.get(), question, FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST);
    if (!chosen)
        return std::nullopt;
    return std::move(chosen->path);
}

std::optional<SavePlace> ShellAsker::saveFile(Owner owner, const FileQuestion& question) {
    // The dialog asks before a name that exists is chosen; a name typed
    // without an extension is left so, for the flow to give it the chosen
    // type's and ask about that name.
    auto dialog = ComPtr<IFileSaveDialog>::make(CLSID_FileSaveDialog, IID_IFileSaveDialog);
    if (!dialog.get())
        return std::nullopt;
    return show(owner, *dialog.get(), question, FOS_OVERWRITEPROMPT | FOS_PATHMUSTEXIST);
}

std::optional<FolderAnswer> ShellAsker::chooseFolder(Owner owner, const FolderQuestion& question) {
    auto dialog = ComPtr<IFileOpenDialog>::make(CLSID_FileOpenDialog, IID_IFileOpenDialog);
    if (!dialog.get())
        return std::nullopt;
    ComPtr<IFileDialogCustomize> customize;
    const std::vector<std::string>& choices = question.choices;
    if (!choices.empty() &&
        SUCCEEDED(dialog->QueryInterface(IID_IFileDialogCustomize, customize.outVoid()))) {
        customize->StartVisualGroup(ChoiceList + 1, wide(question.choiceLabel).c_str());
        customize->AddComboBox(ChoiceList);
        for (std::size_t i = 0; i < choices.size(); ++i)
            customize->AddControlItem(ChoiceList, static_cast<DWORD>(i), wide(choices[i]).c_str());
        customize->SetSelectedControlItem(ChoiceList, 0);
        customize->EndVisualGroup();
    }
    FileQuestion folders{question.title, {}, {}};
    std::error_code error;
    if (std::filesystem::is_directory(question.start, error))
        folders.start = question.start;
    const auto chosen = show(owner, *dialog.get(), folders, FOS_PICKFOLDERS | FOS_PATHMUSTEXIST);
    if (!chosen)
        return std::nullopt;
    DWORD choice = 0;
    if (customize.get() && FAILED(customize->GetSelectedControlItem(ChoiceList, &choice)))
        choice = 0;
    return FolderAnswer{chosen->path, choice < choices.size() ? choice : 0};
}

Reply ShellAsker::ask(Owner owner, const std::string& question, bool offersCancel) {
    // No is chosen at first; Esc answers Cancel where it is offered.
    const int answer =
        showMessage(owner, question,
                    (offersCancel ? MB_YESNOCANCEL : MB_YESNO) | MB_ICONQUESTION | MB_DEFBUTTON2);
    return answer == IDYES  ? Reply::Yes
           : answer == IDNO ? Reply::No
           : offersCancel   ? Reply::Cancel
                            : Reply::No;
}

void ShellAsker::tell(Owner owner, const std::string& message) {
    showMessage(owner, message, MB_OK | MB_ICONWARNING);
}

void ShellAsker::inform(Owner owner, const std::string& message) {
    showMessage(owner, message, MB_OK | MB_ICONINFORMATION);
}

} // namespace orvu::win32
