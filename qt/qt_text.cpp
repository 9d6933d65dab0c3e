#include "qt/qt_text.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orvu {

QString qtText(const char* english) {
    return QString::fromUtf8(text(english));
}

QString qtText(const char* context, const char* english) {
    return QString::fromUtf8(text(context, english));
}

QString qtText(const char* singular, const char* plural, unsigned long n) {
    return QString::fromUtf8(text(singular, plural, n));
}

bool loadQtTexts(QTranslator& translator) {
    const std::string_view language = languageInUse();
    if (language == SourceLanguage)
        return false;
    return translator.load(
        QLocale(QString::fromLatin1(language.data(), static_cast<qsizetype>(language.size()))),
        QStringLiteral("qtbase"), QStringLiteral("_"),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace orvu
