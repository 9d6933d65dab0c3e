#include "cli/json_writer.h"

#include "platform/text_case.h"

namespace orvu::cli {

void JsonWriter::beforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_empty.empty()) {
        if (!m_empty.back())
            m_out += ", ";
        m_empty.back() = false;
    }
}

void JsonWriter::beginObject() {
    beforeValue();
    m_out += '{';
    m_empty.push_back(true);
}

void JsonWriter::endObject() {
    m_out += '}';
    m_empty.pop_back();
}

void JsonWriter::beginArray() {
    beforeValue();
    m_out += '[';
    m_empty.push_back(true);
}

void JsonWriter::endArray() {
    m_out += ']';
    m_empty.pop_back();
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    appendJsonString(m_out, name);
    m_out += ": ";
    m_afterKey = true;
}

void JsonWriter::string(std::string_view text) {
    beforeValue();
    appendJsonString(m_out, text);
}

void JsonWriter::number(std::uint64_t value) {
    beforeValue();
    m_out += std::to_string(value);
}

void JsonWriter::integer(std::int64_t value) {
    beforeValue();
    m_out += std::to_string(value);
}

void JsonWriter::null() {
    beforeValue();
    m_out += "null";
}

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    for (const char32_t c : decodeUtf8Lenient(text)) {
        switch (c) {
        case U'"':
            out += "\\\"";
            break;
        case U'\\':
            out += "\\\\";
            break;
        case U'\n':
            out += "\\n";
            break;
        case U'\r':
            out += "\\r";
            break;
        case U'\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) { // control characters, as printable()
                out += "\\u00";
                out += Hex[c >> 4];
                out += Hex[c & 0xF];
            } else if (c >= 0xDC80 && c <= 0xDCFF) {
                appendUtf8(out, 0xFFFD); // decodeUtf8Lenient keeps a stray byte b as U+DC00 + b
            } else {
                appendUtf8(out, c);
            }
        }
    }
    out += '"';
}

} // namespace orvu::cli
