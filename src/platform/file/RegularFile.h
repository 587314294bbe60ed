// A regular file of the local file system opened for reading. Anything else that has a name (a
// named pipe, a device, a socket, a folder) is refused without waiting on it: opening a named pipe
// with no writer, or reading a device, could block the program for ever.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/file/InputStream.h"

namespace qa::platform {

class RegularFile : public InputStream {
  public:
    // Null when the path names no regular file or it cannot be opened.
    static std::unique_ptr<RegularFile> open(const std::filesystem::path& path);
    // The same as a blocking file descriptor of the caller's, and the file's size; -1 when refused.
    static int openDescriptor(const std::filesystem::path& path, std::int64_t& size);
    ~RegularFile() override;

    std::size_t read(void* out, std::size_t size) override;
    std::int64_t seek(std::int64_t offset, int whence) override;
    std::int64_t tell() const override;
    std::int64_t size() const override { return size_; }
    bool failed() const override;

  private:
    RegularFile(std::FILE* file, std::int64_t size);

    std::FILE* file_;
    std::int64_t size_;
    // Reads come a few bytes at a time from some decoders (a frame header, then its body): served
    // from this buffer, they cost one system call per block rather than two per frame.
    std::vector<char> buffer_;
};

}  // namespace qa::platform
