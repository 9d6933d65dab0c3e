"""Hostile input through Python: a damaged, cut or mutated file, empty data, a
folder, a FIFO, a device. Each gives an exception of the module (or Python's
OSError) and never crashes or hangs the interpreter, whatever is asked of
it; the compatibility layer raises only what icoextract's callers catch."""

import os
import random
import tempfile
import unittest

import pefile

import orvu_icons
import support
from orvu_icons import compat

WINE = "usr/lib/x86_64-linux-gnu/wine/x86_64-windows"
EXPECTED = (orvu_icons.Error, OSError)


def ask_everything(icons):
    """Asks the file for everything the module offers; returns how many
    answers came back, failures (of the expected kinds) not counted."""
    answers = 0
    calls = []
    try:
        groups = icons.groups()
    except EXPECTED:
        groups = list(icons)
    for icon in groups:
        saved = {"icon": icon.ico, "cursor": icon.cur, "animated": icon.ani}[icon.kind]
        calls += [lambda i=icon: i.images, lambda i=icon: i.large, lambda i=icon: i.resource_entry,
                  lambda i=icon: i.image_for_size(48), saved,
                  lambda i=icon: i.png(), lambda i=icon: i.png(16), lambda i=icon: i.draw(48)]
        try:
            for image in icon.images:
                calls += [image.rgba, image.png]
        except EXPECTED:
            pass
    for call in calls:
        try:
            call()
            answers += 1
        except EXPECTED:
            pass
    return answers


def resource_section(data):
    """Where the resources of a PE file lie: (offset, size)."""
    pe = pefile.PE(data=data, fast_load=True)
    section = next(s for s in pe.sections if s.Name.rstrip(b"\0") == b".rsrc")
    return section.PointerToRawData, section.SizeOfRawData


def mutants(data, count, seed):
    """`count` copies of `data`, each with a few bytes of its resources changed."""
    start, size = resource_section(data)
    chance = random.Random(seed)
    for _ in range(count):
        mutant = bytearray(data)
        for _ in range(chance.randint(1, 8)):
            mutant[start + chance.randrange(size)] = chance.choice([0, 0xFF, 0x7F, 0x80,
                                                                    chance.randrange(256)])
        yield bytes(mutant)


class HostileInput(unittest.TestCase):
    def read(self, name):
        support.corpus_files()  # skips without a corpus
        with open(os.path.join(support.CORPUS, WINE, name), "rb") as file:
            return file.read()

    def check_data(self, data):
        """Opens `data` and asks it everything, through the module and the compatibility layer."""
        try:
            with orvu_icons.IconFile(data=data) as icons:
                ask_everything(icons)
        except EXPECTED:
            pass
        try:
            extractor = compat.IconExtractor(data=data)
            for num in range(len(extractor.list_group_icons())):
                try:
                    extractor.get_icon(num)
                except compat.IconExtractorError:
                    pass
        except compat.IconExtractorError:
            pass

    def test_files_that_are_not_files(self):
        with tempfile.TemporaryDirectory() as folder:
            fifo = os.path.join(folder, "fifo.exe")
            os.mkfifo(fifo)
            empty = os.path.join(folder, "empty.exe")
            open(empty, "wb").close()
            cases = [
                (folder, orvu_icons.NotAFileError),
                (fifo, orvu_icons.NotAFileError),
                ("/dev/zero", orvu_icons.NotAFileError),
                (empty, orvu_icons.NotIconFileError),
                (os.path.join(folder, "missing.exe"), FileNotFoundError),
                (os.fsencode(folder) + b"/\xff\xfe.exe", FileNotFoundError),
                (folder + "/a\0b.exe", ValueError),
            ]
            for path, error in cases:
                with self.subTest(path=path):
                    self.assertRaises(error, orvu_icons.IconFile, path)
                    caught = (compat.IconExtractorError, OSError, ValueError)
                    self.assertRaises(caught, compat.IconExtractor, path)

    def test_empty_and_tiny_data(self):
        notepad = self.read("notepad.exe")
        for data in [b"", bytearray(), memoryview(b"MZ"), notepad[:64]]:
            with self.subTest(data=bytes(data)[:8]):
                with self.assertRaises(orvu_icons.Error):
                    orvu_icons.IconFile(data=data)
                self.assertRaises(compat.IconExtractorError, compat.IconExtractor, data=data)
        self.check_data(b"\0\0\1\0\1\0")  # an icon file's header, and nothing after it

    def test_cut_files(self):
        for name in ["notepad.exe", "shell32.dll"]:
            data = self.read(name)
            start, size = resource_section(data)
            for end in [start + size * k // 12 for k in range(12)] + [len(data) - 1]:
                with self.subTest(name=name, end=end):
                    self.check_data(data[:end])

    def test_mutated_files(self):
        for name, count in [("notepad.exe", 150), ("comdlg32.dll", 50), ("user32.dll", 50)]:
            for number, data in enumerate(mutants(self.read(name), count, seed=name)):
                with self.subTest(name=name, mutant=number):
                    self.check_data(data)

    def test_a_closed_file_refuses_politely(self):
        icons = orvu_icons.IconFile(data=self.read("notepad.exe"))
        icon = icons[0]
        image = icon.images[0]
        icons.close()
        for call in [icon.ico, icon.png, lambda: icon.draw(32), image.rgba, image.png]:
            self.assertRaises(ValueError, call)
        self.assertTrue(icons.closed)


if __name__ == "__main__":
    unittest.main()
