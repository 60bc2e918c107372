#pragma once
// The playing position as a value that runs on with the system's monotonic clock between the
// moments it is set. The audio output sets it to what is being heard; without sound it is set
// once at each landing and just runs. Not thread-safe: the session guards it with its lock.

#include <chrono>
#include <cstdint>

namespace engine::player {

class PlaybackClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    int64_t at(TimePoint now) const {
        if (!m_running)
            return m_baseUs;
        return m_baseUs +
               std::chrono::duration_cast<std::chrono::microseconds>(now - m_since).count();
    }
    int64_t now() const { return at(std::chrono::steady_clock::now()); }
    bool running() const { return m_running; }

    void set(int64_t positionUs, bool running) {
        m_baseUs = positionUs;
        m_since = std::chrono::steady_clock::now();
        m_running = running;
    }
    void freeze() { set(now(), false); }
    void run() {
        if (!m_running)
            set(m_baseUs, true);
    }

    // How long until the clock shows `positionUs`; zero when it already has, and
    // std::nullopt-like "forever" (a day) when it is not running and behind.
    std::chrono::microseconds until(int64_t positionUs) const {
        const int64_t left = positionUs - now();
        if (left <= 0)
            return std::chrono::microseconds(0);
        if (!m_running)
            return std::chrono::hours(24);
        return std::chrono::microseconds(left);
    }

private:
    int64_t m_baseUs = 0;
    TimePoint m_since = std::chrono::steady_clock::now();
    bool m_running = false;
};

} // namespace engine::player
