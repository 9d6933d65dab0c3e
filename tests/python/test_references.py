"""Icons by reference through the Python module, as its users call it: the
path of an IconFile names one icon ("FILE,N", "FILE,-ID", a shortcut), FILE
may be a Windows path found under windows_root, a system file's icons come
from its .mun; each icon is the one `extract` writes for the same
reference, and what can't be followed raises what a caller can catch."""

import os
import subprocess
import tempfile
import unittest

import orvu_icons
import support
from orvu_icons import compat


class References(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="orvu-references-")
        subprocess.run([support.ICON_CASES, "--references", cls.folder.name], check=True)
        cls.root = os.path.join(cls.folder.name, "drive_c")
        cls.links = os.path.join(cls.folder.name, "links")
        cls.shell32 = os.path.join(cls.root, "Windows", "System32", "shell32.dll")

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def extracted(self, reference):
        """The .ico file `extract` writes for the reference."""
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([support.CLI, "extract", "--windows-root", self.root, "-o", out,
                            reference], check=True, stdout=subprocess.DEVNULL)
            (name,) = os.listdir(out)
            with open(os.path.join(out, name), "rb") as file:
                return file.read()

    def test_each_reference_names_the_icon_extract_writes(self):
        rows = [  # reference, the file read (under the folder), the icon's resource id
            (self.shell32 + ",1", "drive_c/Windows/System32/shell32.dll", 4),
            (self.shell32 + ",-16", "drive_c/Windows/System32/shell32.dll", 16),
            ("%SystemRoot%\\system32\\SHELL32.DLL,-1", "drive_c/Windows/System32/shell32.dll", 1),
            ("C:/Windows/System32/imageres.dll,-5",
             "drive_c/Windows/SystemResources/imageres.dll.mun", 5),
            (os.path.join(self.links, "Shell.lnk"), "drive_c/Windows/System32/shell32.dll", 16),
            (os.path.join(self.links, "App.lnk"), "drive_c/Program Files/App/App.exe", 100),
            (os.path.join(self.links, "Music.lnk"),
             "drive_c/Windows/SystemResources/imageres.dll.mun", 3),
            (os.path.join(self.links, "Site.url"), "drive_c/Windows/System32/shell32.dll", 4),
        ]
        for reference, source, icon_id in rows:
            with self.subTest(reference=reference):
                with orvu_icons.IconFile(reference, windows_root=self.root) as icons:
                    self.assertEqual(icons.source, os.path.join(self.folder.name, source))
                    self.assertEqual(icons.name, reference)
                    self.assertEqual(icons.icon.id, icon_id)
                    self.assertEqual(icons.icon.ico(), self.extracted(reference))

    def test_a_file_named_as_a_whole(self):
        with orvu_icons.IconFile(self.shell32) as icons:
            self.assertIsNone(icons.icon)
            self.assertEqual(icons.source, self.shell32)
            self.assertEqual([icon.id for icon in icons], [1, 4, 16])
        stub = os.path.join(self.root, "Windows", "System32", "imageres.dll")
        with orvu_icons.IconFile(os.fsencode(stub)) as icons:
            self.assertIsNone(icons.icon)
            self.assertEqual(icons.source, os.fsencode(
                os.path.join(self.root, "Windows", "SystemResources", "imageres.dll.mun")))
            self.assertEqual([icon.id for icon in icons], [2, 3, 5])

    def test_an_existing_name_with_a_comma_is_that_file(self):
        with tempfile.TemporaryDirectory() as folder:
            name = os.path.join(folder, "copy,1")
            with open(self.shell32, "rb") as source, open(name, "wb") as copy:
                copy.write(source.read())
            with orvu_icons.IconFile(name) as icons:
                self.assertIsNone(icons.icon)
            with orvu_icons.IconFile(name + ",2") as icons:
                self.assertEqual(icons.icon.id, 16)

    def test_what_cant_be_followed_raises_what_callers_catch(self):
        link = os.path.join(self.links, "Shell.lnk")
        rows = [  # reference, windows_root, exception
            ("C:\\Windows\\System32\\shell32.dll,0", None, orvu_icons.UnresolvedError),
            (link, None, ValueError),
            ("D:\\x.dll,0", self.root, orvu_icons.UnresolvedError),
            ("%APPDATA%\\x.dll,0", self.root, orvu_icons.UnresolvedError),
            (self.shell32 + ",3", None, orvu_icons.NoSuchIconError),
            (self.shell32 + ",-2", None, IndexError),
            (os.path.join(self.links, "gone.dll") + ",0", None, FileNotFoundError),
            ("C:\\Windows\\gone.dll,0", self.root, FileNotFoundError),
            (self.shell32, os.path.join(self.links, "Shell.lnk"), orvu_icons.NotAFileError),
        ]
        for reference, root, error in rows:
            with self.subTest(reference=reference, root=root):
                with self.assertRaises(error):
                    orvu_icons.IconFile(reference, windows_root=root)

    def test_follow_false_and_the_icoextract_drop_in_read_exactly_the_file_named(self):
        link = os.path.join(self.links, "Shell.lnk")
        stub = os.path.join(self.root, "Windows", "System32", "imageres.dll")
        with self.assertRaises(orvu_icons.NotIconFileError):
            orvu_icons.IconFile(link, follow=False)
        with self.assertRaises(FileNotFoundError):
            orvu_icons.IconFile(self.shell32 + ",1", follow=False)
        with orvu_icons.IconFile(stub, follow=False) as icons:
            self.assertEqual(len(icons), 0)
            self.assertEqual(icons.source, stub)
        with self.assertRaises(compat.IconExtractorError):
            compat.IconExtractor(link)
        with self.assertRaises(compat.NoIconsAvailableError):
            compat.IconExtractor(stub)


if __name__ == "__main__":
    unittest.main()
