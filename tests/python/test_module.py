"""The Python module gives what the command-line tool gives, on the corpus and
on the built test files: the icons and their images as `list --json` lists
them, each icon's .ico as `extract` writes it, the PNG and the pixels of the
image Windows shows at 32 x 32 as `extract --format png --size 32` writes it,
and each icon drawn at 32 x 32 as `cells` draws it."""

import io
import os
import tempfile
import unittest

import numpy
import PIL.Image

import orvu_icons
import support


def readable(entry):
    """Whether `list` read the file: no error of its own, some icons."""
    return entry["error"] is None and entry["icons"]


def listing_of(icon):
    """The module's description of an icon, in the terms of `list --json`."""
    large = icon.large
    return {
        "position": icon.index + 1,
        "id": icon.id,
        "name": icon.name,
        "language": icon.language,
        "large": large.index if large else None,
        "images": [{"width": image.width, "height": image.height, "bits": image.bits,
                    "colours": image.colours, "format": image.format,
                    "bytes": image.byte_count} for image in icon.images],
    }


class ModuleAgreesWithTheCommandLineTool(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.listings = support.listed(support.corpus_files() + support.case_files())
        cls.readable = [path for path, entry in cls.listings.items() if readable(entry)]

    def extracted(self, path, *options):
        """What `extract` writes of the file, by icon position: the bytes, or None."""
        folder = self.enterContext(tempfile.TemporaryDirectory())
        support.cli("extract", "-o", folder, *options, path)
        names = {name.rsplit(".", 1)[0].rsplit("_", 1)[1]: name for name in os.listdir(folder)}
        count = len(self.listings[path]["icons"])
        written = {}
        for position in range(1, count + 1):
            name = names.get(str(position))
            with open(os.path.join(folder, name), "rb") if name else io.BytesIO() as file:
                written[position] = file.read() if name else None
        return written

    def test_icons_and_images_as_listed(self):
        for path, entry in self.listings.items():
            with self.subTest(path=path):
                if entry["error"] is not None:
                    with self.assertRaises((orvu_icons.Error, OSError)):
                        orvu_icons.IconFile(path)
                    continue
                with orvu_icons.IconFile(path) as icons:
                    self.assertEqual(len(icons), len(entry["icons"]))
                    for icon, listed in zip(icons, entry["icons"]):
                        if listed["error"] and not listed["images"]:
                            with self.assertRaises(orvu_icons.Error):
                                icon.images
                            continue
                        del listed["error"]
                        self.assertEqual(listing_of(icon), listed)

    def test_ico_as_extracted(self):
        for path in self.readable:
            with self.subTest(path=path), orvu_icons.IconFile(path) as icons:
                for position, written in self.extracted(path).items():
                    icon = icons[position - 1]
                    if written is None:
                        self.assertRaises(orvu_icons.Error, icon.ico)
                    else:
                        self.assertEqual(icon.ico(), written)

    def test_png_and_pixels_of_the_32_pixel_choice(self):
        for path in self.readable:
            with self.subTest(path=path), orvu_icons.IconFile(path) as icons:
                for position, written in self.extracted(path, "--format", "png",
                                                        "--size", "32").items():
                    icon = icons[position - 1]
                    if written is None:
                        self.assertRaises(orvu_icons.Error, icon.png, 32)
                        continue
                    self.assertEqual(icon.png(32), written)
                    chosen = icon.image_for_size(32)
                    if chosen.format == "missing":
                        continue  # extract chose among the images the file holds
                    pixels = chosen.rgba()
                    array = numpy.asarray(pixels)
                    self.assertEqual(array.shape, (pixels.height, pixels.width, 4))
                    self.assertFalse(array.flags.owndata)  # the module's buffer, not a copy
                    ours = PIL.Image.frombuffer("RGBA", pixels.size, pixels, "raw", "RGBA", 0, 1)
                    theirs = PIL.Image.open(io.BytesIO(written)).convert("RGBA")
                    self.assertEqual(ours.tobytes(), theirs.tobytes())

    def test_drawn_at_32_as_cells(self):
        lines = support.cli("cells", *self.readable).decode().splitlines()
        for line in lines:
            path, count, cells = line.split("\t")
            with self.subTest(path=path), orvu_icons.IconFile(path) as icons:
                self.assertEqual(len(icons), int(count))
                for icon, cell in zip(icons, cells.split("|")):
                    if cell == "null":
                        self.assertRaises(orvu_icons.Error, icon.draw, 32)
                        continue
                    rgba = bytes(icon.draw(32))
                    rgb = b"".join(rgba[i:i + 3] for i in range(0, len(rgba), 4))
                    self.assertEqual(rgb.hex(), cell)


if __name__ == "__main__":
    unittest.main()
