// orvu_icons._native: the Python face of liborvu-icons (see orvu_icons/__init__.py).

#include "objects.h"

#include <pybind11/stl.h>

namespace py = pybind11;
using namespace orvu::python;

namespace {

const char* formatName(std::int32_t format) {
    switch (format) {
    case ORVU_ICONS_FORMAT_DIB:
        return "dib";
    case ORVU_ICONS_FORMAT_PNG:
        return "png";
    default:
        return "missing";
    }
}

// One image of an icon, as its directory describes it.
struct Image {
    py::object icon;
    std::size_t index;
    orvu_icons_image_info info;

    Icon& owner() const { return icon.cast<Icon&>(); }
};

py::object imageOrNone(const py::object& icon, std::optional<std::size_t> index) {
    if (!index)
        return py::none();
    return py::cast(Image{icon, *index, icon.cast<Icon&>().imageInfo(*index)});
}

std::string describeIcon(Icon& icon) {
    const orvu_icons_icon& description = icon.description();
    std::string text = "<orvu_icons.Icon ";
    if (icon.kind() != ORVU_ICONS_KIND_ICON)
        text += kindName(icon.kind()) + std::string(" ");
    text += std::to_string(icon.index());
    if (const char* name = orvu_icons_icon_name(&description))
        text += std::string(" name=") + py::repr(py::str(name)).cast<std::string>();
    else if (orvu_icons_icon_id(&description) >= 0)
        text += " id=" + std::to_string(orvu_icons_icon_id(&description));
    return text + " images=" + std::to_string(icon.imageCount()) + ">";
}

// Whether the C++ object of `self`, an instance of a bound class, was made.
// One made by __new__ alone has none, and pybind11 would hand its methods
// memory that no constructor ran on.
bool made(py::handle self) {
    auto* instance = reinterpret_cast<py::detail::instance*>(self.ptr());
    return instance->get_value_and_holder().holder_constructed();
}

// The IconFile of `self`, which every method of IconFile takes through here.
IconFile& fileOf(py::handle self) {
    if (!py::isinstance<IconFile>(self))
        throw py::type_error(
            "an IconFile is needed, not " +
            py::str(py::type::handle_of(self).attr("__name__")).cast<std::string>());
    if (!made(self))
        throw py::type_error("IconFile.__init__() was not called: the object holds no file");
    return self.cast<IconFile&>();
}

// Icons, their images and pixels come only from an IconFile: made by
// __new__, they would hold no icon.
PyObject* refuseNew(PyTypeObject* type, PyObject*, PyObject*) {
    PyErr_Format(PyExc_TypeError, "cannot create '%s' instances: an IconFile gives them",
                 type->tp_name);
    return nullptr;
}

const py::custom_type_setup madeByIconFile{
    [](PyHeapTypeObject* type) { type->ht_type.tp_new = refuseNew; }};

} // namespace

PYBIND11_MODULE(_native, module) {
    module.doc() = "The icons of Windows executables and icon files, read as Windows reads them.";
    module.attr("library_version") = orvu_icons_version();
    addErrors(module);

    py::class_<Pixels>(module, "Pixels", py::buffer_protocol(), madeByIconFile,
                       "Pixels of an image: `height` rows of `width` pixels, 4 bytes each in "
                       "the order R, G, B, A, alpha not premultiplied. A read-only buffer of "
                       "shape (height, width, 4): numpy.asarray(pixels) and Pillow's "
                       "Image.frombuffer('RGBA', pixels.size, pixels, 'raw', 'RGBA', 0, 1) "
                       "take it without a copy; bytes(pixels) copies it.")
        .def_buffer(&Pixels::buffer)
        .def_property_readonly("width", &Pixels::width)
        .def_property_readonly("height", &Pixels::height)
        .def_property_readonly(
            "size",
            [](const Pixels& pixels) { return py::make_tuple(pixels.width(), pixels.height()); })
        .def_property_readonly("mode", [](const Pixels&) { return "RGBA"; })
        .def_readonly("hotspot", &Pixels::hotspot,
                      "A cursor drawn: (x, y), the hotspot Windows reports for it at the size "
                      "drawn; None for an icon or an image.")
        .def("__bytes__", &Pixels::toBytes)
        .def("__repr__", [](const Pixels& pixels) {
            return "<orvu_icons.Pixels " + std::to_string(pixels.width()) + "x" +
                   std::to_string(pixels.height()) + " RGBA>";
        });

    py::class_<Image>(module, "Image", madeByIconFile,
                      "One image of an icon as its directory describes it.")
        .def_readonly("icon", &Image::icon)
        .def_readonly("index", &Image::index, "Its place in the icon's directory, from 0.")
        .def_property_readonly("width", [](const Image& image) { return image.info.width; })
        .def_property_readonly("height", [](const Image& image) { return image.info.height; })
        .def_property_readonly(
            "bits", [](const Image& image) { return image.info.bits; }, "Bits per pixel.")
        .def_property_readonly(
            "colours", [](const Image& image) { return image.info.colours; },
            "The directory's colour count, 0 for 256 or more.")
        .def_property_readonly(
            "format", [](const Image& image) { return formatName(image.info.format); },
            "'dib', 'png', or 'missing' for an image the file lacks.")
        .def_property_readonly(
            "byte_count", [](const Image& image) { return image.info.bytes; },
            "Its size as stored; 0 for a missing image.")
        .def_property_readonly(
            "hotspot",
            [](const Image& image) -> py::object {
                if (!image.info.has_hotspot)
                    return py::none();
                return py::make_tuple(image.info.hotspot_x, image.info.hotspot_y);
            },
            "A cursor image's hotspot as stored, (x, y) from its top-left corner; None for "
            "an icon's image or a missing one.")
        .def(
            "rgba", [](const Image& image) { return image.owner().imageRgba(image.index); },
            "The image decoded at its natural size, as Pixels; without an alpha channel, one "
            "made from its mask.")
        .def(
            "png", [](const Image& image) { return image.owner().imagePng(image.index); },
            "The image as a PNG file (bytes), 8-bit RGBA.")
        .def("__repr__", [](const Image& image) {
            return "<orvu_icons.Image " + std::to_string(image.info.width) + "x" +
                   std::to_string(image.info.height) + " " + std::to_string(image.info.bits) +
                   "-bit " + formatName(image.info.format) + ">";
        });

    py::class_<Icon>(module, "Icon", madeByIconFile,
                     "One icon of a file, or one cursor or animated cursor (see kind). Its "
                     "description is read on first use.")
        .def_property_readonly("file", &Icon::file)
        .def_property_readonly("index", &Icon::index,
                               "Its position among the file's groups of its kind, from 0.")
        .def_property_readonly(
            "kind", [](const Icon& icon) { return kindName(icon.kind()); },
            "'icon', 'cursor' or 'animated' (an animated cursor or icon, whose images are "
            "those of the frame its first step shows).")
        .def_property_readonly(
            "id",
            [](Icon& icon) -> py::object {
                const std::int32_t id = orvu_icons_icon_id(&icon.description());
                return id < 0 ? py::object(py::none()) : py::int_(id);
            },
            "The resource id, or None for a named resource or an icon file.")
        .def_property_readonly(
            "name",
            [](Icon& icon) -> py::object {
                const char* name = orvu_icons_icon_name(&icon.description());
                return name ? py::object(py::str(name)) : py::none();
            },
            "A named resource's name, or None.")
        .def_property_readonly(
            "language",
            [](Icon& icon) -> py::object {
                const std::int32_t language = orvu_icons_icon_language(&icon.description());
                return language < 0 ? py::object(py::none()) : py::int_(language);
            },
            "The resource's language id (1033, 0 for neutral), or None in an icon file.")
        .def_property_readonly(
            "images",
            [](py::object self) {
                Icon& icon = self.cast<Icon&>();
                py::tuple images(icon.imageCount());
                for (std::size_t i = 0; i < icon.imageCount(); ++i)
                    images[i] = py::cast(Image{self, i, icon.imageInfo(i)});
                return images;
            },
            "Every image, in directory order, missing ones included.")
        .def_property_readonly(
            "large",
            [](py::object self) { return imageOrNone(self, self.cast<Icon&>().imageForSize(32)); },
            "The image Windows shows at 32 x 32 (a cursor's by Windows' rule for cursors), or "
            "None for an icon without images.")
        .def(
            "image_for_size",
            [](py::object self, int size) {
                return imageOrNone(self, self.cast<Icon&>().imageForSize(size));
            },
            py::arg("size"), "The image Windows shows at size x size (1 to 256).")
        .def_property_readonly(
            "resource_entry", &Icon::resourceEntry,
            "(Name, OffsetToData) of the icon's entry in a PE file's RT_GROUP_ICON directory, "
            "as stored; None in other files.")
        .def(
            "ico", [](Icon& icon) { return icon.fileOfKind(ORVU_ICONS_KIND_ICON); },
            "The whole icon as an .ico file (bytes): every image the file holds, as stored. "
            "ValueError for a cursor.")
        .def(
            "cur", [](Icon& icon) { return icon.fileOfKind(ORVU_ICONS_KIND_CURSOR); },
            "The whole cursor as a .cur file (bytes): every image the file holds, as stored, "
            "each with its hotspot. ValueError for another kind.")
        .def(
            "ani", [](Icon& icon) { return icon.fileOfKind(ORVU_ICONS_KIND_ANIMATED); },
            "The animated cursor or icon as an .ani file (bytes), exactly as stored. "
            "ValueError for another kind.")
        .def("png", &Icon::png, py::arg("size") = py::none(),
             "A PNG file (bytes) of the image Windows shows at size x size, or of the largest.")
        .def("draw", &Icon::draw, py::arg("size"), py::arg("background") = 0xFFFFFF,
             "The icon drawn as Windows draws it at size x size over the colour 0xRRGGBB, as "
             "Pixels; a cursor with its hotspot (Pixels.hotspot), an animated one at its first "
             "step.")
        .def("__repr__", &describeIcon);

    py::class_<IconFile>(module, "IconFile",
                         "An executable (PE or NE) or icon file, open until close(). Index it "
                         "or iterate over it for its icons.")
        .def(py::init<py::object, std::optional<py::buffer>>(), py::arg("path") = py::none(),
             py::kw_only(), py::arg("data") = py::none())
        .def_property_readonly(
            "name", [](py::handle self) { return fileOf(self).name(); }, "The path given, or None.")
        .def_property_readonly("closed", [](py::handle self) { return fileOf(self).closed(); })
        .def("close", [](py::handle self) { fileOf(self).close(); })
        .def("__enter__",
             [](py::object self) {
                 fileOf(self);
                 return self;
             })
        .def("__exit__", [](py::handle self, const py::args&) { fileOf(self).close(); })
        .def("__len__", [](py::handle self) { return fileOf(self).count(ORVU_ICONS_KIND_ICON); })
        .def(
            "count",
            [](py::handle self, const std::string& kind) {
                return fileOf(self).count(kindNamed(kind));
            },
            py::arg("kind") = "icon", "How many groups of the kind the file holds.")
        .def(
            "groups",
            [](py::object self, const std::optional<std::string>& kind) {
                const IconFile& file = fileOf(self);
                std::vector<orvu_icons_kind> kinds{ORVU_ICONS_KIND_ICON, ORVU_ICONS_KIND_CURSOR,
                                                   ORVU_ICONS_KIND_ANIMATED};
                if (kind)
                    kinds = {kindNamed(*kind)};
                py::list groups;
                for (const orvu_icons_kind each : kinds)
                    for (std::uint32_t i = 0, count = file.count(each); i < count; ++i)
                        groups.append(Icon(self, file.file(), i, each));
                return groups;
            },
            py::arg("kind") = py::none(),
            "The groups of the kind ('icon', 'cursor', 'animated'), or of every kind: the "
            "icons, then the cursors, then the animated ones. A list of Icon.")
        .def("__getitem__",
             [](py::object self, std::int64_t index) {
                 const IconFile& file = fileOf(self);
                 return Icon(self, file.file(), file.position(index));
             })
        .def("__repr__", [](py::handle self) -> std::string {
            if (!made(self))
                return "<orvu_icons.IconFile uninitialised>";
            const IconFile& file = fileOf(self);
            return "<orvu_icons.IconFile " + py::repr(file.name()).cast<std::string>() + " " +
                   std::to_string(file.count()) + " icons" + (file.closed() ? " closed>" : ">");
        });
}
