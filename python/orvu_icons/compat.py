"""A drop-in for the Python interface of icoextract (0.1.4, as Debian 12 ships it).

    from orvu_icons.compat import IconExtractor, IconExtractorError

    try:
        extractor = IconExtractor("setup.exe")
        extractor.export_icon("setup.ico", num=0)
        data = extractor.get_icon(num=0)          # io.BytesIO of the .ico
    except IconExtractorError:
        pass                                      # no icons, or an invalid icon resource

The same classes, methods, arguments and exceptions, and the same icons in
the same order with the same images byte for byte, also icoextract's later
`resource_id=` keyword and IconNotFoundError. Where they differ:

- A file that is not a PE file (or is damaged so that it can't be read)
  raises FileFormatError, which `except IconExtractorError` catches, and
  `except pefile.PEFormatError` too where pefile is installed; icoextract lets
  pefile's PEFormatError through. NE executables and .ico files, which
  icoextract can't read, work: their icons are listed and extracted. A .cur
  or .ani file, which holds no icons and is no executable, raises
  FileFormatError too, as icoextract's PEFormatError for it. So does data
  given as a str (also a TypeError), which pefile reads as text and refuses.
  A filename that is an int, which pefile takes for a file descriptor,
  raises a TypeError that is also an OSError (what pefile raises for a
  descriptor that isn't open): only paths are read.
- `data` may be any object with the buffer protocol (memoryview, bytearray,
  array, a numpy array, in any layout), read in its logical order; pefile
  takes only bytes and bytearray.
- Only icons are extracted, as by icoextract: an executable's cursors and
  animated cursors are not listed, and one that holds cursors but no icons
  raises NoIconsAvailableError.
- An .ico entry's byte count is the image's true size, where icoextract
  copies it from the group entry even when that lies.
- An icon whose file lacks some of the images its group lists is written
  with the images the file holds (icoextract raises KeyError); one that holds
  none of them, whose group or images lie outside the file or are damaged,
  or whose group Windows refuses (a type that is not an icon, no entries),
  raises DamagedIconError: an InvalidIconDefinitionError and, where pefile
  is installed, a pefile.PEFormatError, as icoextract raises for data it
  can't fetch.
- An index or resource id that the file doesn't have (an index too large
  for any list too) raises IconNotFoundError, an IconExtractorError and an
  IndexError (icoextract 0.1.4 raises IndexError, later versions
  IconNotFoundError).
- `resource_id` also takes a named resource's name, in any letter case.
- export_icon() writes its file only once the icon has been read: a failure
  leaves no empty file behind.
- list_group_icons() gives (Name, OffsetToData) of each RT_GROUP_ICON
  directory entry as stored, as icoextract does; for NE and icon files,
  which have no such entry, (id or name, 0), and (None, 0) for an .ico.
- IconExtractor keeps its file open until it is garbage-collected, or until
  close() or the end of a `with` block.
"""

import io
import operator

from . import _native

try:
    from pefile import PEFormatError as _PEFormatError
except ImportError:  # pefile is not needed, only caught where it is there
    _PEFormatError = None


class IconExtractorError(Exception):
    """Superclass for exceptions raised by IconExtractor."""


class NoIconsAvailableError(IconExtractorError):
    """The file has no icon resources."""


class InvalidIconDefinitionError(IconExtractorError):
    """The file has an invalid icon resource."""


class IconNotFoundError(IconExtractorError, IndexError):
    """No icon at that index, or with that resource id."""


# Where icoextract lets pefile's PEFormatError through, ours is one too.
_PE_FORMAT = () if _PEFormatError is None else (_PEFormatError,)


class FileFormatError(IconExtractorError, *_PE_FORMAT):
    """The file is no executable or icon file that can be read; also a
    pefile.PEFormatError where pefile is installed."""


class DamagedIconError(InvalidIconDefinitionError, *_PE_FORMAT):
    """The icon's resources can't be read: its group or images lie outside
    the file, are damaged or missing; also a pefile.PEFormatError where
    pefile is installed."""


class _DataTypeError(FileFormatError, TypeError):
    """Data that is a str, not bytes: pefile reads it as text and refuses it."""


class _FilenameTypeError(TypeError, OSError):
    """A filename that is an int, which pefile takes as a file descriptor."""


_UNREADABLE = (
    _native.NotIconFileError,
    _native.DamagedError,
    _native.LimitError,
    _native.NotAFileError,
)
_INVALID_ICON = (_native.DamagedError, _native.LimitError, _native.NoSuchIconError)


class IconExtractor:
    def __init__(self, filename=None, data=None):
        """Loads an executable from `filename` or from `data` (bytes); where
        both are given, `filename` is read. Raises NoIconsAvailableError for
        a file without icons."""
        if filename is None and data is None:
            raise ValueError("Must supply either name or data")
        if isinstance(filename, int):
            raise _FilenameTypeError(f"expected str, bytes or os.PathLike object, not "
                                     f"{type(filename).__name__}")
        if filename is None and isinstance(data, str):
            raise _DataTypeError("data is a str, not bytes")
        try:
            if filename is not None:
                self._file = _native.IconFile(filename)
            else:
                self._file = _native.IconFile(data=data)
        except _UNREADABLE as error:
            raise FileFormatError(str(error)) from None
        if len(self._file) == 0:
            executable = _starts_as_executable(filename, data)
            self._file.close()
            if not executable:  # a cursor file, an animated cursor, an empty icon file
                raise FileFormatError("No icons, and not an executable file")
            raise NoIconsAvailableError("File has no group icon resources")

    def list_group_icons(self):
        """Every group icon as a (Name, OffsetToData) tuple of its resource
        directory entry."""
        return [_group_entry(icon) for icon in self._file]

    def export_icon(self, fname, num=0, resource_id=None):
        """Writes the .ico of group icon `num` (or of the one with
        `resource_id`) to `fname`."""
        data = self._icon_file(num, resource_id)
        with open(fname, "wb") as file:
            file.write(data)

    def get_icon(self, num=0, resource_id=None):
        """The .ico of group icon `num` (or of the one with `resource_id`) as
        an io.BytesIO."""
        return io.BytesIO(self._icon_file(num, resource_id))

    def close(self):
        self._file.close()

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()

    def _icon_file(self, num, resource_id):
        icon = self._icon(num, resource_id)
        try:
            return icon.ico()
        except _INVALID_ICON as error:
            raise DamagedIconError(str(error)) from None

    def _icon(self, num, resource_id):
        if resource_id is not None:
            for icon in self._file:
                if _has_resource_id(icon, resource_id):
                    return icon
            raise IconNotFoundError(f"No icon exists with resource ID {resource_id}")
        index = operator.index(num)  # TypeError for what no list takes as an index
        if not -len(self._file) <= index < len(self._file):
            raise IconNotFoundError(f"No icon exists at index {num}")
        return self._file[index]


def _starts_as_executable(filename, data):
    """Whether the file starts with "MZ", as every PE and NE executable does
    and no icon, cursor or animated cursor file does."""
    if filename is not None:
        with open(filename, "rb") as file:
            return file.read(2) == b"MZ"
    view = memoryview(data)
    head = view.cast("B")[:2] if view.c_contiguous else view.tobytes()[:2]
    return bytes(head) == b"MZ"


def _group_entry(icon):
    try:
        entry = icon.resource_entry
        if entry is not None:
            return entry
        return (icon.id if icon.id is not None else icon.name, 0)
    except _native.Error:  # an icon whose group can't be read has no name
        return (None, 0)


def _has_resource_id(icon, resource_id):
    try:
        if isinstance(resource_id, str):
            return icon.name is not None and icon.name.upper() == resource_id.upper()
        entry = icon.resource_entry
        return (entry is not None and entry[0] == resource_id) or icon.id == resource_id
    except _native.Error:
        return False


__all__ = [
    "IconExtractor",
    "IconExtractorError",
    "NoIconsAvailableError",
    "InvalidIconDefinitionError",
    "IconNotFoundError",
    "FileFormatError",
    "DamagedIconError",
]
