#pragma once

#include <optional>
#include <termios.h>

namespace ecusim {

// Single key presses from the terminal ecusim runs in, without echo or Enter. Inactive when the input is
// no terminal; the terminal's settings come back when this object goes.
class Keyboard {
public:
    Keyboard();
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    bool active() const { return enabled; }
    int fd() const;
    // A key that waits, without blocking.
    std::optional<char> key();

private:
    bool enabled = false;
    termios saved{};
};

} // namespace ecusim
