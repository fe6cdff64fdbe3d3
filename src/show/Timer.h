// A stopwatch on the platform tick count. The frame end keeps the show's
// timers current; nothing reads them, but they are part of the frame's cost.
#pragma once

#include "platform/LiveInstances.h"

class Timer : platform::LiveInstances<Timer> {
public:
    Timer();

    void start();
    void restart();
    void stop();
    // Elapsed time since start, computed in floating point from the two tick
    // values. Across a wrap of the 32-bit tick count it goes negative.
    void update();

    double getMinutes() const { return minutes; }
    double getSeconds() const { return seconds; }
    double getMilliseconds() const { return milliseconds; }
    bool isRunning() const { return running; }

    // Everything a timer holds, for a show state.
    struct State {
        double minutes, seconds, milliseconds, startTick;
        bool running;
    };
    State getState() const { return {minutes, seconds, milliseconds, startTick, running}; }
    void setState(const State& saved) {
        minutes = saved.minutes;
        seconds = saved.seconds;
        milliseconds = saved.milliseconds;
        startTick = saved.startTick;
        running = saved.running;
    }

private:
    double minutes;
    double seconds;
    double milliseconds;
    double startTick = 0.0;
    bool running;
};
