"""Icons for launchers and for analysts, as they call the tool and the
module: `extract --hicolor` writes each theme size up to the icon's largest
image as the picture Windows shows there, with its alpha; `extract --unique`
writes each distinct icon once and names the copies; the module's
best_image(), sha256(), dhash32() and dhash() agree with the tool."""

import json
import os
import shutil
import subprocess
import tempfile
import unittest

import PIL.Image

import orvu_icons
import sandbox_reference as reference
import support

THEME_SIZES = (16, 24, 32, 48, 64, 128, 256)


def translucent_dib(size, bits=32, seed=0):
    """A size x size bitmap: a colour gradient, for 32 bits with alpha
    rising across it, for fewer bits through a palette."""
    if bits == 32:
        rows = [bytes(v for x in range(size) for v in (
            (x * 255 // size) ^ seed, (y * 255 // size), 128, (x + y) * 255 // (2 * size)))
            for y in range(size)]
        return reference.dib(size, size, 32, rows)
    rows = [bytes((x + y) % 256 for x in range(size)) for y in range(size)]
    return reference.dib(size, size, 8, rows, bytes(reference.noise(seed, 1024, 255)))


def program(folder, name, dibs):
    """A program whose one icon holds the bitmaps (size, bits, bytes)."""
    entries = [(size % 256, size % 256, 0, 0, 1, bits, len(data)) for size, bits, data in dibs]
    path = os.path.join(folder, name)
    with open(path, "wb") as file:
        file.write(reference.one_icon_pe(entries, [data for _, _, data in dibs]))
    return path


def run(*arguments):
    done = subprocess.run([support.CLI, *arguments], stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, check=False)
    return done.returncode, done.stdout.decode().splitlines()


def on_white(picture):
    """RGBA pixels blended over white as Windows blends them."""
    def channel(source, alpha):
        return min(255, (source * alpha + 127) // 255 + (255 * (255 - alpha) + 127) // 255)
    return [tuple(channel(c, a) for c in (r, g, b)) for r, g, b, a in picture.getdata()]


class HicolorSets(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="orvu-sets-")
        self.addCleanup(shutil.rmtree, self.folder)

    def test_each_size_up_to_the_largest_image_is_the_picture_windows_shows(self):
        wine = os.path.join(support.CORPUS, "usr/lib/x86_64-linux-gnu/wine/x86_64-windows")
        if not os.path.isdir(wine):
            self.skipTest("no corpus")
        rows = [
            ("notepad.exe of Wine", os.path.join(wine, "notepad.exe"), THEME_SIZES),
            ("16, 32 and 48 with alpha",
             program(self.folder, "three.exe", [(size, 32, translucent_dib(size))
                                                for size in (16, 32, 48)]), (16, 24, 32, 48)),
            ("one 8-bit 20 x 20", program(self.folder, "twenty.exe",
                                          [(20, 8, translucent_dib(20, 8))]), (16,)),
        ]
        for name, path, sizes in rows:
            with self.subTest(name):
                theme = os.path.join(self.folder, name.replace(" ", "-"))
                status, lines = run("extract", "--hicolor", theme, "--name", "app", path)
                self.assertEqual(status, 0)
                expected = [os.path.join(theme, "hicolor", f"{n}x{n}", "apps", "app.png")
                            for n in sizes]
                self.assertEqual(lines, expected + ["Icon=app"])
                for size, written in zip(sizes, expected):
                    cell = support.cli("cells", "--size", str(size), path).decode()
                    shown = bytes.fromhex(cell.split("\t")[2].split("|")[0])
                    with PIL.Image.open(written) as picture:
                        self.assertEqual((picture.mode, picture.size), ("RGBA", (size, size)))
                        self.assertEqual(on_white(picture), list(
                            PIL.Image.frombytes("RGB", (size, size), shown).getdata()))

    def test_a_set_in_the_way_is_kept_unless_forced(self):
        path = program(self.folder, "game.exe", [(16, 32, translucent_dib(16))])
        theme = os.path.join(self.folder, "icons")
        self.assertEqual(run("extract", "--hicolor", theme, path)[0], 0)
        target = os.path.join(theme, "hicolor", "16x16", "apps", "game.png")
        with open(target, "wb") as file:
            file.write(b"mine")
        status, lines = run("extract", "--hicolor", theme, path)
        self.assertEqual((status, lines), (1, []))
        with open(target, "rb") as file:
            self.assertEqual(file.read(), b"mine")
        status, lines = run("extract", "--hicolor", theme, "--force", path)
        self.assertEqual((status, lines[-1]), (0, "Icon=game"))
        with open(target, "rb") as file:
            self.assertEqual(file.read(8), b"\x89PNG\r\n\x1a\n")

    def test_wrong_command_lines_exit_with_2(self):
        path = program(self.folder, "game.exe", [(16, 32, translucent_dib(16))])
        for arguments in (["--hicolor", self.folder, "--name", "a/b"],
                          ["--hicolor", self.folder, "--name", ""],
                          ["--hicolor", self.folder, "--name", "."],
                          ["--hicolor", self.folder, "--name", ".."],
                          ["--hicolor", self.folder, "-o", self.folder],
                          ["--hicolor", self.folder, "--format", "png"],
                          ["--name", "app"]):
            with self.subTest(arguments):
                self.assertEqual(run("extract", *arguments, path)[0], 2)


class UniqueExtract(unittest.TestCase):
    def test_each_distinct_icon_once_and_the_copies_named(self):
        with tempfile.TemporaryDirectory() as folder:
            same = [(16, 32, translucent_dib(16))]
            other = [(16, 32, translucent_dib(16, seed=9))]
            tree = os.path.join(folder, "tree")
            os.makedirs(os.path.join(tree, "sub"))
            program(tree, "a.exe", same)
            program(tree, "b.exe", other)
            program(os.path.join(tree, "sub"), "a.exe", same)
            out = os.path.join(folder, "out")
            os.mkdir(out)
            status, lines = run("extract", "--unique", "-o", out, tree)
            self.assertEqual(status, 0)
            first = os.path.join(out, "a_1.ico")
            self.assertEqual(lines, [first, os.path.join(out, "b_1.ico"),
                                     os.path.join(tree, "sub", "a.exe") + ": icon 1: copy of " +
                                     first])
            self.assertEqual(sorted(os.listdir(out)), ["a_1.ico", "b_1.ico"])


class ModuleFingerprintsAndBestImage(unittest.TestCase):
    def test_the_module_gives_what_the_tool_lists(self):
        files = [path for path in support.corpus_files() + support.case_files()
                 if support.is_pe(path)][:40]
        out = support.cli("list", "--json", "--fingerprints", *files).decode().splitlines()
        for entry in map(json.loads, out):
            if entry["error"]:
                continue
            with self.subTest(entry["path"]), orvu_icons.IconFile(entry["path"]) as icons:
                self.assertEqual(icons.dhash(), entry["dhash"])
                for group, listed in zip(icons.groups(), entry["icons"]):
                    if listed["sha256"] is None:
                        continue
                    self.assertEqual(group.sha256(), listed["sha256"])
                    self.assertEqual(group.dhash32(), listed["dhash32"])
                    self.assertEqual([image.sha256() for image in group.images],
                                     [image["sha256"] for image in listed["images"]])

    def test_best_image_exact_then_deepest_then_nearest_larger(self):
        with tempfile.TemporaryDirectory() as folder:
            path = program(folder, "many.exe", [
                (16, 8, translucent_dib(16, 8)), (16, 32, translucent_dib(16)),
                (32, 32, translucent_dib(32)), (48, 8, translucent_dib(48, 8)),
                (48, 32, translucent_dib(48)), (64, 32, translucent_dib(64))])
            with orvu_icons.IconFile(path) as icons:
                icon = icons[0]
                for size, index in ((16, 1), (20, 2), (32, 2), (40, 4), (48, 4), (64, 5),
                                    (256, 5), (1, 1)):
                    with self.subTest(size=size):
                        self.assertEqual(icon.best_image(size).index, index)
                with self.assertRaises(ValueError):
                    icon.best_image(0)


if __name__ == "__main__":
    unittest.main()
