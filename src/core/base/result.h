#pragma once

// The one shape in which the core answers an operation that may fail: its
// value, or a failure of a type that says what went wrong. The command line
// and the windows word each failure their own way; the core words nothing for
// them. An operation that gives nothing back answers Result<Done, F>.

#include <type_traits>
#include <utility>
#include <variant>

namespace tavu {

// The value of an operation that succeeded and gives nothing back.
struct Done {
    bool operator==(const Done&) const = default;
};

template <typename T, typename F>
class [[nodiscard]] Result {
    static_assert(!std::is_same_v<T, F>, "a value and a failure of the same type could not be told apart");

public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(F failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // Only when !ok().
    const F& failure() const& { return std::get<1>(state_); }
    F&& failure() && { return std::get<1>(std::move(state_)); }

private:
    std::variant<T, F> state_;
};

} // namespace tavu
