// Lets work through at most once per interval: long loops ask Due() on every step and do
// the costly part (pumping messages, repainting) only when it answers true.
#pragma once

#include <chrono>

namespace platform {

class Throttle {
public:
    using Clock = std::chrono::steady_clock;

    explicit Throttle(std::chrono::milliseconds interval) : interval_(interval) {}

    // True, and the interval starts again, when the interval has passed since the last time.
    bool Due()
    {
        const Clock::time_point now = Clock::now();
        if (now - last_ < interval_)
            return false;
        last_ = now;
        return true;
    }
    // Starts the interval now, after the work was done for another reason.
    void Restart() { last_ = Clock::now(); }

private:
    std::chrono::milliseconds interval_;
    Clock::time_point last_{};
};

}  // namespace platform
