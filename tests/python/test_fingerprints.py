"""`list --fingerprints` as analysts match it: the file's "dhash" equals
the sandboxes' (computed here with pefile and Pillow, sandbox_reference.py)
on every file of the corpus, on every image of its icons and on held-out
bitmaps and PNG images of every depth, layout and odd size; each icon's
"sha256" is that of the .ico `extract` writes, each image's that of its
bytes there, and "dhash32" the difference hash of the cell `cells` draws."""

import hashlib
import json
import os
import struct
import subprocess
import tempfile
import unittest

import PIL.Image

import sandbox_reference as reference
import support

# Held-out images whose dhash the sandboxes have and the tool doesn't give,
# and why (the README names them): each must stay None here, so that a
# change in either shows.
NOT_FOLLOWED = {
    "run-length 8-bit": "run-length-encoded bitmaps, which Windows doesn't draw",
    "16-bit grey PNG": "Pillow reads 16-bit grey as integers and cuts each at 255",
}


def fingerprints(folder_or_files):
    """`list --json --fingerprints` of every file, by path."""
    paths = folder_or_files if isinstance(folder_or_files, list) else [folder_or_files]
    out = support.cli("list", "--json", "--fingerprints", "--pattern", "*", *paths)
    return {entry["path"]: entry for entry in map(json.loads, out.decode().splitlines())}


def packed_rows(seed, width, height, bits):
    return [bytes(reference.noise((seed, y), (width * bits + 7) // 8, 255)) for y in range(height)]


def held_out_images():
    """(name, group entry fields, stored image) of bitmaps and PNG images
    that no corpus file has: every depth and header, odd sizes, bit fields,
    a top-down bitmap, entries that disagree with their image."""
    cases = []

    def add(name, image, width, height, bits, byte_count=None):
        cases.append((name, (width % 256, height % 256, 0, 0, 1, bits,
                             len(image) if byte_count is None else byte_count), image))

    def bitmap(name, width, height, bits, entry_bits=None, byte_count=None, **layout):
        palette_bits = bits if bits <= 8 else 0
        palette = layout.pop("palette", bytes(reference.noise(name, 4 << palette_bits, 255))
                             if palette_bits else b"")
        image = reference.dib(width, height, bits, packed_rows(name, width, height, bits),
                              palette, **layout)
        add(name, image, width, height, bits if entry_bits is None else entry_bits, byte_count)

    for bits in (1, 4, 8, 16, 24, 32):
        for width, height in ((1, 1), (3, 5), (17, 9), (32, 32), (48, 48)):
            bitmap(f"{bits}-bit {width}x{height}", width, height, bits)
    bitmap("8-bit of 16 colours", 16, 16, 8, colours=16,
           palette=bytes(reference.noise("16", 64, 255)))
    bitmap("8-bit grey ramp", 16, 16, 8, palette=b"".join(bytes([i, i, i, 0]) for i in range(256)))
    # A ramp in two channels only is a palette like any other.
    bitmap("8-bit ramp but its blue", 16, 16, 8,
           palette=b"".join(bytes([i ^ 0x80, i, i, 0]) for i in range(256)))
    bitmap("8-bit ramp but its green", 16, 16, 8,
           palette=b"".join(bytes([i, i ^ 0x80, i, 0]) for i in range(256)))
    bitmap("1-bit black and white", 40, 40, 1, palette=bytes([0, 0, 0, 0, 255, 255, 255, 0]))
    bitmap("4-bit core header", 16, 16, 4, header=12, palette=bytes(reference.noise("c", 48, 255)))
    bitmap("16-bit 5-6-5", 20, 20, 16, compression=3, masks=struct.pack("<III", 0xF800, 0x7E0, 0x1F))
    bitmap("16-bit 5-5-5 fields", 20, 20, 16, compression=3,
           masks=struct.pack("<III", 0x7C00, 0x3E0, 0x1F))
    bitmap("16-bit 4-4-4 fields", 20, 20, 16, compression=3,
           masks=struct.pack("<III", 0xF00, 0xF0, 0xF))
    bitmap("32-bit fields BGRA in a V5 header", 24, 24, 32, header=124, compression=3,
           masks=struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000))
    bitmap("32-bit fields RGBA in a V4 header", 24, 24, 32, header=108, compression=3,
           masks=struct.pack("<IIII", 0xFF, 0xFF00, 0xFF0000, 0xFF000000))
    bitmap("32-bit fields XBGR", 24, 24, 32, compression=3,
           masks=struct.pack("<III", 0xFF000000, 0xFF0000, 0xFF00))
    bitmap("32-bit fields BGRX", 24, 24, 32, compression=3,
           masks=struct.pack("<III", 0xFF0000, 0xFF00, 0xFF))
    bitmap("32-bit fields all zero", 24, 24, 32, compression=3, masks=struct.pack("<III", 0, 0, 0))
    bitmap("24-bit top-down", 30, 20, 24, top_down=True)
    bitmap("24-bit V5 header", 30, 20, 24, header=124)
    bitmap("32-bit 9x8", 9, 8, 32)
    bitmap("32-bit 9x20", 9, 20, 32)
    bitmap("32-bit 20x8", 20, 8, 32)
    bitmap("24-bit 256x256", 256, 256, 24)
    bitmap("24-bit said to be 32-bit", 32, 32, 24, entry_bits=32)
    bitmap("32-bit said to be 24-bit", 32, 32, 32, entry_bits=24)
    bitmap("24-bit without its mask", 32, 32, 24, mask=False)
    bitmap("24-bit whose byte count runs past it", 32, 32, 24, byte_count=100000)
    bitmap("24-bit whose byte count is short", 32, 32, 24, byte_count=64)
    # 22 + 106 - 128: the AND mask is read from the first byte of the .ico.
    bitmap("24-bit whose mask would start at the file's start", 32, 32, 24, byte_count=106)
    bitmap("24-bit whose byte count is a little long", 32, 32, 24,
           byte_count=len(reference.dib(32, 32, 24, [b""] * 32)) + 8)
    rle = struct.pack("<IiiHHIIiiII", 40, 4, 8, 1, 8, 1, 0, 0, 0, 2, 0) + bytes(
        [255, 0, 0, 0, 0, 255, 0, 0]) + bytes([4, 1, 0, 0] * 4 + [0, 1])
    add("run-length 8-bit", rle + b"\0" * 16, 4, 4, 8)

    def picture(name, width, height, colour_type, depth, channels, palette=None):
        most = (1 << depth) - 1
        rows = [reference.noise((name, y), width * channels, most) for y in range(height)]
        if colour_type == 3:
            rows = [[value % (len(palette) // 3) for value in row] for row in rows]
        add(name, reference.png(width, height, colour_type, depth, rows, palette), width, height,
            32)

    picture("RGBA PNG", 48, 48, 6, 8, 4)
    picture("RGBA 16-bit PNG", 40, 40, 6, 16, 4)
    picture("RGB PNG", 33, 17, 2, 8, 3)
    picture("RGB 16-bit PNG", 33, 17, 2, 16, 3)
    picture("grey-alpha PNG", 20, 20, 4, 8, 2)
    picture("grey-alpha 16-bit PNG", 20, 20, 4, 16, 2)
    for depth in (1, 2, 4, 8):
        picture(f"{depth}-bit grey PNG", 21, 13, 0, depth, 1)
        picture(f"{depth}-bit palette PNG", 21, 13, 3, depth, 1,
                bytes(reference.noise(depth, 3 << depth, 255)))
    picture("16-bit grey PNG", 16, 16, 0, 16, 1)
    # Columns of 0x0B00 and 0x0AFF: 11 and 10 cut to 8 bits, 11 and 11 rounded.
    edge = [[0x0B00 if x % 2 == 0 else 0x0AFF for x in range(9) for _ in range(3)]] * 8
    add("RGB 16-bit PNG where rounding would tie", reference.png(9, 8, 2, 16, edge), 9, 8, 32)
    picture("256x256 PNG", 256, 256, 6, 8, 4)
    return cases


class DhashIsTheSandboxes(unittest.TestCase):
    def check(self, files, exceptions=None):
        """Each file's dhash from the tool against the reference's."""
        listed = fingerprints(sorted(files))
        for path, name in sorted(files.items()):
            with self.subTest(name):
                ours = listed[path]["dhash"]
                if exceptions and name in exceptions:
                    self.assertIsNotNone(reference.sandbox_dhash(path))
                    self.assertIsNone(ours, exceptions[name])
                else:
                    self.assertEqual(ours, reference.sandbox_dhash(path))

    def test_every_file_of_the_corpus(self):
        files = [path for path in support.corpus_files() if support.is_pe(path)]
        self.check({path: os.path.relpath(path, support.CORPUS) for path in files})

    def test_every_image_of_the_corpus_as_a_programs_first_icon(self):
        with tempfile.TemporaryDirectory() as icons, tempfile.TemporaryDirectory() as programs:
            subprocess.run([support.CLI, "extract", "-o", icons, "--pattern", "*",
                            support.CORPUS], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, check=False)
            files = {}
            for name in sorted(os.listdir(icons)):
                with open(os.path.join(icons, name), "rb") as file:
                    data = file.read()
                for i, (fields, image, _) in enumerate(support.ico_images(data)):
                    entry = struct.unpack("<BBBHH", fields) + (len(image),)
                    entry = entry[:3] + (0,) + entry[3:]
                    path = os.path.join(programs, f"{name}-{i}.exe")
                    with open(path, "wb") as file:
                        file.write(reference.one_icon_pe([entry], [image]))
                    files[path] = f"{name} image {i}"
            self.assertGreater(len(files), 1000)
            self.check(files)

    def test_held_out_images_of_every_depth_and_layout(self):
        with tempfile.TemporaryDirectory() as programs:
            files = {}
            for i, (name, entry, image) in enumerate(held_out_images()):
                path = os.path.join(programs, f"{i}.exe")
                with open(path, "wb") as file:
                    file.write(reference.one_icon_pe([entry], [image]))
                files[path] = name
            self.check(files, NOT_FOLLOWED)

    def test_the_last_of_the_entries_at_least_as_large_in_every_field(self):
        """A 256-pixel image (width 0) loses to a smaller one; a later entry
        as large wins; the largest by pixels needn't."""
        images = [reference.dib(size, size, bits, packed_rows(size + bits, size, size, bits),
                                bytes(reference.noise(size, 1024, 255)) if bits <= 8 else b"")
                  for size, bits in ((16, 8), (48, 32), (32, 32), (48, 24), (48, 32))]
        entries = [(size % 256, size % 256, 0, 0, 1, bits, len(image))
                   for (size, bits), image in zip(((16, 8), (48, 32), (32, 32), (48, 24), (48, 32)),
                                                  images)]
        with tempfile.TemporaryDirectory() as programs:
            files = {}
            for name, chosen in (("in order", entries), ("reversed", entries[::-1])):
                path = os.path.join(programs, f"{name}.exe")
                with open(path, "wb") as file:
                    file.write(reference.one_icon_pe(chosen, images if chosen is entries
                                                     else images[::-1]))
                files[path] = name
            self.check(files)


class ShaAndDhash32(unittest.TestCase):
    def test_each_icon_and_image_of_the_corpus(self):
        files = [path for path in support.corpus_files() if support.is_pe(path) or
                 path.lower().endswith(".ico")]
        listed = fingerprints(files)
        cells = {}
        for line in support.cli("cells", *files).decode().splitlines():
            path, _, pictures = line.split("\t")
            cells[path] = pictures.split("|")
        checked = 0
        for path in files:
            icons = [icon for icon in listed[path]["icons"] if icon["kind"] == "icon"]
            if not icons:
                continue
            with tempfile.TemporaryDirectory() as folder:
                written = {int(os.path.basename(out).rsplit("_", 1)[1].split(".")[0]): out
                           for out in support.cli("extract", "-o", folder, path).decode().splitlines()}
                for icon in icons:
                    with self.subTest(path=path, icon=icon["position"]):
                        with open(written[icon["position"]], "rb") as file:
                            data = file.read()
                        self.assertEqual(icon["sha256"], hashlib.sha256(data).hexdigest())
                        self.assertEqual([image["sha256"] for image in icon["images"]],
                                         [hashlib.sha256(stored).hexdigest()
                                          for _, stored, _ in support.ico_images(data)])
                        cell = bytes.fromhex(cells[path][icon["position"] - 1])
                        drawn = PIL.Image.frombytes("RGB", (32, 32), cell)
                        self.assertEqual(icon["dhash32"], reference.difference_hash(drawn))
                        checked += 1
        self.assertGreater(checked, 200)

    def test_an_image_the_file_lacks_has_none_and_the_others_keep_theirs(self):
        images = [reference.dib(size, size, 32, packed_rows(size, size, size, 32))
                  for size in (16, 32)]
        entries = [(16, 16, 0, 0, 1, 32, len(images[0]), 1), (48, 48, 0, 0, 1, 32, 9000, 7),
                   (32, 32, 0, 0, 1, 32, len(images[1]), 2)]
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "lacking.exe")
            with open(path, "wb") as file:
                file.write(reference.one_icon_pe(entries, images))
            icon = fingerprints([path])[path]["icons"][0]
            ico = support.cli("extract", "-o", folder, path).decode().strip()
            with open(ico, "rb") as file:
                self.assertEqual(icon["sha256"], hashlib.sha256(file.read()).hexdigest())
        self.assertEqual([image["sha256"] for image in icon["images"]],
                         [hashlib.sha256(images[0]).hexdigest(), None,
                          hashlib.sha256(images[1]).hexdigest()])


if __name__ == "__main__":
    unittest.main()
