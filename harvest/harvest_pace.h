#pragma once

#include "harvest/harvest_window.h"

#include <chrono>

namespace orvu {

// Lets the window handle its events often enough that it never stalls: a
// harvest yields after every file of a folder, and within any file once the
// window's longest pause has passed since the last yield, so one file of
// thousands of icons doesn't freeze the window either.
class HarvestPace {
public:
    explicit HarvestPace(HarvestWindow& window) : m_window(window) { restart(); }

    // Yields now; false when the harvest must stop.
    bool yield() {
        const bool goOn = m_window.yieldToEvents();
        restart();
        return goOn;
    }
    // Whether the longest pause is over.
    bool due() const { return std::chrono::steady_clock::now() >= m_due; }

private:
    void restart() { m_due = std::chrono::steady_clock::now() + m_window.longestPause(); }

    HarvestWindow& m_window;
    std::chrono::steady_clock::time_point m_due;
};

} // namespace orvu
