"""Misuse through Python, as a careless or hostile caller would: data in a
buffer of any layout, objects made by __new__ without __init__, daemon
threads still inside calls when the interpreter exits. What could crash runs
in an interpreter of its own, so that a crash fails its case."""

import array
import os
import unittest

import numpy

import orvu_icons
import support
from orvu_icons import compat

WINE = "usr/lib/x86_64-linux-gnu/wine/x86_64-windows"

# Each is evaluated after `made = IconFile.__new__(IconFile)`: what it
# prints, its value's repr or the name of the exception it raised.
MADE_WITHOUT_INIT = [
    ("repr(made)", "'<orvu_icons.IconFile uninitialised>'"),
    ("made.closed", "TypeError"),
    ("made.name", "TypeError"),
    ("made.close()", "TypeError"),
    ("made.groups()", "TypeError"),
    ("made.count('cursor')", "TypeError"),
    ("len(made)", "TypeError"),
    ("made[0]", "TypeError"),
    ("made.__enter__()", "TypeError"),
    ("made.__exit__(None, None, None)", "TypeError"),
    ("IconFile.close(3)", "TypeError"),
    ("Icon.__new__(Icon)", "TypeError"),
    ("Image.__new__(Image)", "TypeError"),
    ("Pixels.__new__(Pixels)", "TypeError"),
    ("(Mine := type('Mine', (Icon,), {})).__new__(Mine)", "TypeError"),
    # A reversed view starts at its last byte: read forward from there, the
    # data would run 16 MB past the buffer's end.
    ("IconFile(data=memoryview(bytearray(16_000_000))[::-1])", "NotIconFileError"),
]

OUTCOME = """
from orvu_icons import IconFile, Icon, Image, Pixels
made = IconFile.__new__(IconFile)
try:
    print(repr({}))
except Exception as error:
    print(type(error).__name__)
"""

# Daemon threads that draw and save icons until the interpreter ends them.
# The interpreter ends each that comes back from a call while it finalizes:
# an object that is slow to go keeps it finalizing for a while.
DAEMON_THREADS = """
import sys, threading, time, orvu_icons
with open(sys.argv[1], "rb") as file:
    data = file.read()
def ask():
    icons = orvu_icons.IconFile(data=data)
    while True:
        for icon in icons:
            icon.draw(48), icon.ico()
class SlowToGo:
    def __del__(self):
        time.sleep(0.2)
slow = SlowToGo()
for _ in range(4):
    threading.Thread(target=ask, daemon=True).start()
time.sleep(0.05)
"""


def layouts(data):
    """`data` (a multiple of 16 bytes long) in buffers of other layouts, whose
    bytes in their logical order are `data`'s."""
    mirrored = bytearray(data[::-1] + bytes(len(data)))  # read forward, zeros follow
    interleaved = bytearray(b"\xff" * 2 * len(data))
    interleaved[::2] = data
    rows = numpy.frombuffer(data, numpy.uint8).reshape(-1, 16)
    return [
        ("bytearray", bytearray(data)),
        ("16-bit words", array.array("H", data)),
        ("rows of a numpy array", rows),
        ("a reversed view", memoryview(mirrored)[len(data) - 1::-1]),
        ("every second byte of a view", memoryview(interleaved)[::2]),
        ("every second byte of a numpy array", numpy.frombuffer(interleaved, numpy.uint8)[::2]),
        ("a numpy array in column order", numpy.asfortranarray(rows)),
    ]


class Misuse(unittest.TestCase):
    def test_data_in_any_layout_is_read_in_its_logical_order(self):
        path = next(p for p in support.case_files() if p.endswith("many-groups.exe"))
        with open(path, "rb") as file:
            data = file.read()
        data += bytes(-len(data) % 16)
        with orvu_icons.IconFile(data=data) as icons:
            expected = [icon.ico() for icon in icons]
        for name, buffer in layouts(data):
            with self.subTest(name):
                with orvu_icons.IconFile(data=buffer) as icons:
                    self.assertEqual([icon.ico() for icon in icons], expected)
                extractor = compat.IconExtractor(data=buffer)
                self.assertEqual(extractor.get_icon(-1).getvalue(), expected[-1])

    def test_data_without_icons_in_any_layout(self):
        support.corpus_files()  # skips without a corpus
        with open(os.path.join(support.CORPUS, WINE, "icmp.dll"), "rb") as file:
            executable = file.read()  # no icons, 8192 bytes
        cursor = next(p for p in support.case_files() if p.endswith(".cur"))
        with open(cursor, "rb") as file:
            cursor = file.read()
        cases = [
            ("an executable in rows", numpy.frombuffer(executable, numpy.uint8).reshape(-1, 16),
             compat.NoIconsAvailableError),
            ("an executable in 16-bit words", array.array("H", executable),
             compat.NoIconsAvailableError),
            ("a cursor in a row", numpy.frombuffer(cursor, numpy.uint8).reshape(1, -1),
             compat.FileFormatError),
        ]
        for name, data, error in cases:
            with self.subTest(name):
                with self.assertRaises(compat.IconExtractorError) as raised:
                    compat.IconExtractor(data=data)
                self.assertIs(type(raised.exception), error)

    def test_what_crashed_raises(self):
        for expression, expected in MADE_WITHOUT_INIT:
            with self.subTest(expression):
                status, output, errors = support.run_python(OUTCOME.format(expression))
                self.assertEqual((status, output.strip()), (0, expected), errors)

    def test_daemon_threads_inside_calls_at_exit(self):
        support.corpus_files()  # skips without a corpus
        notepad = os.path.join(support.CORPUS, WINE, "notepad.exe")
        for run in range(5):
            with self.subTest(run=run):
                status, _, errors = support.run_python(DAEMON_THREADS, notepad)
                self.assertEqual((status, errors), (0, ""))


if __name__ == "__main__":
    unittest.main()
