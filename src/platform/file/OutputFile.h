// A finished output file written safely: under a fresh temporary name beside its target, every write
// checked, and renamed over the target only when complete and only when the target is absent or a
// regular file that the run does not read.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace qa::platform {

class OutputFile {
  public:
    // Why `target` may not be written, or empty when it may: it must be absent or a regular file
    // (through any symbolic links), none of `inputs` that are files the run reads, and inside none of
    // `inputs` that are folders the run reads.
    static std::string refusal(const std::filesystem::path& target,
                               const std::vector<std::filesystem::path>& inputs = {});

    // Checks the target (as refusal() does, without inputs) and creates a new temporary file beside
    // it, never under a name that was there before; null with the reason when it cannot.
    static std::unique_ptr<OutputFile> create(const std::filesystem::path& target, std::string& error);
    // Removes the temporary file unless the output was committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The name the finished file takes (symbolic links resolved), and the name it is written under.
    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporaryPath() const { return temporary_; }
    // The open temporary file, for writers that take a descriptor (it stays owned here).
    int descriptor() const { return fd_; }
    // A buffered stream over the descriptor, opened on first use (owned here).
    std::FILE* stream();

    // Appends through the stream; false, and the output marked failed, when not all was written.
    bool write(const void* data, std::size_t size);
    // Marks the output failed: a writer of its own found an error; commit() will not rename.
    void fail() { failed_ = true; }
    bool failed() const { return failed_; }

    // Flushes and closes the file, checking each step, and renames it over the target (checked
    // again). False with the reason, and the temporary file removed, when any step failed.
    bool commit(std::string& error);
    // Gives up: the temporary file is removed and the target left as it was.
    void discard();

  private:
    OutputFile(std::filesystem::path target, std::filesystem::path temporary, int fd);
    bool closeFile();
    void note(int error);  // keeps the first error's number

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    std::FILE* stream_ = nullptr;
    bool failed_ = false;
    int error_ = 0;  // the errno of the first failed step
    bool done_ = false;
};

}  // namespace qa::platform
