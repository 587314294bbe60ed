// A file watcher on the kernel's inotify: one watch per folder of the tree, read without waiting.
#include "platform/watch/inotify/InotifyWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace qa::platform::watch {

namespace {

// A file counts as changed once its writer closes it (not at every write of a save in progress), or
// when it is created, removed, renamed or touched.
constexpr std::uint32_t kEvents = IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                  IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
// Folders deeper than this are not watched: a disk has no reason to nest so deep, and a loop of
// links must not exhaust the watches.
constexpr int kMaxDepth = 16;
// What happens to the root under its own name in the folder that holds it.
constexpr std::uint32_t kParentEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;

std::string join(const std::string& a, const std::string& b) {
    return a.empty() ? b : a + "/" + b;
}

}  // namespace

std::unique_ptr<FileWatcher> FileWatcher::create() {
    return std::make_unique<InotifyWatcher>();
}

InotifyWatcher::InotifyWatcher() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

InotifyWatcher::~InotifyWatcher() {
    if (fd_ >= 0) close(fd_);
}

bool InotifyWatcher::watch(const std::string& folder) {
    if (fd_ < 0) return false;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return false;
    dropTree();
    if (parentWd_ >= 0) inotify_rm_watch(fd_, parentWd_);
    root_ = folder;
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
    const std::filesystem::path path(root_);
    rootName_ = path.filename().string();
    const std::string parent = path.has_parent_path() ? path.parent_path().string() : std::string(".");
    // A root named "." or ".." has no name of its own in the folder that holds it.
    const bool named = !rootName_.empty() && rootName_ != "." && rootName_ != "..";
    parentWd_ = named ? inotify_add_watch(fd_, parent.c_str(), kParentEvents) : -1;
    addTree("");
    return !folders_.empty();
}

void InotifyWatcher::dropTree() {
    for (const auto& [wd, relative] : folders_) inotify_rm_watch(fd_, wd);
    folders_.clear();
}

void InotifyWatcher::addTree(const std::string& relative) {
    if (std::count(relative.begin(), relative.end(), '/') >= kMaxDepth) return;
    const std::string path = relative.empty() ? root_ : root_ + "/" + relative;
    const int wd = inotify_add_watch(fd_, path.c_str(), kEvents | IN_ONLYDIR);
    if (wd < 0) return;
    folders_[wd] = relative;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError) && !it->is_symlink(typeError))
            addTree(join(relative, it->path().filename().string()));
    }
}

std::vector<std::string> InotifyWatcher::changes() {
    std::vector<std::string> changed;
    if (fd_ < 0) return changed;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0) break;  // EAGAIN: nothing more to read now
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                changed.emplace_back("");  // events were lost: something changed
                continue;
            }
            if (event->wd == parentWd_ && parentWd_ >= 0) {
                if (event->len == 0 || rootName_ != event->name) continue;
                // The root went or came back under its name: whatever it holds now is new.
                dropTree();
                if (event->mask & (IN_CREATE | IN_MOVED_TO)) addTree("");
                if (std::find(changed.begin(), changed.end(), "") == changed.end()) changed.emplace_back("");
                continue;
            }
            const auto folder = folders_.find(event->wd);
            if (folder == folders_.end()) continue;
            if (event->mask & IN_IGNORED) {
                folders_.erase(folder);
                continue;
            }
            const std::string name = event->len ? std::string(event->name) : std::string();
            const std::string path = join(folder->second, name);
            // A folder made or moved in is watched from now on, with what it already holds.
            if ((event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO))) addTree(path);
            if (std::find(changed.begin(), changed.end(), path) == changed.end()) changed.push_back(path);
        }
    }
    return changed;
}

}  // namespace qa::platform::watch
