#include "sim/keyboard.h"

#include <unistd.h>

namespace ecusim {

Keyboard::Keyboard() {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved) != 0)
        return;
    termios keys = saved;
    keys.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    keys.c_cc[VMIN] = 0;
    keys.c_cc[VTIME] = 0;
    enabled = tcsetattr(STDIN_FILENO, TCSANOW, &keys) == 0;
}

Keyboard::~Keyboard() {
    if (enabled)
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

int Keyboard::fd() const {
    return STDIN_FILENO;
}

std::optional<char> Keyboard::key() {
    char c = 0;
    if (!enabled || ::read(STDIN_FILENO, &c, 1) != 1)
        return std::nullopt;
    return c;
}

} // namespace ecusim
