#include "show/Timer.h"

#include "platform/Ticks.h"

Timer::Timer() : minutes(0.0), seconds(0.0), milliseconds(0.0), running(false) {}

void Timer::start() {
    startTick = static_cast<double>(platform::tickCount());
    running = true;
}

void Timer::restart() {
    minutes = seconds = milliseconds = 0.0;
    running = true;
    startTick = static_cast<double>(platform::tickCount());
}

void Timer::stop() { running = false; }

void Timer::update() {
    if (!running) return;
    milliseconds = static_cast<double>(platform::tickCount()) - startTick;
    seconds = milliseconds / 1000.0;
}
