#pragma once

#include "icons/result.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvu {

// Where the paths that shortcuts and icon references write lead on this
// system: "%SystemRoot%\System32\shell32.dll", "C:\Program Files\App\app.exe",
// "..\Tools\tool.exe".
//
// A Windows root is a folder that holds a Windows installation's drive C: (a
// Wine prefix's drive_c, a mounted Windows partition). Under it, a Windows
// path's names are found as Windows finds them, in any letter case, and
// environment variables have a Windows installation's values. Without one,
// a Windows program reads the system's own; elsewhere a Windows path is
// refused (Unresolved), since there is nothing to find it in.
//
// Listings of the folders looked through in any letter case are kept for
// the object's life: make one for a command or an open call.
class WindowsPaths {
public:
    explicit WindowsPaths(std::optional<std::filesystem::path> root = std::nullopt)
        : m_root(std::move(root)) {}

    const std::optional<std::filesystem::path>& root() const { return m_root; }

    // Whether `text` is a path from a Windows system's root: it starts with
    // a drive ("C:\", "c:/"), a backslash, or is a network path
    // ("\\server\share").
    static bool isWindowsPath(std::string_view text);

    // An environment variable's value, its name in any letter case: with a
    // root, a Windows installation's (SystemRoot and windir C:\Windows,
    // SystemDrive C:, ProgramFiles, ProgramFiles(x86), ProgramW6432,
    // CommonProgramFiles and its kin, ProgramData, ALLUSERSPROFILE, PUBLIC);
    // without one, in a Windows program, the process's own; else none.
    std::optional<std::string> variable(std::string_view name) const;

    // The file or folder `text` (UTF-8 on Windows, the file system's bytes
    // elsewhere) names, its %VARIABLES% expanded. A Windows path: under the
    // root (its drive must be C:; ".." never leaves the root), or in a
    // Windows program without a root as it stands. Any other path: where
    // `folder` is given (the folder of a shortcut, which Windows wrote),
    // from there; otherwise (a path given on this system) as it stands.
    // Under the root and from `folder`, each name is taken as it is where
    // that exists, or else found in any letter case, "\" and "/" alike
    // separating names. Fails (System, "no such file") where a name isn't
    // there, or (Unresolved) for a variable it doesn't know, a Windows path
    // without a root, another drive, a network path under a root. The
    // failure's detail doesn't repeat `text`.
    Result<std::filesystem::path> locate(std::string_view text,
                                         const std::optional<std::filesystem::path>& folder) const;

    // `name` (one name) in `folder`: as it is, or where that is not there,
    // the first name of the folder that is the same in any letter case.
    std::optional<std::filesystem::path> findName(const std::filesystem::path& folder,
                                                  std::string_view name) const;

private:
    // The path `names` ("\"- or "/"-separated) lead to from `start`, never
    // above `floor` where one is given.
    Result<std::filesystem::path> walk(const std::filesystem::path& start, std::string_view names,
                                       const std::optional<std::filesystem::path>& floor) const;

    std::optional<std::filesystem::path> m_root;
    // Per folder looked through: each name's case-insensitive key, and the name.
    mutable std::map<std::filesystem::path, std::map<std::string, std::string>> m_listings;
};

// The path that `text` names: the file system's bytes, or on Windows UTF-8.
std::filesystem::path pathOfText(std::string_view text);
// And back: a path's text as pathOfText takes it.
std::string textOfPath(const std::filesystem::path& path);

} // namespace orvu
