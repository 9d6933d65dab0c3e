#!/usr/bin/env python3
"""Faults made by a program: small changes ("mutants") to the product's code,
each planted alone into the scratch checkout that scripts/plant-faults.sh
keeps, built there and run against the tests but the Wine ones. A mutant
that no test notices "survives": either the tests miss a behaviour, or the
change makes no difference a user or caller could see.

The kinds of change, each on one line of code (never in a comment, a string
or code the build leaves out, such as a Windows-only branch):
  compare   < and <=, > and >=, == and != swapped
  logic     && and || swapped (and and or in Python)
  plus-one  + 1 or - 1 dropped, turned into the other, or added to a
            returned value or an index
  constant  a whole number made one more or one less
  remove    a statement removed
  swap      the two arguments of a call swapped

Called by scripts/plant-faults.sh --generate, which makes the scratch tree
and its build; see there for the options. Each mutant:
  1. is written into its file in the scratch tree;
  2. its file's objects are compiled first: a mutant that doesn't compile is
     dropped after one compiler run, and one whose objects come out byte for
     byte as before is dropped as equivalent (the compiler made the same code
     of it), without running a test;
  3. the build is brought up to date (ccache serves what the mutant doesn't
     touch);
  4. the tests that can see it run first (ctest --stop-on-failure): those
     whose test program was linked again, or whose command, arguments or
     environment name a program, library or file the mutant changed; then,
     with --judge all, the rest of the suite;
  5. the file is put back.
"""

import argparse
import hashlib
import io
import json
import os
import random
import re
import subprocess
import sys
import time
import tokenize
from dataclasses import dataclass, field
from pathlib import Path

CPP_SUFFIXES = (".cpp", ".h")
# Tests that took longer run after the others, so that a quick one that
# fails stops the run before they start.
QUICK_TEST_SECONDS = 10
PY_SUFFIXES = (".py",)


@dataclass(frozen=True)
class Mutant:
    path: str  # relative to the source tree
    line: int  # from 1
    column: int  # from 0, in the original line
    old: str
    new: str
    kind: str

    def apply(self, text):
        lines = text.split("\n")
        i = self.line - 1
        line = lines[i]
        assert line[self.column:self.column + len(self.old)] == self.old, (self, line)
        lines[i] = line[:self.column] + self.new + line[self.column + len(self.old):]
        return "\n".join(lines)

    def describe(self):
        old = self.old.strip() or self.old
        if self.kind == "remove":
            return f"removed `{old}`"
        return f"`{old}` -> `{self.new.strip() or '(nothing)'}`"


# ---------------------------------------------------------------------------
# What of each line is code: comments, strings and characters blanked.


def mask_cpp(text):
    """The text with comments and the insides of string and character
    literals replaced by spaces (line breaks kept), and the set of lines
    (from 1) that are preprocessor directives or code the Linux build leaves
    out (inside #ifdef _WIN32 and the #else of #ifndef _WIN32)."""
    out = []
    i = 0
    n = len(text)
    state = "code"
    raw_end = ""
    while i < n:
        c = text[i]
        if state == "code":
            if text.startswith("//", i):
                state = "line"
                out.append("  ")
                i += 2
                continue
            if text.startswith("/*", i):
                state = "block"
                out.append("  ")
                i += 2
                continue
            m = re.match(r'(?:u8|u|U|L)?R"([^()\\\s]{0,16})\(', text[i:i + 24])
            if m and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
                state = "raw"
                raw_end = ")" + m.group(1) + '"'
                out.append(" " * len(m.group(0)))
                i += len(m.group(0))
                continue
            if c == '"':
                state = "string"
                out.append('"')
                i += 1
                continue
            if c == "'" and not (i > 0 and text[i - 1].isalnum()):  # not a digit separator
                state = "char"
                out.append("'")
                i += 1
                continue
            out.append(c)
            i += 1
        elif state == "line":
            if c == "\n":
                state = "code"
                out.append("\n")
            else:
                out.append(" ")
            i += 1
        elif state == "block":
            if text.startswith("*/", i):
                state = "code"
                out.append("  ")
                i += 2
            else:
                out.append("\n" if c == "\n" else " ")
                i += 1
        elif state == "raw":
            if text.startswith(raw_end, i):
                state = "code"
                out.append(" " * len(raw_end))
                i += len(raw_end)
            else:
                out.append("\n" if c == "\n" else " ")
                i += 1
        else:  # string or char
            close = '"' if state == "string" else "'"
            if c == "\\" and i + 1 < n:
                out.append("  ")
                i += 2
            elif c == close:
                state = "code"
                out.append(close)
                i += 1
            elif c == "\n":  # an unclosed literal: give up on it
                state = "code"
                out.append("\n")
                i += 1
            else:
                out.append(" ")
                i += 1
    masked = "".join(out)

    # Preprocessor lines, and the lines of Windows-only branches.
    skipped = set()
    stack = []  # per open #if: "windows", "other" or "either"
    continued = False
    for number, line in enumerate(masked.split("\n"), 1):
        stripped = line.strip()
        if continued or stripped.startswith("#"):
            skipped.add(number)
            continued = stripped.endswith("\\")
            directive = re.match(r"#\s*(\w+)\s*(.*)", stripped)
            if not directive:
                continue
            word, rest = directive.groups()
            if word in ("if", "ifdef", "ifndef"):
                windows = "_WIN32" in rest
                negated = word == "ifndef" or rest.startswith("!")
                if windows and not negated and word != "ifndef" and "||" not in rest:
                    stack.append("windows")
                elif windows and negated and "&&" not in rest:
                    stack.append("other")
                else:
                    stack.append("either")
            elif word in ("else", "elif") and stack:
                stack[-1] = {"windows": "other", "other": "windows"}.get(stack[-1], "either")
            elif word == "endif" and stack:
                stack.pop()
            continue
        if "windows" in stack:
            skipped.add(number)
    return masked, skipped


def mask_python(text):
    """The text with strings and comments blanked, and no lines skipped."""
    lines = text.split("\n")
    masked = [list(line) for line in lines]
    try:
        tokens = list(tokenize.generate_tokens(io.StringIO(text).readline))
    except (tokenize.TokenError, SyntaxError):
        return text, set(range(1, len(lines) + 1))
    for token in tokens:
        if token.type not in (tokenize.STRING, tokenize.COMMENT):
            continue
        (row, col), (end_row, end_col) = token.start, token.end
        for r in range(row, end_row + 1):
            start = col if r == row else 0
            stop = end_col if r == end_row else len(lines[r - 1])
            for k in range(start, stop):
                masked[r - 1][k] = " "
    return "\n".join("".join(line) for line in masked), set()


# ---------------------------------------------------------------------------
# The mutants of one line.

SWAPPED = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==",
           "&&": "||", "||": "&&"}
CPP_BINARY = re.compile(r"(?<=\s)(<=|>=|<|>|==|!=|&&|\|\|)(?=\s)")
PY_BINARY = re.compile(r"(?<=\s)(<=|>=|<|>|==|!=|and|or)(?=\s)")
PLUS_ONE = re.compile(r"\s([+-]) 1(?![\w.'])")
NUMBER = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F']+|\d[\d']*)([uUlL]*)(?![\w.'])")
CALL = re.compile(r"([A-Za-z_][\w:]*)(?:<[^<>()]*>)?\(")
NOT_CALLS = {"if", "while", "for", "switch", "return", "sizeof", "catch", "alignof",
             "decltype", "static_assert", "noexcept", "requires", "print", "assert",
             "elif", "not", "and", "or", "in", "is", "lambda"}
# Calls whose two arguments may be given in either order.
COMMUTATIVE = re.compile(r"(^|::|\.)(min|max|hypot|swap|gcd|lcm)$")
CPP_STATEMENT_STARTS = ("return", "case ", "default:", "public:", "private:", "protected:",
                        "using ", "namespace ", "typedef ", "template", "friend ", "}",
                        "static_assert", "struct ", "class ", "enum ", "extern ")
PY_BLOCK_WORDS = ("def ", "class ", "if ", "elif ", "else", "for ", "while ", "try", "except",
                  "finally", "with ", "import ", "from ", "pass", "@", "async ", "global ",
                  "nonlocal ")


def matching_paren(code, open_at):
    depth = 0
    for k in range(open_at, len(code)):
        if code[k] in "([{":
            depth += 1
        elif code[k] in ")]}":
            depth -= 1
            if depth == 0:
                return k
    return None


def split_arguments(code, start, stop):
    """The top-level arguments between start and stop as (begin, end) spans."""
    spans = []
    depth = 0
    begin = start
    for k in range(start, stop):
        if code[k] in "([{":
            depth += 1
        elif code[k] in ")]}":
            depth -= 1
        elif code[k] == "," and depth == 0:
            spans.append((begin, k))
            begin = k + 1
    spans.append((begin, stop))
    return spans


def looks_declared(argument):
    """A parameter declaration ("int a", "const Foo& b") rather than a value."""
    return re.fullmatch(r"\s*(const\s+)?[\w:<>]+[\s*&]+[\w]+\s*", argument) is not None and \
        not re.search(r"\b(return|new|not|and|or)\b", argument)


def declaration(statement):
    """Whether a statement of one line declares something: a variable, a
    function ("Type name(...);")."""
    if statement.startswith(("delete ", "throw ", "++", "--", "co_")):
        return False
    if statement.startswith(("[[", "virtual ", "explicit ", "static ", "inline ", "constexpr ")) \
            or re.search(r"=\s*(default|delete|0)\s*;$", statement):
        return True
    if re.match(r"[\w:<>,\s*&]+\s[*&]*\w+\s*(\[\w*\])?\s*(=|\{|;|\()", statement):
        return True
    if re.match(r"(const\s+)?auto\s*[&*]*\s*\[", statement):  # a structured binding
        return True
    # A constructor's: Name(Type name, ...);
    call = re.match(r"~?\w+\((.*)\)[\w\s]*;$", statement)
    return bool(call) and any(looks_declared(call.group(1)[a:b])
                              for a, b in split_arguments(call.group(1), 0, len(call.group(1))))


def line_mutants(path, number, line, code, previous_code, python):
    """Every mutant of one line: `line` as written, `code` with comments and
    strings blanked, `previous_code` the last line before it holding code."""
    found = []

    def add(start, end, new, kind):
        found.append(Mutant(path, number, start, line[start:end], new, kind))

    for m in (PY_BINARY if python else CPP_BINARY).finditer(code):
        op = m.group(1)
        if python and op in ("and", "or"):
            add(m.start(), m.end(), "or" if op == "and" else "and", "logic")
        else:
            add(m.start(), m.end(), SWAPPED[op], "logic" if op in ("&&", "||") else "compare")

    for m in PLUS_ONE.finditer(code):
        sign = m.group(1)
        add(m.start(), m.end(), "", "plus-one")
        add(m.start(), m.end(), m.group(0).replace(sign, "-" if sign == "+" else "+"),
            "plus-one")
    if not python:
        # One more added to a value returned, and to an index.
        # (Only to what looks like a number: no call but size(), no braces.)
        ret = re.match(r"(\s*return )([^;?{}]+);\s*$", code)
        if ret and "(" not in re.sub(r"\.size\(\)", "", ret.group(2)) and \
                not re.fullmatch(r"\s*(true|false|nullptr|std::nullopt|result|\*this)\s*",
                                 ret.group(2)) and \
                not re.fullmatch(r"\s*([A-Z][A-Z0-9_]+|[\w:]*::[A-Z]\w*)\s*", ret.group(2)):
            value = line[ret.start(2):ret.end(2)]
            add(ret.start(2), ret.end(2), "(" + value + ") + 1", "plus-one")
        for m in re.finditer(r"(?<=[\w)\]])\[([^\[\]]+)\]", code):
            if not m.group(1).strip().startswith(("&", "=", "this")):
                add(m.start(1), m.end(1), line[m.start(1):m.end(1)] + " + 1", "plus-one")

    for m in NUMBER.finditer(code):
        digits, suffix = m.group(1).replace("'", ""), m.group(2)
        hexadecimal = digits[:2].lower() == "0x"
        if not hexadecimal and digits.startswith("0") and len(digits) > 1:
            continue  # octal: left alone
        value = int(digits, 16 if hexadecimal else 10)
        for changed in (value + 1, value - 1):
            if changed >= 0:
                text = (digits[:2] + format(changed, "X" if digits[2:].isupper() else "x")
                        if hexadecimal else str(changed))
                add(m.start(), m.end(), text + suffix, "constant")

    stripped = code.strip()
    balanced = all(stripped.count(a) == stripped.count(b) for a, b in ("()", "[]", "{}"))
    column = len(line) - len(line.lstrip())
    if python:
        # A simple statement of one line, after a block's start or another statement.
        starts = not previous_code.rstrip().endswith(("(", "[", "{", ",", "\\"))
        if stripped and balanced and starts and not stripped.startswith(PY_BLOCK_WORDS) and \
                not stripped.endswith((":", ",", "(", "[", "{", "\\")):
            add(column, len(line), "pass", "remove")
    else:
        # A statement of one line that declares nothing (which wouldn't compile without it).
        starts = previous_code.rstrip().endswith((";", "{", "}", ")", "else", ":")) or \
            not previous_code.strip()
        if stripped.endswith(";") and starts and balanced and stripped != ";" and \
                (stripped == "return;" or not stripped.startswith(CPP_STATEMENT_STARTS)) and \
                not declaration(stripped):
            add(column, len(line.rstrip()), ";", "remove")

    for m in CALL.finditer(code):
        name = m.group(1)
        if name in NOT_CALLS or COMMUTATIVE.search(name):
            continue
        open_at = m.end() - 1
        close = matching_paren(code, open_at)
        if close is None:
            continue
        spans = split_arguments(code, open_at + 1, close)
        if len(spans) != 2:
            continue
        (a0, a1), (b0, b1) = spans
        first, second = line[a0:a1], line[b0:b1]
        if not first.strip() or not second.strip() or first.strip() == second.strip():
            continue
        if looks_declared(code[a0:a1]) or looks_declared(code[b0:b1]):
            continue
        lead = first[:len(first) - len(first.lstrip())]
        add(a0, b1, lead + second.strip() + ", " + first.strip(), "swap")
    return found


def file_mutants(root, path, lines_wanted=None):
    """Every mutant of the file (of the lines in lines_wanted, if given)."""
    text = (root / path).read_text(encoding="utf-8")
    python = path.endswith(PY_SUFFIXES)
    masked, skipped = mask_python(text) if python else mask_cpp(text)
    lines = text.split("\n")
    codes = masked.split("\n")
    found = []
    previous = ""
    for number, (line, code) in enumerate(zip(lines, codes), 1):
        if number in skipped:
            previous = ";"
            continue
        if lines_wanted is None or number in lines_wanted:
            found.extend(line_mutants(path, number, line, code, previous, python))
        if code.strip():
            previous = code
    # One mutant per different text.
    seen = set()
    unique = []
    for mutant in found:
        key = (mutant.line, mutant.apply(text).split("\n")[mutant.line - 1])
        if key not in seen and key[1] != lines[mutant.line - 1]:
            seen.add(key)
            unique.append(mutant)
    return unique


def changed_lines(root, base, path):
    """The lines of `path` that differ from `base` (added or changed)."""
    diff = subprocess.run(["git", "-C", str(root), "diff", "-U0", base, "HEAD", "--", path],
                          capture_output=True, text=True, check=True).stdout
    wanted = set()
    for m in re.finditer(r"^@@ -\S+ \+(\d+)(?:,(\d+))? @@", diff, re.M):
        start, count = int(m.group(1)), int(m.group(2) or 1)
        wanted.update(range(start, start + count))
    return wanted


def product_file(path):
    return path.endswith(CPP_SUFFIXES + PY_SUFFIXES) and \
        not path.startswith(("tests/", "bench/", "fuzz/", "scripts/", "examples/", "win32/")) \
        and "/" in path


def files_to_mutate(root, names, base):
    """(path, lines or None) for each file: those the names or patterns
    (git pathspecs: 'harvest/tile_*', 'library/') name, and with `base` the
    lines each changed file adds or changes since base."""
    chosen = []
    if names:
        listed = subprocess.run(["git", "-C", str(root), "ls-files", "--"] + names,
                                capture_output=True, text=True, check=True).stdout.split()
        for path in names:
            if not any(p == path or p.startswith(path.rstrip("/") + "/") or
                       Path(p).match(path) for p in listed) and "*" not in path and \
                    "?" not in path and not (root / path).exists():
                sys.exit(f"mutants.py: no file {path} in the tree")
        for path in sorted(set(listed)):
            if product_file(path):
                chosen.append((path, changed_lines(root, base, path) if base else None))
    elif base:
        listed = subprocess.run(["git", "-C", str(root), "diff", "--name-only", "--diff-filter=AM",
                                 base, "HEAD"], capture_output=True, text=True,
                                check=True).stdout.split()
        for path in sorted(listed):
            if product_file(path):
                chosen.append((path, changed_lines(root, base, path)))
    return chosen


# ---------------------------------------------------------------------------
# The build and the tests.


def run(command, log=None, **kwargs):
    """Runs a command, its output to `log`; its status."""
    with open(log or os.devnull, "w") as out:
        return subprocess.run(command, stdout=out, stderr=subprocess.STDOUT, **kwargs).returncode


class Build:
    def __init__(self, source, build, jobs):
        self.source = source.resolve()
        self.build = build.resolve()
        self.jobs = jobs
        self.objects_of = {}  # source file -> objects compiled from it or including it
        self.compiled_from = {}  # .cpp -> its objects
        self.aliases = {}  # source file -> links to it in the build tree
        self.tests = []  # (index from 1, name, paths it names, labels)
        self.binary_uses = {}  # test program -> the programs it starts (order-only deps)
        self.cost = {}  # test -> seconds

    def ninja(self, *arguments, log=None):
        return run(["ninja", "-C", str(self.build), "-j", str(self.jobs)] + list(arguments),
                   log=log)

    def read_graph(self):
        """Which objects each file goes into, and what each test uses."""
        graph = (self.build / "build.ninja").read_text()
        graph = graph.replace("$\n", "")
        for line in graph.split("\n"):
            m = re.match(r"build (\S+\.o): C(?:XX)?_COMPILER\S* (\S+)", line)
            if m:
                source = Path(m.group(2).replace("$ ", " ")).resolve()
                self.compiled_from.setdefault(source, []).append(m.group(1))
            m = re.match(r"build (tests/\S+): CXX_EXECUTABLE_LINKER\S* [^|]*(?:\|[^|][^|]*)?"
                         r"(?:\|\| (.*))?$", line)
            if m and m.group(2):
                self.binary_uses[str(self.build / m.group(1))] = [
                    str(self.build / p) for p in m.group(2).split()
                    if not p.endswith((".a", ".o")) and "autogen" not in p and
                    not p.startswith("cmake_")]
        deps = subprocess.run(["ninja", "-C", str(self.build), "-t", "deps"],
                              capture_output=True, text=True).stdout
        target = None
        for line in deps.split("\n"):
            if line and not line.startswith(" "):
                target = line.split(":")[0]
            elif line.strip() and target:
                # Relative to the build folder, often through its links to the tree.
                included = (self.build / line.strip()).resolve()
                self.objects_of.setdefault(included, []).append(target)
        for folder, _, names in os.walk(self.build):
            for name in names:
                link = Path(folder) / name
                if link.is_symlink():
                    self.aliases.setdefault(link.resolve(), []).append(str(link))

    def read_tests(self):
        shown = subprocess.run(["ctest", "--test-dir", str(self.build), "--show-only=json-v1"],
                               capture_output=True, text=True, check=True).stdout
        for index, test in enumerate(json.loads(shown)["tests"], 1):
            named = list(test.get("command", []))
            labels = []
            for prop in test.get("properties", []):
                if prop["name"] == "ENVIRONMENT":
                    for setting in prop["value"]:
                        named.extend(re.split(r"[=:;]", setting))
                elif prop["name"] == "LABELS":
                    labels = prop["value"]
                elif prop["name"] == "WORKING_DIRECTORY":
                    named.append(prop["value"])
            if named:
                named.extend(self.binary_uses.get(named[0], []))
            paths = [os.path.normpath(p) for p in named if p.startswith("/")]
            self.tests.append((index, test["name"], paths, labels))

    def objects(self, path):
        """The objects that see the file: its own for a .cpp, else those
        including it, those of its own folder first."""
        full = (self.source / path).resolve()
        if full in self.compiled_from:
            return self.compiled_from[full]
        folder = path.split("/")[0] + "/"
        return sorted(self.objects_of.get(full, []), key=lambda o: not o.startswith(folder))

    def changed_outputs(self):
        """The programs and libraries the next build links again, and the
        build's links to files of the tree (from a dry run)."""
        dry = subprocess.run(["ninja", "-C", str(self.build), "-n"], capture_output=True,
                             text=True).stdout
        outputs = []
        for m in re.finditer(r"Linking \w+ (?:executable|shared library|shared module) (\S+)", dry):
            outputs.append(str(self.build / m.group(1)))
        return outputs

    def tests_seeing(self, path, outputs):
        """The tests whose programs, arguments or environment name one of
        `outputs`, the file itself or a link to it, or a folder holding one."""
        full = str((self.source / path).resolve())
        touched = outputs + [full] + self.aliases.get(Path(full), [])
        seeing = []
        for index, name, paths, labels in self.tests:
            if "wine" in labels:
                continue
            if any(t == p or t.startswith(p.rstrip("/") + "/") for t in touched for p in paths):
                seeing.append(index)
        return seeing

    def object_digest(self, objects):
        """A digest of the objects' code and data, without their debugging
        information (which a change of no effect may still alter)."""
        digest = hashlib.sha256()
        stripped = self.build / "mutant-stripped.o"
        for obj in sorted(objects):
            if run(["strip", "--strip-debug", "-o", str(stripped), str(self.build / obj)]) == 0:
                digest.update(stripped.read_bytes())
            else:
                digest.update(b"-")
        stripped.unlink(missing_ok=True)
        return digest.hexdigest()

    def read_costs(self):
        """Seconds each test took when last run whole (ctest's own record)."""
        costs = self.build / "Testing" / "Temporary" / "CTestCostData.txt"
        if costs.exists():
            for line in costs.read_text().split("\n"):
                if line == "---":
                    break
                parts = line.rsplit(" ", 2)
                if len(parts) == 3:
                    self.cost[parts[0]] = float(parts[2])

    def ctest(self, indices, timeout, log, layer=""):
        """Runs the tests numbered `indices` until one fails, the quick ones
        first (ctest itself starts the longest first), and of each, those of
        the mutated file's own layer first: 0 when all pass."""
        names = {index: name for index, name, _, _ in self.tests}
        programs = {index: paths[0] if paths else "" for index, _, paths, _ in self.tests}

        def own(i):
            return bool(layer) and (names[i].startswith(layer + ".") or
                                    os.path.basename(programs[i]) == f"orvu_{layer}_tests")

        batches = []
        for quick in (True, False):
            for mine in (True, False):
                batch = [i for i in indices if own(i) == mine and
                         (self.cost.get(names[i], 0) < QUICK_TEST_SECONDS) == quick]
                batches.append((batch, ("quick" if quick else "slow") + ("-own" if mine else "")))
        for batch, part in batches:
            if not batch:
                continue
            chosen = self.build / "mutant-tests.txt"
            chosen.write_text("0,0,0," + ",".join(str(i) for i in batch) + "\n")
            status = run(["ctest", "--test-dir", str(self.build), "-LE", "wine", "-I",
                          str(chosen), "-j", str(self.jobs), "--timeout", str(timeout),
                          "--stop-on-failure"], log=f"{log}.{part}")
            if status != 0:
                return status
        return 0

    def first_failure(self):
        failed = self.build / "Testing" / "Temporary" / "LastTestsFailed.log"
        if failed.exists():
            lines = failed.read_text().split("\n")
            if lines and ":" in lines[0]:
                # Without gtest's dump of a test's parameter.
                return lines[0].split(":", 1)[1].split("  # GetParam()")[0]
        return "?"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("files", nargs="*", help="files, folders or patterns to mutate")
    parser.add_argument("--source", type=Path, required=True, help="the scratch tree")
    parser.add_argument("--build", type=Path, help="its build folder")
    parser.add_argument("--logs", type=Path, help="where logs go")
    parser.add_argument("--base", help="mutate the lines changed since this revision")
    parser.add_argument("--sample", type=int, default=50, help="mutants to judge (0: all)")
    parser.add_argument("--seed", type=int, default=1, help="of the sample")
    parser.add_argument("--skip", type=int, default=0,
                        help="pass over the first N mutants drawn (an earlier batch's)")
    parser.add_argument("--budget", type=float, default=0, help="minutes, then stop (0: none)")
    parser.add_argument("--kinds", default="compare,logic,plus-one,constant,remove,swap")
    parser.add_argument("--judge", choices=("seen", "all"), default="seen",
                        help="run only the tests that can see a mutant, or then all the rest")
    parser.add_argument("--timeout", type=int, default=120, help="seconds a test may take")
    parser.add_argument("--min", type=int, default=80, help="share killed below which status 1")
    parser.add_argument("--list", action="store_true", help="only list the mutants drawn")
    parser.add_argument("-j", type=int, default=2, dest="jobs")
    options = parser.parse_args()

    root = options.source.resolve()
    if not options.files and not options.base:
        sys.exit("mutants.py: name files to mutate, or --base REV")
    targets = files_to_mutate(root, options.files, options.base)
    kinds = set(options.kinds.split(","))
    pool = []
    for path, wanted in targets:
        pool.extend(m for m in file_mutants(root, path, wanted) if m.kind in kinds)
    order = list(pool)
    random.Random(options.seed).shuffle(order)
    counts = {}
    for mutant in pool:
        counts[mutant.kind] = counts.get(mutant.kind, 0) + 1
    print(f"== {len(pool)} mutants in {len(targets)} files "
          f"({', '.join(f'{k} {v}' for k, v in sorted(counts.items()))}), seed {options.seed}",
          flush=True)
    if options.list:
        for mutant in order[options.skip:options.skip + (options.sample or len(order))]:
            print(f"{mutant.path}:{mutant.line}: {mutant.kind}: {mutant.describe()}")
        return 0
    if not pool:
        return 0

    build = Build(root, options.build, options.jobs)
    logs = options.logs / "mutants"
    logs.mkdir(parents=True, exist_ok=True)
    started = time.monotonic()
    if build.ninja(log=logs / "before.build.log") != 0:
        sys.exit(f"mutants.py: the tree does not build, see {logs / 'before.build.log'}")
    build.read_graph()
    build.read_tests()
    build.read_costs()
    everything = [i for i, _, _, labels in build.tests if "wine" not in labels]
    originals = {}
    baseline_digest = {}
    results = []  # (verdict, mutant, detail, seconds)
    wanted = options.sample or len(order)
    judged = 0
    unbuilt = same = 0
    report = open(logs / "mutants.tsv", "w")
    report.write("verdict\tfile\tline\tkind\tchange\tdetail\tseconds\n")
    for number, mutant in enumerate(order[options.skip:], options.skip + 1):
        if judged >= wanted:
            break
        if options.budget and time.monotonic() - started > options.budget * 60:
            print(f"== the time budget of {options.budget:g} minutes is spent", flush=True)
            break
        began = time.monotonic()
        file = root / mutant.path
        if mutant.path not in originals:
            originals[mutant.path] = file.read_text(encoding="utf-8")
        original = originals[mutant.path]
        objects = build.objects(mutant.path)
        own = build.compiled_from.get(file.resolve(), [])
        if own and mutant.path not in baseline_digest:
            baseline_digest[mutant.path] = build.object_digest(own)
        name = f"{number:04d}"
        verdict = detail = ""
        try:
            file.write_text(mutant.apply(original), encoding="utf-8")
            outputs = build.changed_outputs()
            # The file's own objects first (a header's: one that includes
            # it): a mutant that doesn't compile costs one compiler run.
            first = own or objects[:1]
            if first and build.ninja(*first, log=logs / f"{name}.build.log") != 0:
                verdict, detail = "unbuilt", "does not compile"
            elif own and build.object_digest(own) == baseline_digest[mutant.path]:
                verdict, detail = "same", "the same object code"
            elif build.ninja(log=logs / f"{name}.build.log") != 0:
                verdict, detail = "unbuilt", "does not build"
            else:
                seeing = build.tests_seeing(mutant.path, outputs)
                if not objects and not mutant.path.endswith(PY_SUFFIXES):
                    seeing = everything  # a file the graph doesn't know: all of them
                status = build.ctest(seeing, options.timeout, logs / f"{name}.test.log",
                                     mutant.path.split("/")[0])
                if status == 0 and options.judge == "all":
                    rest = [i for i in everything if i not in set(seeing)]
                    status = build.ctest(rest, options.timeout, logs / f"{name}.rest.log")
                if status != 0:
                    verdict, detail = "killed", "by " + build.first_failure()
                else:
                    verdict = "SURVIVED"
                    detail = f"{len(seeing)} tests see it" if options.judge == "seen" else ""
        finally:
            file.write_text(original, encoding="utf-8")
        seconds = time.monotonic() - began
        if verdict == "unbuilt":
            unbuilt += 1
        elif verdict == "same":
            same += 1
        else:
            judged += 1
        results.append((verdict, mutant, detail, seconds))
        where = f"{mutant.path}:{mutant.line}"
        print(f"{verdict:8} {where:34} {mutant.kind:9} {mutant.describe()}  {detail} "
              f"({seconds:.0f}s)", flush=True)
        report.write(f"{verdict}\t{mutant.path}\t{mutant.line}\t{mutant.kind}\t"
                     f"{mutant.describe()}\t{detail}\t{seconds:.0f}\n")
        report.flush()
    report.close()

    # The scratch build as the tree is, for the next run.
    build.ninja(log=logs / "restore.build.log")
    killed = sum(1 for r in results if r[0] == "killed")
    survivors = [r for r in results if r[0] == "SURVIVED"]
    share = 100 * killed // judged if judged else 0
    minutes = (time.monotonic() - started) / 60
    print(f"== killed {killed} of {judged} mutants ({share} %) in {minutes:.0f} minutes; "
          f"{unbuilt} did not build, {same} gave the same object code")
    if survivors:
        print("   survivors:")
        for _, mutant, _, _ in survivors:
            print(f"   {mutant.path}:{mutant.line}: {mutant.describe()}")
    print(f"   every mutant: {logs / 'mutants.tsv'}")
    return 0 if share >= options.min else 1


if __name__ == "__main__":
    sys.exit(main())
