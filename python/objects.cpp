#include "objects.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace py = pybind11;

namespace orvu::python {
namespace {

py::bytes takeBytes(std::uint8_t* data, std::size_t size) {
    const std::unique_ptr<std::uint8_t, decltype(&orvu_icons_free)> owned(data, orvu_icons_free);
    return {reinterpret_cast<const char*>(data), size};
}

// A size icons are shown at, checked here so that the message names Python's value.
int shownSize(int size) {
    if (size < 1 || size > 256)
        throw py::value_error("icons are shown at 1 to 256 pixels, not " + std::to_string(size));
    return size;
}

constexpr std::pair<orvu_icons_kind, const char*> KindNames[] = {
    {ORVU_ICONS_KIND_ICON, "icon"},
    {ORVU_ICONS_KIND_CURSOR, "cursor"},
    {ORVU_ICONS_KIND_ANIMATED, "animated"},
};

} // namespace

orvu_icons_kind kindNamed(const std::string& name) {
    for (const auto& [kind, kindName] : KindNames)
        if (name == kindName)
            return kind;
    throw py::value_error("a kind is 'icon', 'cursor' or 'animated', not " +
                          py::repr(py::str(name)).cast<std::string>());
}

const char* kindName(orvu_icons_kind kind) {
    for (const auto& [known, name] : KindNames)
        if (kind == known)
            return name;
    return "icon";
}

void retakeGil(PyThreadState* state) {
    try {
        PyEval_RestoreThread(state);
    } catch (...) { // only the unwind that ends the thread: the C call throws nothing else
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    }
}

std::shared_ptr<orvu_icons_file> OpenFile::acquire() const {
    if (!handle)
        throw py::value_error("I/O operation on closed file");
    return handle;
}

py::buffer_info Pixels::buffer() const {
    const auto width = static_cast<py::ssize_t>(m_width);
    const auto height = static_cast<py::ssize_t>(m_height);
    return py::buffer_info(m_data.get(), 1, py::format_descriptor<std::uint8_t>::format(), 3,
                           {height, width, py::ssize_t{4}},
                           {width * 4, py::ssize_t{4}, py::ssize_t{1}}, true);
}

py::bytes Pixels::toBytes() const {
    return {reinterpret_cast<const char*>(m_data.get()), std::size_t{m_width} * m_height * 4};
}

IconFile::IconFile(const py::object& path, const std::optional<py::buffer>& data)
    : m_file(std::make_shared<OpenFile>()) {
    orvu_icons_file* opened = nullptr;
    if (!path.is_none()) {
        m_file->name = path;
        const py::bytes encoded = py::module_::import("os").attr("fsencode")(path);
        const std::string bytes = encoded;
        if (std::memchr(bytes.data(), 0, bytes.size()))
            throw py::value_error("embedded null byte");
        checked(*m_file, [&] { return orvu_icons_open(bytes.c_str(), &opened); });
    } else if (data) {
        // The bytes in their logical order: a view with strides (reversed,
        // stepped, a non-contiguous array) is copied into one block first.
        const auto contiguous = py::reinterpret_steal<py::object>(
            PyMemoryView_GetContiguous(data->ptr(), PyBUF_READ, 'C'));
        if (!contiguous)
            throw py::error_already_set();
        const Py_buffer& view = *PyMemoryView_GET_BUFFER(contiguous.ptr());
        const auto size = static_cast<std::size_t>(view.len);
        checked(*m_file, [&] { return orvu_icons_open_memory(view.buf, size, &opened); });
    } else {
        throw py::type_error("IconFile needs a path or data");
    }
    m_file->handle.reset(opened, orvu_icons_close);
    const orvu_icons_status counted = orvu_icons_count(opened, &m_count);
    if (counted != ORVU_ICONS_OK)
        raise(CallFailure::last(counted), m_file->name);
}

std::uint32_t IconFile::position(std::int64_t index) const {
    const std::int64_t position = index < 0 ? index + m_count : index;
    if (position < 0 || position >= m_count)
        throw py::index_error("icon index out of range");
    return static_cast<std::uint32_t>(position);
}

std::uint32_t IconFile::count(orvu_icons_kind kind) const {
    if (kind == ORVU_ICONS_KIND_ICON)
        return m_count;
    const auto handle = m_file->acquire();
    std::uint32_t count = 0;
    checked(*m_file, [&] { return orvu_icons_count_kind(handle.get(), kind, &count); });
    return count;
}

const orvu_icons_icon& Icon::description() {
    if (!m_description) {
        const auto handle = m_file->acquire();
        orvu_icons_icon* described = nullptr;
        checked(*m_file, [&] {
            return orvu_icons_describe_kind(handle.get(), m_kind, m_index, &described);
        });
        // Another thread may have described it meanwhile: the first stays,
        // since references to it may be held.
        if (m_description)
            orvu_icons_icon_free(described);
        else
            m_description.reset(described, orvu_icons_icon_free);
    }
    return *m_description;
}

orvu_icons_image_info Icon::imageInfo(std::size_t image) {
    orvu_icons_image_info info{};
    info.struct_size = sizeof info;
    const orvu_icons_status status = orvu_icons_icon_image(&description(), image, &info);
    if (status != ORVU_ICONS_OK)
        raise(CallFailure::last(status), m_file->name);
    return info;
}

std::optional<std::size_t> Icon::imageForSize(int size) {
    std::size_t image = 0;
    if (orvu_icons_icon_image_for_size(&description(), shownSize(size), &image) != ORVU_ICONS_OK)
        return std::nullopt; // an icon without images
    return image;
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> Icon::resourceEntry() {
    if (m_kind != ORVU_ICONS_KIND_ICON)
        return std::nullopt; // the entry is one of RT_GROUP_ICON
    const auto handle = m_file->acquire();
    std::uint32_t name = 0;
    std::uint32_t offset = 0;
    const orvu_icons_status status = withoutGil(
        [&] { return orvu_icons_resource_entry(handle.get(), m_index, &name, &offset); });
    if (status == ORVU_ICONS_NO_SUCH_ICON)
        return std::nullopt;
    if (status != ORVU_ICONS_OK)
        raise(CallFailure::last(status), m_file->name);
    return std::pair{name, offset};
}

py::bytes Icon::fileOfKind(orvu_icons_kind kind) {
    if (kind != m_kind)
        throw py::value_error(std::string("a ") + kindName(m_kind) + " is not saved as a " +
                              kindName(kind) + " file");
    const auto handle = m_file->acquire();
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
    checked(*m_file,
            [&] { return orvu_icons_kind_file(handle.get(), m_kind, m_index, &data, &size); });
    return takeBytes(data, size);
}

py::bytes Icon::png(std::optional<int> size) {
    const int pixels = size ? shownSize(*size) : 0;
    const auto handle = m_file->acquire();
    std::uint8_t* data = nullptr;
    std::size_t bytes = 0;
    checked(*m_file, [&] {
        return orvu_icons_kind_png_for_size(handle.get(), m_kind, m_index, pixels, &data, &bytes);
    });
    return takeBytes(data, bytes);
}

Pixels Icon::draw(int size, std::uint32_t background) {
    shownSize(size);
    if (background > 0xFFFFFF)
        throw py::value_error("the background is a colour 0xRRGGBB");
    const auto handle = m_file->acquire();
    std::uint8_t* data = nullptr;
    std::int32_t x = 0;
    std::int32_t y = 0;
    checked(*m_file, [&] {
        return orvu_icons_kind_draw(handle.get(), m_kind, m_index, size, background, &data, &x, &y);
    });
    const auto side = static_cast<std::uint32_t>(size);
    Pixels drawn{data, side, side};
    if (m_kind != ORVU_ICONS_KIND_ICON)
        drawn.hotspot = std::pair{x, y};
    return drawn;
}

py::bytes Icon::imagePng(std::size_t image) {
    const auto handle = m_file->acquire();
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
    checked(*m_file, [&] {
        return orvu_icons_kind_image_png(handle.get(), m_kind, m_index, image, &data, &size);
    });
    return takeBytes(data, size);
}

Pixels Icon::imageRgba(std::size_t image) {
    const auto handle = m_file->acquire();
    std::uint8_t* data = nullptr;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    checked(*m_file, [&] {
        return orvu_icons_kind_image_rgba(handle.get(), m_kind, m_index, image, &data, &width,
                                          &height);
    });
    return {data, width, height};
}

} // namespace orvu::python
