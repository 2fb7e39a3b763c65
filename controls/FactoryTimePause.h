#pragma once
// Keeps the game timer paused while the factories build, so building never enters a frame step.

#include <functional>

class FactoryTimePause {
public:
    FactoryTimePause();
    ~FactoryTimePause();
    FactoryTimePause(const FactoryTimePause&) = delete;
    FactoryTimePause& operator=(const FactoryTimePause&) = delete;
};
