"""orvu_icons.compat.IconExtractor against the real icoextract, on every file
of the corpus and every built test file that icoextract reads: the same
group icons in the same order, the same images byte for byte for every
index, the same exception class where icoextract raises one of its own; and
where icoextract can't read a file, the same class too, unless the file is
an NE executable or an icon file, which ours reads."""

import logging
import os
import tempfile
import unittest

import icoextract
import pefile

import support
from orvu_icons import compat

logging.getLogger("icoextract").setLevel(logging.CRITICAL)

# Where the two differ on purpose (documented in orvu_icons/compat.py), by
# built file and icon index. A difference listed here that is gone fails
# the test, so that the list stays true.
KNOWN_DIFFERENCES = {
    ("damaged-groups.exe", 2): "a group of type 0, which Windows refuses: icoextract writes it",
    ("damaged-groups.exe", 3): "a group of no entries: icoextract writes an icon of no images",
    ("damaged-groups.exe", 4): "a group naming no image the file has: icoextract raises KeyError",
    ("damaged-groups.exe", 5): "a group cut short: icoextract raises AttributeError, ours "
                               "writes the entries it holds",
    ("groups-without-images.exe", 0): "no RT_ICON directory: icoextract raises AttributeError",
}


def outcome(extractor, num):
    """The images of icon `num` (see support.ico_images), or the exception raised."""
    try:
        return support.ico_images(extractor.get_icon(num).getvalue())
    except Exception as error:  # pylint: disable=broad-except
        return error


def same_class(ours, theirs):
    """Whether our exception is of the class theirs is: of a class of that
    name for icoextract's own classes, a subclass for others (PEFormatError,
    IndexError)."""
    if type(theirs).__module__ == "icoextract":
        return type(theirs).__name__ in [base.__name__ for base in type(ours).__mro__]
    return isinstance(ours, type(theirs))


def moved_out(data, resource_type):
    """`data`, a PE file, with the data of every resource of a type moved
    past the end of the file."""
    pe = pefile.PE(data=data, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    moved = bytearray(data)
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if type_entry.id == resource_type:
            for entry in type_entry.directory.entries:
                for language in entry.directory.entries:
                    offset = language.data.struct.get_file_offset()
                    moved[offset:offset + 4] = (0x7FFFFF00).to_bytes(4, "little")
    return bytes(moved)


def failure(module, arguments, num):
    """What `module`.IconExtractor(**arguments) raises, or its get_icon(num)."""
    try:
        module.IconExtractor(**arguments).get_icon(num)
    except Exception as error:  # pylint: disable=broad-except
        return error
    return None


class CompatAgreesWithIcoextract(unittest.TestCase):
    def opened(self, path):
        try:
            return icoextract.IconExtractor(path), None
        except Exception as error:  # pylint: disable=broad-except
            return None, error

    def check_file(self, path):
        theirs, refused = self.opened(path)
        if theirs is None:
            try:
                compat.IconExtractor(path)
            except Exception as error:  # pylint: disable=broad-except
                self.assertTrue(same_class(error, refused), f"{error!r} for {refused!r}")
            else:
                self.assertIsInstance(refused, pefile.PEFormatError)
                self.assertFalse(support.is_pe(path), "a PE file icoextract refuses is read")
            return
        ours = compat.IconExtractor(path)
        groups = theirs.list_group_icons()
        self.assertEqual(ours.list_group_icons(), groups)
        for num in [*range(len(groups)), len(groups), -1]:
            expected, got = outcome(theirs, num), outcome(ours, num)
            index = num % len(groups) if num < 0 else num
            known = (os.path.basename(path), index) in KNOWN_DIFFERENCES
            if known:
                self.assertNotEqual(repr(got), repr(expected), "no longer a difference")
                if isinstance(got, Exception):
                    self.assertIsInstance(got, compat.IconExtractorError)
            elif isinstance(expected, Exception):
                self.assertTrue(same_class(got, expected), f"icon {num}: {got!r}, {expected!r}")
            else:
                self.assertNotIsInstance(got, Exception, f"icon {num}")
                self.assertEqual([image[:2] for image in got],
                                 [image[:2] for image in expected], f"icon {num}")
                self.assertTrue(all(image[2] for image in got), f"icon {num}: a false byte count")

    def test_corpus(self):
        for path in support.corpus_files():
            with self.subTest(path=path):
                self.check_file(path)

    def test_built_files(self):
        for path in support.case_files():
            with self.subTest(path=path):
                self.check_file(path)

    def test_failures_as_icoextract_raises_them(self):
        path = next(p for p in support.case_files() if p.endswith("many-groups.exe"))
        with open(path, "rb") as file:
            data = file.read()
        closed = os.open(os.devnull, os.O_RDONLY)
        os.close(closed)
        cases = [
            ("data a str", dict(data="MZ" + "\0" * 200), 0),
            ("data a short str", dict(data="MZ"), 0),
            ("filename a descriptor not open", dict(filename=closed), 0),
            ("index too large for a list", dict(data=data), 2**64),
            ("images past the end", dict(data=moved_out(data, pefile.RESOURCE_TYPE["RT_ICON"])), 0),
            ("group past the end",
             dict(data=moved_out(data, pefile.RESOURCE_TYPE["RT_GROUP_ICON"])), 1),
        ]
        for name, arguments, num in cases:
            with self.subTest(name):
                theirs = failure(icoextract, arguments, num)
                ours = failure(compat, arguments, num)
                self.assertIsNotNone(theirs, "icoextract fails")
                self.assertTrue(same_class(ours, theirs), f"{ours!r} for {theirs!r}")

    def test_icons_by_resource_id_and_to_a_file(self):
        path = os.path.join(support.CORPUS, "usr/lib/x86_64-linux-gnu/wine/x86_64-windows",
                            "comdlg32.dll")  # named groups
        extractor = compat.IconExtractor(path)
        for num, (name, _) in enumerate(extractor.list_group_icons()):
            with self.subTest(num=num):
                expected = extractor.get_icon(num).getvalue()
                self.assertEqual(extractor.get_icon(resource_id=name).getvalue(), expected)
                with tempfile.TemporaryDirectory() as folder:
                    written = os.path.join(folder, "icon.ico")
                    extractor.export_icon(written, num=num)
                    with open(written, "rb") as file:
                        self.assertEqual(file.read(), expected)
        with self.assertRaises(compat.IconNotFoundError):
            extractor.get_icon(resource_id=12345)


if __name__ == "__main__":
    unittest.main()
