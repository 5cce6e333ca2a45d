#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>

// Moves up to max bytes from the front of a test port's input queue into buffer.
inline std::size_t TakeFront(std::deque<uint8_t>& queue, uint8_t* buffer, std::size_t max) {
    const std::size_t n = std::min(max, queue.size());
    std::copy_n(queue.begin(), n, buffer);
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}
