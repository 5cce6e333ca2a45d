#pragma once

#include <utility>

// Stores `value` into `field` and tells whether it differed, so that a setter repaints only on a
// real change: the live values arrive every 25 ms and are mostly unchanged.
template <typename T, typename U> bool AssignIfChanged(T& field, U&& value) {
    if (field == value) {
        return false;
    }
    field = std::forward<U>(value);
    return true;
}
