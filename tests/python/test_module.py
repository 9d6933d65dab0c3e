"""The Python module gives what the command-line tool gives, on the corpus and
on the built test files, for icons, cursors and animated cursors: the groups
and their images (kinds and hotspots too) as `list --json` lists them, each
group's .ico, .cur or .ani as `extract --kind` writes it, the PNG and the
pixels of the image Windows shows at 32 x 32 as `extract --format png --size
32` writes it, and each group drawn at 32 x 32 as `cells` draws it (a
cursor's with its hotspot)."""

import io
import itertools
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


KINDS = ("icon", "cursor", "animated")


def image_listing(image):
    listed = {"width": image.width, "height": image.height, "bits": image.bits,
              "colours": image.colours, "format": image.format, "bytes": image.byte_count}
    if image.hotspot is not None:
        listed["hotspot"] = list(image.hotspot)
    return listed


def listing_of(icon):
    """The module's description of a group, in the terms of `list --json`."""
    large = icon.large
    return {
        "position": icon.index + 1,
        "kind": icon.kind,
        "id": icon.id,
        "name": icon.name,
        "language": icon.language,
        "large": large.index if large else None,
        "images": [image_listing(image) for image in icon.images],
    }


def file_of(icon):
    """The group as a file of its kind."""
    return {"icon": icon.ico, "cursor": icon.cur, "animated": icon.ani}[icon.kind]()


class ModuleAgreesWithTheCommandLineTool(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.listings = support.listed(support.corpus_files() + support.case_files())
        cls.readable = [path for path, entry in cls.listings.items() if readable(entry)]

    def extracted(self, path, kind, *options):
        """What `extract --kind` writes of the file's groups of a kind, by
        position: the bytes, or None."""
        folder = self.enterContext(tempfile.TemporaryDirectory())
        support.cli("extract", "-o", folder, "--kind", kind, *options, path)
        names = {name.rsplit(".", 1)[0].rsplit("_", 1)[1]: name for name in os.listdir(folder)}
        count = sum(group["kind"] == kind for group in self.listings[path]["icons"])
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
                    groups = icons.groups()
                    self.assertEqual(len(groups), len(entry["icons"]))
                    for kind in KINDS:
                        self.assertEqual(icons.count(kind), len(icons.groups(kind)))
                    for icon, listed in zip(groups, entry["icons"]):
                        if listed["error"] and not listed["images"]:
                            with self.assertRaises(orvu_icons.Error):
                                icon.images
                            continue
                        del listed["error"]
                        # The module describes an image as it is, and doesn't
                        # tell what its directory lists otherwise.
                        for image in listed["images"]:
                            image.pop("listed_as", None)
                        self.assertEqual(listing_of(icon), listed)

    def kinds_of(self, path):
        return {group["kind"] for group in self.listings[path]["icons"]}

    def test_file_of_each_kind_as_extracted(self):
        for path in self.readable:
            for kind in self.kinds_of(path):
                with self.subTest(path=path, kind=kind), orvu_icons.IconFile(path) as icons:
                    groups = icons.groups(kind)
                    for position, written in self.extracted(path, kind).items():
                        icon = groups[position - 1]
                        if written is None:
                            self.assertRaises(orvu_icons.Error, file_of, icon)
                        else:
                            self.assertEqual(file_of(icon), written)

    def test_png_and_pixels_of_the_32_pixel_choice(self):
        for path in self.readable:
            for kind in self.kinds_of(path):
                with self.subTest(path=path, kind=kind), orvu_icons.IconFile(path) as icons:
                    self.check_png_and_pixels(path, kind, icons.groups(kind))

    def check_png_and_pixels(self, path, kind, groups):
        for position, written in self.extracted(path, kind, "--format", "png",
                                                "--size", "32").items():
            icon = groups[position - 1]
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

    def test_choice_at_other_sizes_as_its_png(self):
        # 40: where the nearest image (icons) and the largest that fits
        # (cursors) differ.
        for path in self.readable:
            with self.subTest(path=path), orvu_icons.IconFile(path) as icons:
                for icon, size in itertools.product(icons.groups(), (16, 24, 40, 48)):
                    try:
                        png = PIL.Image.open(io.BytesIO(icon.png(size))).convert("RGBA")
                        chosen = icon.image_for_size(size)
                    except orvu_icons.Error:
                        continue  # as the 32-pixel choice shows
                    if chosen.format != "missing":
                        self.assertEqual(bytes(chosen.rgba()), png.tobytes(), (icon, size))

    def test_drawn_at_32_as_cells(self):
        for kind in KINDS:
            options = ["--kind", kind] if kind != "icon" else []
            lines = support.cli("cells", *options, *self.readable).decode().splitlines()
            for line in lines:
                path, count, cells = line.split("\t")
                with self.subTest(path=path, kind=kind), orvu_icons.IconFile(path) as icons:
                    groups = icons.groups(kind)
                    self.assertEqual(len(groups), int(count))
                    for icon, cell in zip(groups, cells.split("|") if groups else []):
                        if cell.startswith("null"):
                            self.assertRaises(orvu_icons.Error, icon.draw, 32)
                            continue
                        pixels = icon.draw(32)
                        rgba = bytes(pixels)
                        drawn = b"".join(rgba[i:i + 3] for i in range(0, len(rgba), 4)).hex()
                        if pixels.hotspot is not None:
                            drawn += "@%d,%d" % pixels.hotspot
                        self.assertEqual(drawn, cell)



class AFileKeptOpen(unittest.TestCase):
    def test_draws_its_icon_however_often_asked(self):
        """The reader's limits bound one call, not how often a file is asked:
        more draws of shell32's first icon at 256 than one call may decode."""
        path = os.path.join(support.CORPUS, "usr/lib/x86_64-linux-gnu/wine/x86_64-windows",
                            "shell32.dll")
        if not os.path.exists(path):
            self.skipTest(f"no corpus in {support.CORPUS}: scripts/fetch-corpus.sh makes it")
        with orvu_icons.IconFile(path) as icons:
            icon = icons[0]
            for _ in range(520):
                self.assertEqual(icon.draw(256).size, (256, 256))


if __name__ == "__main__":
    unittest.main()
