#!/usr/bin/python3
"""Times orvu_icons from Python against icoextract, in one process, taking turns:

  - `IconExtractor(path).get_icon(0)` for every file of FOLDER that has icons,
    orvu_icons.compat's against icoextract's (Debian package icoextract);
  - opening each file of FOLDER and listing its icons with their images
    (orvu_icons.IconFile), per file, in microseconds, beside icoextract's
    IconExtractor(path) and list_group_icons();
  - the peak of Python's own allocations (tracemalloc) in each extract loop,
    and the peak resident memory of a fresh process that runs only that
    loop (the interpreter and the modules it imports included).

    PYTHONPATH=build/python bench/compare-python-extract.py FOLDER [ROUNDS]

ROUNDS (default 7) is how often each loop runs; the best and the median are shown.
"""

import logging
import os
import statistics
import subprocess
import sys
import time
import tracemalloc

import orvu_icons
from orvu_icons import compat


def files_of(folder):
    return sorted(os.path.join(folder, name) for name in os.listdir(folder)
                  if os.path.isfile(os.path.join(folder, name)))


def load_icoextract():
    global icoextract  # pylint: disable=global-statement,invalid-name
    import icoextract  # pylint: disable=import-outside-toplevel,redefined-outer-name
    logging.getLogger("icoextract").setLevel(logging.CRITICAL)


def with_icons(paths):
    """The files icoextract and ours both give an icon 0 for."""
    kept = []
    for path in paths:
        try:
            icoextract.IconExtractor(path).get_icon(0)
            compat.IconExtractor(path).get_icon(0)
            kept.append(path)
        except Exception:  # pylint: disable=broad-except
            pass
    return kept


def extract_all(module, paths):
    for path in paths:
        module.IconExtractor(path).get_icon(0)


def list_ours(paths):
    for path in paths:
        try:
            with orvu_icons.IconFile(path) as icons:
                for icon in icons:
                    icon.images
        except (orvu_icons.Error, OSError):
            pass


def list_theirs(paths):
    for path in paths:
        try:
            icoextract.IconExtractor(path).list_group_icons()
        except Exception:  # pylint: disable=broad-except
            pass


def peak_resident_kb():
    """This process's peak resident memory since it started (VmHWM; unlike
    ru_maxrss, not carried over from the process that forked it)."""
    with open("/proc/self/status", encoding="ascii") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError("no VmHWM in /proc/self/status")


def timed(call, *arguments):
    start = time.perf_counter()
    call(*arguments)
    return time.perf_counter() - start


def python_peak(call, *arguments):
    tracemalloc.start()
    call(*arguments)
    peak = tracemalloc.get_traced_memory()[1]
    tracemalloc.stop()
    return peak


def resident_peak(which, paths, loop=True):
    """The peak resident memory, in kB, of a fresh process that imports one
    module and, with `loop`, runs the loop over `paths`."""
    arguments = [sys.executable, __file__, "--memory", which, *(paths if loop else [])]
    output = subprocess.run(arguments, check=True, stdout=subprocess.PIPE, text=True).stdout
    return int(output)


def report(name, seconds, count, unit=1e3, label="ms"):
    best, median = min(seconds), statistics.median(seconds)
    print(f"  {name}: best {best * unit:.1f} {label}, median {median * unit:.1f} {label}"
          + (f" ({median / count * 1e6:.0f} µs a file)" if count else ""))
    return median


def main():  # pylint: disable=too-many-locals
    if len(sys.argv) >= 3 and sys.argv[1] == "--memory":
        if sys.argv[2] == "theirs":
            load_icoextract()
        extract_all(compat if sys.argv[2] == "ours" else icoextract, sys.argv[3:])
        print(peak_resident_kb())
        return
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    folder = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) == 3 else 7
    load_icoextract()
    paths = files_of(folder)
    iconic = with_icons(paths)
    print(f"{folder}: {len(paths)} files, {len(iconic)} with icons; {rounds} rounds, taking turns")

    ours, theirs, listed, theirs_listed = [], [], [], []
    for _ in range(rounds):
        ours.append(timed(extract_all, compat, iconic))
        theirs.append(timed(extract_all, icoextract, iconic))
        listed.append(timed(list_ours, paths))
        theirs_listed.append(timed(list_theirs, paths))

    print(f"IconExtractor(path).get_icon(0) over the {len(iconic)} files with icons:")
    ours_median = report("orvu_icons.compat", ours, len(iconic))
    theirs_median = report("icoextract       ", theirs, len(iconic))
    print(f"  icoextract / orvu_icons.compat: {theirs_median / ours_median:.0f}x")
    print(f"Opening and listing the icons of all {len(paths)} files:")
    ours_median = report("orvu_icons.IconFile, every icon's images", listed, len(paths))
    theirs_median = report("icoextract list_group_icons()          ", theirs_listed, len(paths))
    print(f"  icoextract / orvu_icons: {theirs_median / ours_median:.0f}x")

    print("Peak memory of the get_icon(0) loop:")
    for name, module, which in [("orvu_icons.compat", compat, "ours"),
                                ("icoextract       ", icoextract, "theirs")]:
        peak = python_peak(extract_all, module, iconic)
        resident = resident_peak(which, iconic)
        imported = resident_peak(which, iconic, loop=False)
        print(f"  {name}: Python allocations {peak / 1024:.0f} kB; a process running only "
              f"it {resident / 1024:.1f} MB, {imported / 1024:.1f} MB of that once imported")


if __name__ == "__main__":
    main()
