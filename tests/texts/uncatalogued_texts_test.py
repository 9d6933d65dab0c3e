"""The scan for texts that bypass the catalogue finds them where they are
written, and leaves names, keys and the catalogue's own texts alone."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from uncatalogued_texts import findings  # noqa: E402

FOUND = [
    'button->setText(QStringLiteral("Start"));',
    'label->setToolTip("Saves the icon");',
    'QMessageBox::warning(this, QString(), QStringLiteral("Cannot save the file"));',
    'menu->addAction(QStringLiteral("Copy"), this, &W::copy);',
    'setWindowTitle(tr("Icon details"));',
    'auto* action = new QAction(QString::fromUtf8("Save All..."), this);',
    'painter.drawText(rect, Qt::AlignCenter, QStringLiteral("No icons"));',
    'm_status->showMessage(QLatin1String("Done"));',
    'const QString caption = QStringLiteral("Save Icon As");',
    'options.setApplicationDescription(QStringLiteral(R"(Pulls the icons out)"));',
    'std::fprintf(stderr, "%s: one PATH at most\\n", name);',
    'connect(a, &A::b, this, [this] { m_box->setText(QStringLiteral("Ready")); });',
    'connect(a, &A::b, this, [] { const auto s = QStringLiteral("Save all"); });',
    'const char* const Caption = "Harvest";',
]
LEFT_ALONE = [
    'button->setText(qtText("Start"));',
    'setToolTip(qtText("tile tip", "File: %1").arg(path));',
    'status(qtText("Saved %n icon", "Saved %n icons", n));',
    'button->setObjectName(QStringLiteral("startButton"));',
    'QSettings settings(QStringLiteral("Orvu"), QStringLiteral("orvu-icons"));',
    'font.setFamilies({QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("SimSun")});',
    'const QString mime = QStringLiteral("image/png");',
    'm_sheet = QPixmap(QStringLiteral(":/background.bmp"));',
    '// Shows "Save Icon As" in the menu.',
    '/* setText(QStringLiteral("Start")) */',
    '#include "app/main_window.h"',
    '{QStringLiteral("(*.cur *.ani)"), QStringLiteral("*.cur *.ani")}',
    'const QString windows = qEnvironmentVariable("WinDir");',
    'folder.filePath(QStringLiteral("drag-%1").arg(++m_drags));',
    'const QString key = QStringLiteral("tiles/includeCursors");',
]


class UncataloguedTexts(unittest.TestCase):
    def test_found_where_a_person_reads_them(self):
        for code in FOUND:
            with self.subTest(code=code):
                self.assertEqual(len(findings(code)), 1, findings(code))

    def test_names_keys_and_catalogue_texts_left_alone(self):
        for code in LEFT_ALONE:
            with self.subTest(code=code):
                self.assertEqual(findings(code), [])

    def test_lines_counted_from_one(self):
        self.assertEqual(findings('\n\nx->setText(QStringLiteral("Start"));')[0][0], 3)


if __name__ == "__main__":
    unittest.main()
