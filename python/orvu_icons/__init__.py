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
memory (any object with the buffer protocol, in any layout). Failures raise
orvu_icons.Error (NotIconFileError, DamagedError, LimitError,
NoSuchIconError, NotAFileError) or, where the system refuses, Python's own
OSError.
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
    "library_version",
    "open",
]


def open(path=None, *, data=None):  # noqa: A001 - the module's own open, like gzip.open
    """The icons of the file at `path`, or of `data` in memory: an IconFile."""
    return IconFile(path, data=data)
