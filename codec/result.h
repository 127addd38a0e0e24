#pragma once
// Result<T>: the value of an operation that can fail in an expected way (I/O, damaged data, bad input),
// or the error that stopped it. Errors carry Lumora's number, source and description so the window can
// show its exact message texts. No exceptions cross a library boundary.

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace lumora {

struct Error {
    int32_t number = 0;
    std::string source;
    std::string description;
    // The numbered step of a multi-step procedure at which the error arose (0 = not numbered);
    // Lumora's failure messages name it.
    int step = 0;
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : m_state(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    const Error& error() const { return std::get<1>(m_state); }

    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

private:
    std::variant<T, Error> m_state;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : m_failed(true), m_error(std::move(error)) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return m_error; }

private:
    bool m_failed = false;
    Error m_error;
};

}  // namespace lumora
