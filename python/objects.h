#pragma once

// The module's objects over the C interface: an open file, its icons, their
// images and decoded pixels. Every call that reads or decodes runs without
// the GIL.

#include "errors.h"

#include <memory>
#include <optional>
#include <pybind11/pybind11.h>
#include <vector>

namespace orvu::python {

// The open file that an IconFile and its icons share. Closing drops the
// handle; a call still running on it keeps it until it returns.
struct OpenFile {
    std::shared_ptr<orvu_icons_file> handle;
    pybind11::object name; // the path as given, or None for data in memory

    std::shared_ptr<orvu_icons_file> acquire() const;
};

// Takes the GIL back after a call that ran without it. A daemon thread that
// comes back while the interpreter is finalizing is ended by Python with
// pthread_exit; its unwind would run the destructors of Python objects
// without the GIL, and end the process where it meets a noexcept one. Such
// a thread waits here for the process to end instead.
void retakeGil(PyThreadState* state);

// Runs `call` without the GIL and returns what it returns.
template <typename Call> auto withoutGil(Call&& call) {
    PyThreadState* const state = PyEval_SaveThread();
    std::optional<decltype(call())> result;
    try {
        result.emplace(call());
    } catch (...) {
        retakeGil(state);
        throw;
    }
    retakeGil(state);
    return std::move(*result);
}

// Runs `call` (returning an orvu_icons_status) without the GIL and raises
// what it failed with.
template <typename Call> void checked(const OpenFile& file, Call&& call) {
    const auto [status, failure] = withoutGil([&] {
        const orvu_icons_status result = call();
        return std::pair{result,
                         result == ORVU_ICONS_OK ? CallFailure{} : CallFailure::last(result)};
    });
    if (status != ORVU_ICONS_OK)
        raise(failure, file.name);
}

// Pixels the library decoded or drew: height rows of width RGBA pixels;
// a cursor drawn has the hotspot Windows reports for it.
class Pixels {
public:
    Pixels(std::uint8_t* data, std::uint32_t width, std::uint32_t height)
        : m_data(data, orvu_icons_free), m_width(width), m_height(height) {}

    std::uint32_t width() const { return m_width; }
    std::uint32_t height() const { return m_height; }
    pybind11::buffer_info buffer() const;
    pybind11::bytes toBytes() const;
    std::optional<std::pair<std::int32_t, std::int32_t>> hotspot;

private:
    std::unique_ptr<std::uint8_t, decltype(&orvu_icons_free)> m_data;
    std::uint32_t m_width;
    std::uint32_t m_height;
};

// The kind "icon", "cursor" or "animated" names; ValueError for another name.
orvu_icons_kind kindNamed(const std::string& name);
const char* kindName(orvu_icons_kind kind);

class IconFile {
public:
    IconFile(const pybind11::object& path, const std::optional<pybind11::buffer>& data);

    void close() { m_file->handle.reset(); }
    bool closed() const { return !m_file->handle; }
    std::uint32_t count() const { return m_count; }
    const pybind11::object& name() const { return m_file->name; }
    const std::shared_ptr<OpenFile>& file() const { return m_file; }
    // Icon `index`, counted from the end where negative.
    std::uint32_t position(std::int64_t index) const;
    // How many groups of `kind` the file holds.
    std::uint32_t count(orvu_icons_kind kind) const;

private:
    std::shared_ptr<OpenFile> m_file;
    std::uint32_t m_count = 0;
};

// A group of images of any kind: an icon, a cursor or an animated one.
class Icon {
public:
    Icon(pybind11::object file, std::shared_ptr<OpenFile> open, std::uint32_t index,
         orvu_icons_kind kind = ORVU_ICONS_KIND_ICON)
        : m_fileObject(std::move(file)), m_file(std::move(open)), m_index(index), m_kind(kind) {}

    const pybind11::object& file() const { return m_fileObject; }
    std::uint32_t index() const { return m_index; }
    orvu_icons_kind kind() const { return m_kind; }
    // The description, read on first use.
    const orvu_icons_icon& description();
    std::size_t imageCount() { return orvu_icons_icon_image_count(&description()); }
    orvu_icons_image_info imageInfo(std::size_t image);
    std::optional<std::size_t> imageForSize(int size);
    std::optional<std::pair<std::uint32_t, std::uint32_t>> resourceEntry();

    // The group as a file of its kind (.ico, .cur, .ani); ValueError when
    // `kind` is not the group's.
    pybind11::bytes fileOfKind(orvu_icons_kind kind);
    pybind11::bytes png(std::optional<int> size);
    Pixels draw(int size, std::uint32_t background);
    pybind11::bytes imagePng(std::size_t image);
    Pixels imageRgba(std::size_t image);

private:
    pybind11::object m_fileObject;
    std::shared_ptr<OpenFile> m_file;
    std::uint32_t m_index;
    orvu_icons_kind m_kind;
    std::shared_ptr<orvu_icons_icon> m_description;
};

} // namespace orvu::python
