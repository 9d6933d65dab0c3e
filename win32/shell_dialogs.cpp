#include "win32/shell_dialogs.h"

#include "harvest/window_design.h"
#include "win32/com_ptr.h"
#include "win32/wide_text.h"

#include <shobjidl.h>

namespace orvu::win32::shellDialogs {
namespace {

constexpr DWORD ChoiceList = 1; // the id of the list a folder dialog adds

// The type list as the dialog takes it; the texts live as long as the list.
struct TypeList {
    std::vector<std::wstring> texts;
    std::vector<COMDLG_FILTERSPEC> specs;

    explicit TypeList(const std::vector<FileType>& types) {
        texts.reserve(types.size() * 2);
        for (const FileType& type : types) {
            texts.push_back(wide(type.name));
            std::wstring pattern = wide(type.pattern);
            for (wchar_t& c : pattern) {
                if (c == L' ')
                    c = L';';
            }
            texts.push_back(pattern);
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

// Shows a file dialog of the request; the chosen path and type.
std::optional<FileChoice> show(HWND owner, IFileDialog& dialog, const FileRequest& request,
                               FILEOPENDIALOGOPTIONS options) {
    const TypeList types(request.types);
    DWORD current = 0;
    dialog.GetOptions(&current);
    dialog.SetOptions(current | options | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
    dialog.SetTitle(wide(request.title).c_str());
    if (!types.specs.empty()) {
        dialog.SetFileTypes(static_cast<UINT>(types.specs.size()), types.specs.data());
        dialog.SetFileTypeIndex(static_cast<UINT>(request.chosenType + 1));
    }
    startIn(dialog, request.folder);
    if (!request.name.empty())
        dialog.SetFileName(request.name.c_str());
    if (FAILED(dialog.Show(owner)))
        return std::nullopt;
    auto path = chosenPath(dialog);
    if (!path)
        return std::nullopt;
    UINT type = 1;
    dialog.GetFileTypeIndex(&type);
    return FileChoice{std::move(*path), type > 0 ? type - 1 : 0};
}

} // namespace

std::optional<FileChoice> openFile(HWND owner, const FileRequest& request) {
    auto dialog = ComPtr<IFileOpenDialog>::make(CLSID_FileOpenDialog, IID_IFileOpenDialog);
    if (!dialog.get())
        return std::nullopt;
    return show(owner, *dialog.get(), request, FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST);
}

std::optional<FileChoice> saveFile(HWND owner, const FileRequest& request) {
    auto dialog = ComPtr<IFileSaveDialog>::make(CLSID_FileSaveDialog, IID_IFileSaveDialog);
    if (!dialog.get())
        return std::nullopt;
    return show(owner, *dialog.get(), request, FOS_OVERWRITEPROMPT | FOS_PATHMUSTEXIST);
}

std::optional<std::filesystem::path> chooseFolder(HWND owner, const std::string& title) {
    const auto chosen = chooseFolderAnd(owner, title, {}, {});
    if (!chosen)
        return std::nullopt;
    return chosen->folder;
}

std::optional<FolderChoice> chooseFolderAnd(HWND owner, const std::string& title,
                                            const std::string& label,
                                            const std::vector<std::string>& choices) {
    auto dialog = ComPtr<IFileOpenDialog>::make(CLSID_FileOpenDialog, IID_IFileOpenDialog);
    if (!dialog.get())
        return std::nullopt;
    ComPtr<IFileDialogCustomize> customize;
    if (!choices.empty() &&
        SUCCEEDED(dialog->QueryInterface(IID_IFileDialogCustomize, customize.outVoid()))) {
        customize->StartVisualGroup(ChoiceList + 1, wide(label).c_str());
        customize->AddComboBox(ChoiceList);
        for (std::size_t i = 0; i < choices.size(); ++i)
            customize->AddControlItem(ChoiceList, static_cast<DWORD>(i), wide(choices[i]).c_str());
        customize->SetSelectedControlItem(ChoiceList, 0);
        customize->EndVisualGroup();
    }
    FileRequest request;
    request.title = title;
    const auto chosen = show(owner, *dialog.get(), request, FOS_PICKFOLDERS | FOS_PATHMUSTEXIST);
    if (!chosen)
        return std::nullopt;
    DWORD choice = 0;
    if (customize.get() && FAILED(customize->GetSelectedControlItem(ChoiceList, &choice)))
        choice = 0;
    return FolderChoice{chosen->path, choice < choices.size() ? choice : 0};
}

void tell(HWND owner, const std::string& message, Tone tone) {
    const UINT icon = tone == Tone::Problem    ? MB_ICONWARNING
                      : tone == Tone::Question ? MB_ICONQUESTION
                                               : MB_ICONINFORMATION;
    MessageBoxW(owner, wide(message).c_str(), wide(design::productTitle()).c_str(), MB_OK | icon);
}

Answer ask(HWND owner, const std::string& question, bool withCancel) {
    const int answer =
        MessageBoxW(owner, wide(question).c_str(), wide(design::productTitle()).c_str(),
                    (withCancel ? MB_YESNOCANCEL : MB_YESNO) | MB_ICONQUESTION);
    return answer == IDYES ? Answer::Yes : answer == IDNO ? Answer::No : Answer::Cancel;
}

} // namespace orvu::win32::shellDialogs
