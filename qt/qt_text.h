#pragma once

#include "texts/language.h"
#include "texts/text.h"

#include <QString>

class QTranslator;

namespace orvu {

// text() as a QString, for the widgets (texts/text.h). Not called tr: inside
// a QObject that name would be QObject::tr, which knows none of these texts.
QString qtText(const char* english);
QString qtText(const char* context, const char* english);
QString qtText(const char* singular, const char* plural, unsigned long n);

// Loads Qt's own texts (its dialogs' buttons and labels) in the language in
// use into `translator`; false where there are none to load, English
// included, which is Qt's own.
bool loadQtTexts(QTranslator& translator);

} // namespace orvu
