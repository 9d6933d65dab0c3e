// The embedded pictures and the installed descriptions: formats, sizes and
// the contrast that the window texts need.

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString sourceFile(const char* name) {
    return QStringLiteral(ORVU_RESOURCES_SOURCE_DIR "/") + QString::fromUtf8(name);
}

// A file the build writes: the menu entry and the AppStream description,
// translated from the catalogue.
QString builtFile(const char* name) {
    return QStringLiteral(ORVU_RESOURCES_BUILD_DIR "/") + QString::fromUtf8(name);
}

std::uint32_t le16(const QByteArray& bytes, qsizetype at) {
    return static_cast<std::uint8_t>(bytes.at(at)) | static_cast<std::uint8_t>(bytes.at(at + 1))
                                                         << 8;
}

std::uint32_t le32(const QByteArray& bytes, qsizetype at) {
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

std::uint32_t be16(const QByteArray& bytes, qsizetype at) {
    return static_cast<std::uint8_t>(bytes.at(at)) << 8 |
           static_cast<std::uint8_t>(bytes.at(at + 1));
}

double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(QRgb pixel) {
    return 0.2126 * linear(qRed(pixel)) + 0.7152 * linear(qGreen(pixel)) +
           0.0722 * linear(qBlue(pixel));
}

// The lowest contrast ratio (WCAG) between `text` and any pixel of `area`.
double lowestContrast(const QImage& image, const QRect& area, QRgb text) {
    const double textLuminance = luminance(text);
    double lowest = 21.0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const double l = luminance(image.pixel(x, y));
            const double ratio =
                (std::max(l, textLuminance) + 0.05) / (std::min(l, textLuminance) + 0.05);
            lowest = std::min(lowest, ratio);
        }
    }
    return lowest;
}

TEST(Background, isA441By361TwentyFourBitUncompressedBottomUpBitmap) {
    const QByteArray bytes = readAll(QStringLiteral(":/background.bmp"));
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(le32(bytes, 2), static_cast<std::uint32_t>(bytes.size()));
    EXPECT_EQ(le32(bytes, 14), 40u); // BITMAPINFOHEADER
    EXPECT_EQ(le32(bytes, 18), 441u);
    EXPECT_EQ(le32(bytes, 22), 361u); // positive height: bottom-up rows
    EXPECT_EQ(le16(bytes, 28), 24u);
    EXPECT_EQ(le32(bytes, 30), 0u); // BI_RGB
    EXPECT_EQ(bytes.size(), 54 + 1324 * 361);

    const QImage image(QStringLiteral(":/background.bmp"));
    EXPECT_EQ(image.size(), QSize(441, 361));
}

TEST(Background, keepsWhiteTitleAndStatusTextAndBlackAboutTextReadable) {
    const QImage image(QStringLiteral(":/background.bmp"));
    ASSERT_FALSE(image.isNull());
    // Title text at (16, 16) in both windows, inside the title band (8, 8)..(417, 33).
    EXPECT_GE(lowestContrast(image, QRect(11, 11, 403, 20), qRgb(255, 255, 255)), 4.5);
    // Status line of the main window at (24, 344).
    EXPECT_GE(lowestContrast(image, QRect(8, 341, 409, 18), qRgb(255, 255, 255)), 4.5);
    // The about window's author lines: black text from (136, 64) to (310, 180).
    EXPECT_GE(lowestContrast(image, QRect(130, 56, 200, 136), qRgb(0, 0, 0)), 7.0);
}

struct IconImage {
    int size;
    int bitCount;
};

TEST(AppIcon, holdsSixImagesIn16ColoursAndRicherFormats) {
    const QByteArray bytes = readAll(QStringLiteral(":/app.ico"));
    ASSERT_GE(bytes.size(), 6 + 6 * 16);
    EXPECT_EQ(le16(bytes, 0), 0u);
    EXPECT_EQ(le16(bytes, 2), 1u); // icon, not cursor
    ASSERT_EQ(le16(bytes, 4), 6u);

    const std::vector<IconImage> expected = {{16, 4},  {32, 4},  {48, 4},
                                             {16, 32}, {32, 32}, {48, 8}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const qsizetype entry = 6 + static_cast<qsizetype>(i) * 16;
        const int size = expected[i].size;
        const int bits = expected[i].bitCount;
        EXPECT_EQ(static_cast<std::uint8_t>(bytes.at(entry)), size);
        EXPECT_EQ(static_cast<std::uint8_t>(bytes.at(entry + 1)), size);
        EXPECT_EQ(static_cast<std::uint8_t>(bytes.at(entry + 2)), bits == 4 ? 16 : 0);
        EXPECT_EQ(le16(bytes, entry + 6), static_cast<std::uint32_t>(bits));
        const std::uint32_t length = le32(bytes, entry + 8);
        const std::uint32_t offset = le32(bytes, entry + 12);
        ASSERT_LE(static_cast<qsizetype>(offset) + length, bytes.size());

        // The image itself: a DIB of twice the height (colours, then the AND mask).
        EXPECT_EQ(le32(bytes, offset), 40u);
        EXPECT_EQ(le32(bytes, offset + 4), static_cast<std::uint32_t>(size));
        EXPECT_EQ(le32(bytes, offset + 8), static_cast<std::uint32_t>(2 * size));
        EXPECT_EQ(le16(bytes, offset + 14), static_cast<std::uint32_t>(bits));
        EXPECT_EQ(le32(bytes, offset + 16), 0u);
        const int paletteEntries = bits <= 8 ? 1 << bits : 0;
        const int xorStride = ((size * bits + 31) / 32) * 4;
        const int andStride = ((size + 31) / 32) * 4;
        EXPECT_EQ(length, 40u + 4u * paletteEntries +
                              static_cast<std::uint32_t>((xorStride + andStride) * size));
    }
}

TEST(AppIcon, everyImageLoadsAtItsSize) {
    QImageReader reader(QStringLiteral(":/app.ico"));
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    ASSERT_EQ(reader.imageCount(), 6);
    const int sizes[] = {16, 32, 48, 16, 32, 48};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(sizes[i], sizes[i]));
        // Transparent around the drawing, opaque in the middle.
        EXPECT_EQ(qAlpha(image.pixel(sizes[i] - 1, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(sizes[i] / 4, sizes[i] / 2)), 255);
    }
}

TEST(AboutPicture, isAProgressive100By130ColourJfif) {
    const QByteArray bytes = readAll(QStringLiteral(":/about.jpg"));
    ASSERT_GE(bytes.size(), 20);
    EXPECT_GE(bytes.size(), 6000);
    EXPECT_LE(bytes.size(), 10000);
    EXPECT_EQ(be16(bytes, 0), 0xFFD8u);
    EXPECT_EQ(be16(bytes, 2), 0xFFE0u); // APP0
    EXPECT_EQ(bytes.mid(6, 5), QByteArray("JFIF", 5));

    // Walk the segments up to the first scan and look at the frame header.
    qsizetype at = 2;
    int frameMarker = 0;
    while (at + 4 <= bytes.size()) {
        ASSERT_EQ(static_cast<std::uint8_t>(bytes.at(at)), 0xFF);
        const int marker = static_cast<std::uint8_t>(bytes.at(at + 1));
        if (marker == 0xDA)
            break;
        const qsizetype length = be16(bytes, at + 2);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            EXPECT_EQ(frameMarker, 0) << "two frame headers";
            frameMarker = marker;
            EXPECT_EQ(static_cast<std::uint8_t>(bytes.at(at + 4)), 8);
            EXPECT_EQ(be16(bytes, at + 5), 130u);
            EXPECT_EQ(be16(bytes, at + 7), 100u);
            EXPECT_EQ(static_cast<std::uint8_t>(bytes.at(at + 9)), 3);
        }
        at += 2 + length;
    }
    EXPECT_EQ(frameMarker, 0xC2); // SOF2: progressive, Huffman coded

    const QImage image(QStringLiteral(":/about.jpg"));
    EXPECT_EQ(image.size(), QSize(100, 130));
    EXPECT_FALSE(image.isGrayscale());
}

TEST(InstalledIcons, matchTheirFolderSizesAndHaveAlpha) {
    for (int size : {16, 32, 48, 64, 128}) {
        SCOPED_TRACE(size);
        const QString path = sourceFile("icons/hicolor/%1x%1/apps/orvu-icons.png").arg(size);
        const QImage image(path);
        ASSERT_FALSE(image.isNull()) << path.toStdString();
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_TRUE(image.hasAlphaChannel());
    }
}

TEST(DesktopEntry, startsTheProgramWithItsIconOnTheFileOpened) {
    const QString text = QString::fromUtf8(readAll(builtFile("orvu-icons.desktop")));
    const QStringList lines = text.split(QLatin1Char('\n'));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("[Desktop Entry]"));
    for (const char* line :
         {"Type=Application", "Name=Orvu Icon Extractor", "Name[zh_CN]=Orvu图标提取机",
          "GenericName[zh_CN]=图标提取工具", "Comment[zh_CN]=提取 Windows 程序中的图标并保存为图片",
          "Keywords[zh_CN]=图标;提取;exe;ico;", "Exec=orvu-icons %f", "Icon=orvu-icons",
          "Terminal=false", "Categories=Utility;Graphics;",
          "MimeType=application/x-ms-dos-executable;application/x-msdownload;"
          "application/vnd.microsoft.portable-executable;"
          "application/x-ms-ne-executable;image/vnd.microsoft.icon;"}) {
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
    }
}

TEST(AppStreamDescription, speaksEachLanguageOfTheCatalogue) {
    const QString text = QString::fromUtf8(readAll(builtFile("io.github.orvu.icons.metainfo.xml")));
    for (const char* element :
         {"<name>Orvu Icon Extractor</name>", "<name xml:lang=\"zh_CN\">Orvu图标提取机</name>",
          "<summary xml:lang=\"zh_CN\">提取 Windows 程序中的图标</summary>",
          "<p xml:lang=\"zh_CN\">Orvu图标提取机把 Windows 可执行文件", "<keyword>icon</keyword>",
          "<keyword xml:lang=\"zh_CN\">图标</keyword>",
          "<launchable type=\"desktop-id\">orvu-icons.desktop</launchable>"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(element))) << element;
    }
}

TEST(WindowsResourceScript, isUtf8WithTheChineseVersionBlock) {
    const QByteArray bytes = readAll(sourceFile("orvu-icons.rc"));
    ASSERT_FALSE(bytes.isEmpty());
    const QString text = QString::fromUtf8(bytes);
    EXPECT_EQ(text.toUtf8(), bytes) << "not valid UTF-8";
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    for (const char* needle :
         {"#pragma code_page(65001)", "IDI_ICON1 ICON \"app.ico\"", "FILEVERSION     1,0,0,0",
          "PRODUCTVERSION  1,0,0,0", "BLOCK \"080404b0\"", "VALUE \"Translation\", 0x0804, 1200",
          "VALUE \"FileVersion\",      \"1.00\"", "VALUE \"ProductVersion\",   \"1.00\"",
          "VALUE \"ProductName\",      \"Orvu图标提取机 D2002.10.27\"",
          "VALUE \"InternalName\",     \"Orvu图标提取机 D2002.10.27\"",
          "VALUE \"OriginalFilename\", \"Orvu图标提取机 D2002.10.27.exe\""}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(needle))) << needle;
    }
}

} // namespace
