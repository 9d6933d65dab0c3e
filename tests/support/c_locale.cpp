#include "support/c_locale.h"

#include "texts/text.h"

#include <cstdlib>

namespace orvu::test {

void useTheCLocale() {
#ifdef _WIN32
    _putenv_s("LANGUAGE", "");
    _putenv_s("LC_ALL", "C");
#else
    unsetenv("LANGUAGE");
    setenv("LC_ALL", "C.UTF-8", 1);
#endif
}

InLanguage::InLanguage(std::string_view language) : m_before(languageInUse()) {
    useLanguage(language);
}

InLanguage::~InLanguage() {
    useLanguage(m_before);
}

} // namespace orvu::test
