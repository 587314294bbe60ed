// Ending a message box on SIGTERM or SIGINT.
#include "platform/window/sdl/MessageBoxGuard.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace qa::platform::window {

std::atomic<int> MessageBoxGuard::signal_{0};

MessageBoxGuard::MessageBoxGuard() : before_(children()) {
    signal_ = 0;
    struct sigaction on {};
    on.sa_handler = &MessageBoxGuard::onSignal;
    sigemptyset(&on.sa_mask);
    sigaction(SIGTERM, &on, &oldTerm_);
    sigaction(SIGINT, &on, &oldInt_);
    watcher_ = std::thread([this] { watch(); });
}

MessageBoxGuard::~MessageBoxGuard() {
    done_ = true;
    watcher_.join();
    sigaction(SIGTERM, &oldTerm_, nullptr);
    sigaction(SIGINT, &oldInt_, nullptr);
}

void MessageBoxGuard::onSignal(int signal) {
    signal_ = signal;
}

std::set<pid_t> MessageBoxGuard::children() {
    std::set<pid_t> found;
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
        std::ifstream list(task.path() / "children");
        for (pid_t pid; list >> pid;) found.insert(pid);
    }
    return found;
}

void MessageBoxGuard::watch() {
    using namespace std::chrono;
    steady_clock::time_point asked{};
    while (!done_) {
        std::this_thread::sleep_for(milliseconds(20));
        const int signal = signal_.load();
        if (!signal) continue;
        if (asked == steady_clock::time_point{}) {
            asked = steady_clock::now();
            bool any = false;
            for (pid_t pid : children()) {
                if (before_.count(pid)) continue;
                // The box's process is a copy of this one, with these handlers: only SIGKILL ends it.
                kill(pid, SIGKILL);
                any = true;
            }
            if (any) continue;
        } else if (steady_clock::now() - asked < seconds(2)) {
            continue;
        }
        // No box process, or one that does not go: the signal ends the program.
        _exit(128 + signal);
    }
}

}  // namespace qa::platform::window
