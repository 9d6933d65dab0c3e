"""What the Python tests share: where the corpus and the programs are, the
files they run on, and the command-line tool's answers for them."""

import json
import os
import struct
import subprocess
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
    return sorted(os.path.join(_cases.name, name) for name in os.listdir(_cases.name))


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
