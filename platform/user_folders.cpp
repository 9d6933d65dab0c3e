#include "platform/user_folders.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace orvu {
namespace {

// The variable's value as a path; empty where it is not set.
std::filesystem::path environmentPath(const char* variable) {
#ifdef _WIN32
    const std::string name(variable);
    const wchar_t* value = _wgetenv(std::wstring(name.begin(), name.end()).c_str());
#else
    const char* value = std::getenv(variable);
#endif
    return value ? std::filesystem::path(value) : std::filesystem::path();
}

} // namespace

std::filesystem::path environmentFolder(const char* variable) {
    std::filesystem::path folder = environmentPath(variable);
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error))
        return {};
    return folder;
}

std::filesystem::path homeFolder() {
#ifdef _WIN32
    std::filesystem::path home = environmentPath("USERPROFILE");
#else
    std::filesystem::path home = environmentPath("HOME");
#endif
    return home.empty() ? rootFolder() : home;
}

std::filesystem::path rootFolder() {
    std::error_code error;
    std::filesystem::path root = std::filesystem::current_path(error).root_path();
    if (error || root.empty())
        return std::filesystem::path("/");
    return root;
}

} // namespace orvu
