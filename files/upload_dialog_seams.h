#pragma once

#include <functional>

class TForm7;

// What the upload dialog takes from the outside world, so tests run it without a modal loop and
// without the clock. An empty member means the real thing.
struct UploadDialogSeams {
    std::function<void(TForm7&)> runModal; // shows the dialog and returns when it has closed
    std::function<void(int ms)> sleepMs;   // a blocking sleep
    std::function<void()> processEvents;   // handles pending window, timer and serial events
};
