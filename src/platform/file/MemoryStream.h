// Bytes held in memory read as a file: the first part of a file read once, handed to readers that
// only need to look at its start.
#pragma once

#include <memory>
#include <string>

#include "platform/file/InputStream.h"

namespace qa::platform {

class MemoryStream : public InputStream {
  public:
    explicit MemoryStream(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}

    std::size_t read(void* out, std::size_t size) override;
    std::int64_t seek(std::int64_t offset, int whence) override;
    std::int64_t tell() const override { return position_; }
    std::int64_t size() const override { return static_cast<std::int64_t>(bytes_->size()); }
    bool failed() const override { return false; }

  private:
    std::shared_ptr<const std::string> bytes_;
    std::int64_t position_ = 0;
};

}  // namespace qa::platform
