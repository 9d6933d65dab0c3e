#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace orvu {

// Why something could not be done. `kind` says what went wrong in words a
// program can act on; `detail` names it for a person: the system's own
// message, or the structure and file offset where reading stopped.
struct Failure {
    enum class Kind {
        System,      // the operating system refused; detail is its message
        NotAFile,    // a folder, device, FIFO or socket where a file was wanted
        NotAFolder,  // a file, or nothing, where a folder was wanted
        NotIconFile, // neither a PE or NE executable nor an icon file
        Damaged,     // a structure runs past its data or holds a value no valid file has
        OverLimit,   // a size past one of the reader's limits (icons/limits.h)
        NoSuchIcon,  // an icon or image that the file doesn't hold
        Exists,      // a file is in the way and may not be replaced
        Changed,     // a file no longer holds what was read from it before
    };

    Kind kind = Kind::Damaged;
    std::string detail;
    // For Kind::System, the system's own error number (errno, or
    // GetLastError() on Windows) where it is known; 0 otherwise.
    int systemError = 0;

    friend bool operator==(const Failure&, const Failure&) = default;
};

inline Failure damaged(std::string where) {
    return {Failure::Kind::Damaged, std::move(where)};
}

// "0x1a2b": file offsets in failure details.
std::string hexOffset(std::uint64_t offset);

// What a failure says, in English, for logs, the command-line tool and the
// library. The windows say it in their language instead, by its kind, from
// the catalogue (messages::reason in harvest/messages.h).
std::string describe(const Failure& failure);

// A value or the Failure that prevented it: the one way the libraries report
// that something could not be done. Reads like std::optional (test it, then
// dereference); failure() says why when it holds no value.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : m_state(std::in_place_index<1>, std::move(failure)) {}
    template <typename U>
    requires(std::is_constructible_v<T, U&&> && !std::is_same_v<std::decay_t<U>, Failure> &&
             !std::is_same_v<std::decay_t<U>, Result>) Result(U&& value)
        : m_state(std::in_place_index<0>, T(std::forward<U>(value))) {}

    bool has_value() const { return m_state.index() == 0; }
    explicit operator bool() const { return has_value(); }

    T& operator*() & { return std::get<0>(m_state); }
    const T& operator*() const& { return std::get<0>(m_state); }
    T&& operator*() && { return std::get<0>(std::move(m_state)); }
    T* operator->() { return &std::get<0>(m_state); }
    const T* operator->() const { return &std::get<0>(m_state); }

    const Failure& failure() const { return std::get<1>(m_state); }

private:
    std::variant<T, Failure> m_state;
};

// Success, or the Failure that prevented it.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : m_failure(std::move(failure)), m_failed(true) {}

    bool has_value() const { return !m_failed; }
    explicit operator bool() const { return has_value(); }
    const Failure& failure() const { return m_failure; }

private:
    Failure m_failure;
    bool m_failed = false;
};

} // namespace orvu
