// Keeps a modal message box from outliving a request to end: while it is alive, SIGTERM and SIGINT
// close the box (SDL shows it from a process of its own and waits for it, retrying through signals),
// so the program goes on to end with its exit code. Where no box process can be found, the signal
// ends the program at once, as it would have without SDL.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <csignal>
#include <set>
#include <thread>

namespace qa::platform::window {

class MessageBoxGuard {
  public:
    MessageBoxGuard();
    ~MessageBoxGuard();
    MessageBoxGuard(const MessageBoxGuard&) = delete;
    MessageBoxGuard& operator=(const MessageBoxGuard&) = delete;

    // The signal that ended the box, 0 when it was closed in the usual way.
    int endedBy() const { return signal_.load(); }

  private:
    static void onSignal(int signal);
    // This process's children (the box's process is the one that was not there before).
    static std::set<pid_t> children();
    void watch();

    static std::atomic<int> signal_;
    struct sigaction oldTerm_ {};
    struct sigaction oldInt_ {};
    std::set<pid_t> before_;
    std::atomic<bool> done_{false};
    std::thread watcher_;
};

}  // namespace qa::platform::window
