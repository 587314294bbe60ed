// One opened file seen by the decoders that try it in turn: each gets a view of the same stream, and
// the one that takes the file keeps the stream alive through its view.
#pragma once

#include <memory>

#include "platform/file/InputStream.h"

namespace qa::platform::audio {

class SharedStreamView : public InputStream {
  public:
    explicit SharedStreamView(std::shared_ptr<InputStream> stream) : stream_(std::move(stream)) {}

    std::size_t read(void* out, std::size_t size) override { return stream_->read(out, size); }
    std::int64_t seek(std::int64_t offset, int whence) override { return stream_->seek(offset, whence); }
    std::int64_t tell() const override { return stream_->tell(); }
    std::int64_t size() const override { return stream_->size(); }
    bool failed() const override { return stream_->failed(); }

  private:
    std::shared_ptr<InputStream> stream_;
};

}  // namespace qa::platform::audio
