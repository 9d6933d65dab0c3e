#pragma once

#include <string_view>

namespace orvu::test {

// The suites run in the C locale, as CI does, whatever the developer's
// environment says: the windows then speak the design's Chinese, which the
// tests assert. A test that wants another language sets it itself.
void useTheCLocale();

// The windows speak `language` while it lives, then the language before.
class InLanguage {
public:
    explicit InLanguage(std::string_view language);
    ~InLanguage();
    InLanguage(const InLanguage&) = delete;
    InLanguage& operator=(const InLanguage&) = delete;

private:
    std::string_view m_before;
};

} // namespace orvu::test
