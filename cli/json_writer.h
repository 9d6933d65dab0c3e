#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvu::cli {

// Writes JSON text onto the end of a string, putting in the commas itself,
// so that a long value can be handed on piece by piece: the caller may empty
// the string between any two calls. Separators are ", " and ": ", as in
// {"path": "a.exe", "icons": []}.
class JsonWriter {
public:
    explicit JsonWriter(std::string& out) : m_out(out) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The name of the next value in an object.
    void key(std::string_view name);
    // UTF-8 text; bytes that are not valid UTF-8 are written as U+FFFD.
    void string(std::string_view text);
    void number(std::uint64_t value);
    void integer(std::int64_t value);
    void null();
    template <typename T> void numberOrNull(const std::optional<T>& value) {
        if (value)
            number(static_cast<std::uint64_t>(*value));
        else
            null();
    }

private:
    void beforeValue();

    std::string& m_out;
    std::vector<bool> m_empty; // per open object or array: nothing in it yet
    bool m_afterKey = false;
};

// `text` as a JSON string, quotes included (see JsonWriter::string).
void appendJsonString(std::string& out, std::string_view text);

} // namespace orvu::cli
