// Checking an output's target, the exclusive temporary file beside it, checked writes and the rename.
#include "platform/file/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace qa::platform {

namespace fs = std::filesystem;

namespace {

// The target with every symbolic link of its existing part resolved: the file that would change.
fs::path resolved(const fs::path& target) {
    std::error_code ec;
    fs::path path = fs::absolute(target, ec);
    if (ec) path = target;
    fs::path canonical = fs::weakly_canonical(path, ec);
    return ec ? path.lexically_normal() : canonical;
}

bool under(const fs::path& file, const fs::path& folder) {
    const fs::path relative = file.lexically_relative(folder);
    if (relative.empty() || relative == ".") return false;
    return *relative.begin() != "..";
}

// The process's file-creation mask, read without changing it (umask() would, for every thread).
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
}

std::string errnoText(int error) {
    return error ? std::strerror(error) : "the file could not be written";
}

}  // namespace

std::string OutputFile::refusal(const fs::path& target, const std::vector<fs::path>& inputs) {
    const fs::path file = resolved(target);
    std::vector<struct stat> files;
    for (const fs::path& input : inputs) {
        struct stat in {};
        if (input.empty() || ::stat(input.c_str(), &in) != 0) continue;
        if (!S_ISDIR(in.st_mode)) {
            files.push_back(in);
        } else if (under(file, resolved(input))) {
            return target.string() + " lies in " + input.string() +
                   ", which this run reads; nothing is written there";
        }
    }
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0) {
        if (errno == ENOENT) return {};
        return "cannot write " + target.string() + ": " + std::strerror(errno);
    }
    // A symbolic link left here points nowhere: the finished file takes its place.
    if (S_ISLNK(st.st_mode)) return {};
    if (!S_ISREG(st.st_mode))
        return target.string() +
               " is not a regular file (a folder, device, pipe or socket); it is not replaced";
    for (const struct stat& in : files) {
        if (in.st_dev == st.st_dev && in.st_ino == st.st_ino)
            return target.string() + " is one of this run's inputs; it is not overwritten";
    }
    return {};
}

std::unique_ptr<OutputFile> OutputFile::create(const fs::path& target, std::string& error) {
    error = refusal(target);
    if (!error.empty()) return nullptr;
    const fs::path file = resolved(target);
    // A hidden name of the target's own with a random ending, created only if it did not exist.
    std::string stem = file.filename().string().substr(0, 200);
    std::string name = (file.parent_path() / ("." + stem + ".XXXXXX")).string();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot write " + target.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    // Made private by mkostemp; the finished file gets the permissions any new file would.
    ::fchmod(fd, 0666 & ~currentUmask());
    return std::unique_ptr<OutputFile>(new OutputFile(file, name, fd));
}

OutputFile::OutputFile(fs::path target, fs::path temporary, int fd)
    : target_(std::move(target)), temporary_(std::move(temporary)), fd_(fd) {}

OutputFile::~OutputFile() {
    if (!done_) discard();
}

std::FILE* OutputFile::stream() {
    if (!stream_ && fd_ >= 0 && !done_) {
        stream_ = ::fdopen(fd_, "wb");
        if (!stream_) failed_ = true;
    }
    return stream_;
}

bool OutputFile::write(const void* data, std::size_t size) {
    if (failed_) return false;
    std::FILE* out = stream();
    if (!out || std::fwrite(data, 1, size, out) != size) {
        note(errno);
        failed_ = true;
    }
    return !failed_;
}

void OutputFile::note(int error) {
    if (!error_) error_ = error;
}

bool OutputFile::closeFile() {
    bool ok = true;
    if (stream_) {
        if (std::fflush(stream_) != 0 || std::ferror(stream_)) {
            note(errno);
            ok = false;
        }
        if (std::fclose(stream_) != 0 && ok) {
            note(errno);
            ok = false;
        }
        stream_ = nullptr;
        fd_ = -1;
    } else if (fd_ >= 0) {
        if (::close(fd_) != 0) {
            note(errno);
            ok = false;
        }
        fd_ = -1;
    }
    return ok;
}

bool OutputFile::commit(std::string& error) {
    if (done_) {
        error = "cannot write " + target_.string() + ": it was given up";
        return false;
    }
    const bool closed = closeFile();
    if (failed_ || !closed) {
        error = "cannot write " + target_.string() + ": " + errnoText(error_);
        discard();
        return false;
    }
    // The target may have changed while the file was written.
    error = refusal(target_);
    if (error.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0)
        error = "cannot write " + target_.string() + ": " + std::strerror(errno);
    if (!error.empty()) {
        discard();
        return false;
    }
    done_ = true;
    return true;
}

void OutputFile::discard() {
    closeFile();
    ::unlink(temporary_.c_str());
    done_ = true;
}

}  // namespace qa::platform
