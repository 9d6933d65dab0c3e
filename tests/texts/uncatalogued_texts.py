#!/usr/bin/env python3
"""Finds English texts that reach a person without the catalogue.

   uncatalogued_texts.py FILE...

Prints FILE:LINE: "literal" (why) for each string literal in the window's
code that a person could read without it passing through text() or qtText():
any literal handed to a call that shows text (setText, setToolTip,
QMessageBox::..., addAction, ...), and any literal that reads as words (a
space between letters, or a capitalised word) anywhere else, except as an
argument of a call that takes names rather than text (setObjectName,
QSettings, font families, environment variables, ...). Exits 1 when it
prints anything.
"""

import re
import sys

# Calls whose text arguments a person reads.
SHOWN = {
    "setText", "setToolTip", "setStatusTip", "setWhatsThis", "setWindowTitle",
    "setWindowIconText", "setPlaceholderText", "setTitle", "setLabelText",
    "setInformativeText", "setDetailedText", "setButtonText", "setTabText",
    "setItemText", "setPrefix", "setSuffix", "setSpecialValueText", "setFormat",
    "setAccessibleName", "setAccessibleDescription", "setApplicationDisplayName",
    "setApplicationDescription", "setNameFilter", "setNameFilters",
    "setHeaderLabels", "setHorizontalHeaderLabels", "showMessage", "showText",
    "addAction", "addMenu", "addItem", "addItems", "addTab", "insertItem",
    "addButton", "addPositionalArgument", "QCommandLineOption", "drawText",
    "information", "warning", "critical", "question", "about",
    "getOpenFileName", "getOpenFileNames", "getSaveFileName",
    "getExistingDirectory", "getText", "getItem",
    "QAction", "QMenu", "QLabel", "QPushButton", "QCheckBox", "QRadioButton",
    "QGroupBox", "QMessageBox", "QToolButton",
    "tr", "translate", "printf", "fprintf", "puts", "fputs",
}
# Calls whose literal arguments are names, keys or formats, never text.
NAMES = {
    "setObjectName", "findChild", "findChildren", "setProperty", "property",
    "QSettings", "setValue", "value", "setOrganizationName", "setOrganizationDomain",
    "setApplicationName", "setFamily", "setFamilies", "QFont",
    "qEnvironmentVariable", "qEnvironmentVariableIsSet", "qgetenv", "qputenv",
    "getenv", "setData", "hasFormat", "data", "fromData", "QImageReader",
    "QImageWriter", "save", "load", "QIcon", "QPixmap", "QImage", "QFile",
    "filePath", "QDir", "QTemporaryDir", "QRegularExpression", "connect",
    "qWarning", "qDebug", "qCritical", "qFatal", "qInfo", "static_assert",
    "Q_ASSERT", "Q_ASSERT_X", "Q_DECLARE_METATYPE", "qRegisterMetaType",
    "QLatin1Char",
}
# Wrappers that make a string of a literal: the call around them decides.
WRAPPERS = {
    "QStringLiteral", "QString", "QLatin1String", "QLatin1StringView",
    "QByteArrayLiteral", "QByteArray", "QStringView", "QUtf8StringView",
    "fromUtf8", "fromLatin1", "fromLocal8Bit", "fromStdString", "u8", "arg",
}
# The catalogue: a literal inside these calls is a text in the catalogue.
CATALOGUE = {"text", "qtText"}

# Words: two words in a row ("one PATH at most"), or one capitalised word
# alone ("Save").
WORDS = re.compile(r"(?<![\w*.%-])[A-Za-z]{2,}[ \t]+[A-Za-z]+(?![\w*.-])|^[A-Z][a-z]+[.:!?]*$")

TOKEN = re.compile(
    r"""(?P<comment>//[^\n]*|/\*.*?\*/)
      | (?P<preprocessor>^[ \t]*\#[^\n]*)
      | (?P<literal>(?:u8|u|U|L)?"(?:[^"\\\n]|\\.)*"|R"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)")
      | (?P<char>'(?:[^'\\\n]|\\.)+')
      | (?P<name>[A-Za-z_][A-Za-z_0-9]*)
      | (?P<open>[(\[{])
      | (?P<close>[)\]}])
      | (?P<other>[^\s])""",
    re.VERBOSE | re.DOTALL | re.MULTILINE)


BLOCK = "block"
KEYWORDS = {"else", "do", "try", "return", "const", "override", "noexcept", "mutable"}


def literal_text(token):
    if token.startswith("R\""):
        return token[token.index("(") + 1:token.rindex(")")]
    return token[token.index('"') + 1:-1]


def findings(code):
    """(line, literal, why) for each text that bypasses the catalogue."""
    found = []
    # The open brackets, each with the names of the call it opens: the
    # function's, and for a declaration such as `QSettings settings(...)`
    # the type's. A brace list inside a call belongs to the call; a block
    # ends the search for the call around a literal.
    stack = []
    names = []  # the names just before this token
    last = None  # the previous token's kind and text
    for match in TOKEN.finditer(code):
        kind = match.lastgroup
        if kind in ("comment", "preprocessor"):
            continue
        token = match.group(0)
        if kind == "name":
            names = (names + [token])[-2:]
            last = (kind, token)
            continue
        if kind == "open":
            if token == "(":
                stack.append(tuple(names))
            elif token == "{" and last and last[1] in ("(", ",", "=", "{"):
                stack.append(())
            elif token == "{" and last and last[0] == "name" and last[1] not in KEYWORDS:
                stack.append(())
            else:
                stack.append(BLOCK)
        elif kind == "close":
            if stack:
                stack.pop()
        elif kind == "literal":
            calls = []
            for entry in reversed(stack):
                if entry is BLOCK:
                    break
                calls.extend(name for name in reversed(entry) if name not in WRAPPERS)
            call = calls[0] if calls else None
            line = code.count("\n", 0, match.start()) + 1
            text = literal_text(match.group("literal"))
            if any(c in CATALOGUE for c in calls):
                pass
            elif any(c in NAMES for c in calls[:2]):
                pass
            elif call in SHOWN and re.search(r"[A-Za-z]", text):
                found.append((line, text, "shown by " + call + "()"))
            elif WORDS.search(text):
                found.append((line, text, "reads as words"))
        names = []
        last = (kind, token)
    return found


def main(paths):
    failed = False
    for path in paths:
        with open(path, encoding="utf-8") as source:
            for line, text, why in findings(source.read()):
                print(f'{path}:{line}: "{text}" ({why})')
                failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
