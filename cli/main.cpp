// orvu-icons-cli: the icon harvest without a window.
//
//   orvu-icons-cli cells FILE...
//       One line per file: the path, a TAB, the number of icons, a TAB, and
//       each icon's large image drawn on white as 32 x 32 RGB in hex,
//       separated by '|' ("null" for an icon without a usable image).
//   orvu-icons-cli scan DIR [--pattern GLOB]
//       Walks the tree as the folder harvest does and harvests every match
//       (default "*.exe", any letter case); the last line gives the files
//       matched, the icons and the seconds.

#include "harvest/folder_scan.h"
#include "harvest/headless_window.h"
#include "harvest/icon_cell.h"
#include "platform/icon_files.h"
#include "platform/path_text.h"

#ifdef _WIN32
#include "png/wic_png_decoder.h"
#else
#include "png/libpng_decoder.h"
#endif

#ifdef _WIN32
#include "platform/windows_api.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

using orvu::IconLibrary;

constexpr const char* Usage = "usage: orvu-icons-cli cells FILE... | scan DIR [--pattern GLOB]";
constexpr std::uint32_t White = 0xFFFFFF;

const orvu::PngDecoder* pngDecoder() {
#ifdef _WIN32
    static const orvu::WicPngDecoder decoder;
#else
    static const orvu::LibpngDecoder decoder;
#endif
    return &decoder;
}

std::filesystem::path pathFromArgument(const char* argument) {
#ifdef _WIN32
    return std::filesystem::u8path(argument);
#else
    return std::filesystem::path(argument);
#endif
}

// Standard output, every write checked: output that can't be written (a
// full disk, a closed pipe) ends the tool with an error, never a success.
class Output {
public:
    void write(const std::string& text) {
        if (m_error == 0 && std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
            failed();
    }
    // Flushes and closes; false when anything written was lost, error() then says why.
    bool finish() {
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            failed();
        if (std::fclose(stdout) != 0)
            failed();
        return m_error == 0;
    }
    int error() const { return m_error; }

private:
    void failed() {
        if (m_error == 0)
            m_error = errno != 0 ? errno : EIO;
    }

    int m_error = 0;
};

void appendCell(std::string& line, IconLibrary& library, std::uint32_t k, orvu::Surface& preview) {
    static constexpr char Hex[] = "0123456789abcdef";
    const auto icon = library.largeIcon(k);
    if (!icon) {
        line += "null";
        return;
    }
    const orvu::IconCell cell = orvu::renderCell(preview, White, &*icon);
    for (std::uint32_t pixel : cell.pixels) {
        for (int shift = 20; shift >= 0; shift -= 4)
            line += Hex[(pixel >> shift) & 0xF];
    }
}

int printCells(const std::vector<const char*>& files, Output& out) {
    int status = 0;
    orvu::Surface preview = orvu::Surface::filled(orvu::PreviewSize, orvu::PreviewSize, White);
    for (const char* file : files) {
        auto library = orvu::openIconLibrary(pathFromArgument(file), pngDecoder());
        if (!library) {
            std::fprintf(stderr, "orvu-icons-cli: cannot read %s: %s\n", file,
                         orvu::describe(library.failure()).c_str());
            status = 1;
            continue;
        }
        const std::uint32_t count = library->count();
        // Written cell by cell: a file of 65 535 icons makes a line of 400 MB.
        std::string line = std::string(file) + '\t' + std::to_string(count) + '\t';
        for (std::uint32_t k = 0; k < count; ++k) {
            if (k != 0)
                line += '|';
            appendCell(line, *library, k, preview);
            out.write(line);
            line.clear();
        }
        line += '\n';
        out.write(line);
    }
    return status;
}

int scan(const char* folder, const std::string& pattern, Output& out) {
    const std::filesystem::path root = pathFromArgument(folder);
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        std::fprintf(stderr, "orvu-icons-cli: not a folder: %s\n", folder);
        return 1;
    }
    orvu::HeadlessWindow window;
    window.setKeepCells(false);
    window.setKeepStatusHistory(false);
    orvu::FolderKeys keys;
    orvu::FolderScan scan(window, keys, pngDecoder());
    const auto start = std::chrono::steady_clock::now();
    scan.run(root, pattern);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    for (const orvu::messages::Skipped& skipped : scan.skipped()) {
        std::fprintf(stderr, "orvu-icons-cli: skipped %s: %s\n",
                     orvu::displayText(skipped.path).c_str(),
                     orvu::describe(skipped.failure).c_str());
    }
    char summary[128];
    std::snprintf(summary, sizeof summary, "%llu files matched, %zu icons, %.6f seconds\n",
                  static_cast<unsigned long long>(scan.filesMatched()), window.imageCount(),
                  seconds.count());
    out.write(summary);
    return scan.skipped().empty() ? 0 : 1;
}

#ifdef _WIN32
std::string utf8FromWide(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
    out.pop_back(); // the terminating zero
    return out;
}

// The arguments as UTF-8, from the wide command line: main's own arguments
// come in the ANSI code page, which can't hold every file name. Output goes
// out as UTF-8 with plain line feeds, the same bytes as on other systems.
std::vector<std::string> commandLine(int argc, char** argv) {
    std::vector<std::string> result;
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            result.push_back(utf8FromWide(wide[i]));
        LocalFree(wide);
    } else {
        result.assign(argv, argv + argc);
    }
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    return result;
}
#else
std::vector<std::string> commandLine(int argc, char** argv) {
    return {argv, argv + argc};
}
#endif

} // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // A scan allocates and frees a few kilobytes per file on each thread;
    // growing the heap in large steps spares a system call every few files.
    mallopt(M_TOP_PAD, 4 << 20);
#endif
    const std::vector<std::string> line = commandLine(argc, argv);
    std::vector<const char*> arguments;
    for (std::size_t i = 1; i < line.size(); ++i)
        arguments.push_back(line[i].c_str());
    Output out;
    int status = 2;
    if (arguments.size() >= 2 && std::string_view(arguments[0]) == "cells")
        status = printCells({arguments.begin() + 1, arguments.end()}, out);
    else if (arguments.size() == 2 && std::string_view(arguments[0]) == "scan")
        status = scan(arguments[1], orvu::ExecutablePattern, out);
    else if (arguments.size() == 4 && std::string_view(arguments[0]) == "scan" &&
             std::string_view(arguments[2]) == "--pattern")
        status = scan(arguments[1], arguments[3], out);
    else
        std::fprintf(stderr, "%s\n", Usage);
    if (!out.finish()) {
        std::fprintf(stderr, "orvu-icons-cli: cannot write the output: %s\n",
                     std::strerror(out.error()));
        return 1;
    }
    return status;
}
