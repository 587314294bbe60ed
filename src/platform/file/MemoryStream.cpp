// Reading bytes in memory.
#include "platform/file/MemoryStream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qa::platform {

std::size_t MemoryStream::read(void* out, std::size_t size) {
    const std::size_t at = static_cast<std::size_t>(std::min(position_, this->size()));
    const std::size_t n = std::min(size, bytes_->size() - at);
    if (n > 0) std::memcpy(out, bytes_->data() + at, n);
    position_ += static_cast<std::int64_t>(n);
    return n;
}

std::int64_t MemoryStream::seek(std::int64_t offset, int whence) {
    const std::int64_t base = whence == SEEK_CUR ? position_ : whence == SEEK_END ? size() : 0;
    if (offset < -base) return -1;
    position_ = base + offset;
    return position_;
}

}  // namespace qa::platform
