#pragma once

/// @file
/// What an operation that can fail gives back: its value, or why it failed in the words the
/// operator is shown.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace resipa {

/// Why an operation failed, in Indonesian, as the operator reads it.
struct Failure {
    std::string text;
};

/// The value of an operation, or the Failure that prevented it.
template <typename T = void>
class [[nodiscard]] Result {
public:
    Result(T value)
        : m_outcome(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure)
        : m_outcome(std::in_place_index<1>, std::move(failure)) {}

    /// True when the operation succeeded.
    explicit operator bool() const { return m_outcome.index() == 0; }
    T& operator*() { return std::get<0>(m_outcome); }
    const T& operator*() const { return std::get<0>(m_outcome); }
    T* operator->() { return &std::get<0>(m_outcome); }
    /// Only after a failure.
    const Failure& failure() const { return std::get<1>(m_outcome); }

private:
    std::variant<T, Failure> m_outcome;
};

/// Success, or the Failure that prevented it.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure)
        : m_failure(std::move(failure)) {}

    /// True when the operation succeeded.
    explicit operator bool() const { return !m_failure; }
    /// Only after a failure.
    const Failure& failure() const { return *m_failure; }

private:
    std::optional<Failure> m_failure;
};

} // namespace resipa
