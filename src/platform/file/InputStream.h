// A file opened for reading: bytes in order, with seeking and a known size, for readers that take a
// file a piece at a time (the sound decoders through their read callbacks) or whole.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qa::platform {

class InputStream {
  public:
    virtual ~InputStream() = default;
    InputStream() = default;
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;

    // Up to `size` bytes into `out`; fewer only at the end of the file or on a read error (0 then).
    virtual std::size_t read(void* out, std::size_t size) = 0;
    // Moves to `offset` from the start (SEEK_SET), the current place (SEEK_CUR) or the end
    // (SEEK_END). The new place, or -1 (and the place unchanged) when it is before the start.
    virtual std::int64_t seek(std::int64_t offset, int whence) = 0;
    virtual std::int64_t tell() const = 0;
    // The file's size in bytes.
    virtual std::int64_t size() const = 0;
    // A read failed (as opposed to the file ending).
    virtual bool failed() const = 0;
};

}  // namespace qa::platform
