// The timers of the process, advanced once per frame.
#pragma once

namespace qa::script {

class TimerList {
public:
    // Advances every timer by dt seconds, running init, tick and end scripts as they fall due.
    void pass(double dt);
    // Shutdown: runs the end script of every remaining timer, in list order, and destroys it.
    void shutdown();
    bool empty() const { return true; }
};

// The one timer list of the process.
TimerList& timerList();

}  // namespace qa::script
