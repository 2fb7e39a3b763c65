#pragma once
// Scope that pauses the application's frame timer while at least one pauser lives, so that long
// work never reaches the next frame step. During loading pausers count but never pause.

class TimePauser {
public:
    TimePauser();
    ~TimePauser();
    TimePauser(const TimePauser&) = delete;
    TimePauser& operator=(const TimePauser&) = delete;

    static int GetCounter() { return _counter; }

private:
    bool _loading = false;
    static int _counter;
};
