"""The icons of Windows executables and icon files, read as Windows reads them.

    import orvu_icons

    with orvu_icons.IconFile("setup.exe") as icons:
        for icon in icons:
            print(icon.index, icon.id or icon.name, [(i.width, i.bits) for i in icon.images])
        icons[0].ico()                # the whole icon as an .ico file (bytes)
        icons[0].png(size=48)         # PNG of the image Windows shows at 48 x 48
        pixels = icons[0].draw(64)    # drawn as Windows draws it: Pixels, RGBA
        for cursor in icons.groups("cursor"):   # "animated"; groups() for every kind
            cursor.cur()                        # a .cur file (ani() for animated ones)
            cursor.images[0].hotspot            # (x, y) as stored
            cursor.draw(32).hotspot             # where Windows reports it at 32 x 32

IconFile takes a path (str, bytes or os.PathLike) or, as data=, bytes in
memory (any object with the buffer protocol, in any layout). The path may
name one icon as Windows does, which becomes `icon`:

    with orvu_icons.IconFile("%SystemRoot%/System32/shell32.dll,-16",
                             windows_root="/mnt/windows") as icons:
        icons.icon.png(48)            # the icon with resource id 16
        icons.source                  # .../Windows/SystemResources/shell32.dll.mun
    orvu_icons.IconFile("Word.lnk").icon   # the icon a shortcut shows

Failures raise orvu_icons.Error (NotIconFileError, DamagedError,
LimitError, NoSuchIconError, NotAFileError, UnresolvedError) or, where the
system refuses, Python's own OSError.
"""

from ._native import (
    DamagedError,
    Error,
    Icon,
    IconFile,
    Image,
    LimitError,
    NoSuchIconError,
    NotAFileError,
    NotIconFileError,
    Pixels,
    UnresolvedError,
    library_version,
)

__all__ = [
    "DamagedError",
    "Error",
    "Icon",
    "IconFile",
    "Image",
    "LimitError",
    "NoSuchIconError",
    "NotAFileError",
    "NotIconFileError",
    "Pixels",
    "UnresolvedError",
    "library_version",
    "open",
]


def open(path=None, *, data=None, windows_root=None):  # noqa: A001 - like gzip.open
    """The icons of the file (or icon reference) at `path`, or of `data` in memory: an IconFile."""
    return IconFile(path, data=data, windows_root=windows_root)
