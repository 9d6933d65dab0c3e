"""What the Python tests share: where the corpus and the programs are, the
files they run on, and the command-line tool's answers for them."""

import json
import os
import struct
import subprocess
import sys
import tempfile
import unittest

CORPUS = os.environ.get("ORVU_CORPUS_DIR", os.path.expanduser("~/.cache/orvu-icons/corpus"))
CLI = os.environ["ORVU_CLI"]
ICON_CASES = os.environ["ORVU_ICON_CASES"]

_cases = None


def corpus_files():
    """Every file of the corpus, in a fixed order; the test is skipped without one."""
    if not os.path.isdir(CORPUS):
        raise unittest.SkipTest(f"no corpus in {CORPUS}: scripts/fetch-corpus.sh makes it")
    return sorted(os.path.join(folder, name)
                  for folder, _, names in os.walk(CORPUS) for name in names)


def case_files():
    """The built test files (orvu_icon_cases): every depth, named groups,
    languages, NE and icon files, damaged groups. Written once a run."""
    global _cases
    if _cases is None:
        _cases = tempfile.TemporaryDirectory(prefix="orvu-cases-")
        subprocess.run([ICON_CASES, _cases.name], check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(_cases.name, "cursor.cur"), "rb") as file:
            cursor = file.read()
        with open(os.path.join(_cases.name, "animated.ani"), "wb") as file:
            # The first step shows the second frame: other pixels, a hotspot of its own.
            second = bytearray(cursor)
            struct.pack_into("<HH", second, 10, 5, 7)
            second[-200] ^= 0xFF
            file.write(animated_cursor([cursor, bytes(second)], [1, 0]))
    return sorted(os.path.join(_cases.name, name) for name in os.listdir(_cases.name))


def riff_chunk(name, data):
    return name + struct.pack("<I", len(data)) + data + b"\0" * (len(data) % 2)


def animated_cursor(frames, steps):
    """An .ani file: a RIFF "ACON" form with an "anih" header (AF_ICON,
    AF_SEQUENCE, 6/60 s a step), a "seq " of `steps` and a "LIST" "fram" of
    `frames`, each the bytes of a .cur."""
    header = struct.pack("<9I", 36, len(frames), len(steps), 0, 0, 0, 0, 6, 3)
    sequence = struct.pack(f"<{len(steps)}I", *steps)
    frame_list = b"fram" + b"".join(riff_chunk(b"icon", frame) for frame in frames)
    return riff_chunk(b"RIFF", b"ACON" + riff_chunk(b"anih", header) +
                      riff_chunk(b"seq ", sequence) + riff_chunk(b"LIST", frame_list))


def cli(*arguments):
    """The command-line tool's standard output; any exit status is taken."""
    return subprocess.run([CLI, *arguments], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          check=False).stdout


def listed(paths):
    """`list --json` of each path, by path."""
    lines = cli("list", "--json", *paths).decode().splitlines()
    return {entry["path"]: entry for entry in map(json.loads, lines)}


def ico_images(data):
    """The images of an .ico file: each entry's first 12 bytes but the byte
    count and reserved byte, with the bytes from its offset to the next
    image's (or to the end), and whether its byte count says their length."""
    count = struct.unpack_from("<H", data, 4)[0]
    entries = [data[6 + 16 * i:22 + 16 * i] for i in range(count)]
    offsets = [struct.unpack_from("<I", entry, 12)[0] for entry in entries] + [len(data)]
    images = []
    for i, entry in enumerate(entries):
        stored = data[offsets[i]:offsets[i + 1]]
        true_count = struct.unpack_from("<I", entry, 8)[0] == len(stored)
        images.append((entry[:3] + entry[4:8], stored, true_count))
    return images


def is_pe(path):
    """Whether the file starts as a PE file does: "MZ", and "PE\\0\\0" where e_lfanew points."""
    with open(path, "rb") as file:
        head = file.read(64)
        if len(head) < 64 or head[:2] != b"MZ":
            return False
        file.seek(struct.unpack_from("<I", head, 0x3C)[0])
        return file.read(4) == b"PE\0\0"


def run_python(code, *arguments):
    """Runs `code` in a Python interpreter of its own, so that a crash ends
    that one, not the tests: (exit status, standard output, standard error)."""
    ran = subprocess.run([sys.executable, "-c", code, *arguments], capture_output=True,
                         text=True, timeout=120, check=False)
    return ran.returncode, ran.stdout, ran.stderr
