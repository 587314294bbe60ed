// One file of a zip archive read as it is needed, never more than its declared size. A seek only
// moves the read position; the next read gets there: stored entries seek directly, compressed ones
// move forward by decoding and back by starting over.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/file/InputStream.h"
#include "platform/file/archive/ZipArchive.h"

namespace qa::platform::archive {

class ZipEntryStream : public InputStream {
  public:
    // Null when the entry cannot be opened (damaged, encrypted, or an unknown compression).
    static std::unique_ptr<ZipEntryStream> open(std::shared_ptr<ZipArchive> archive, std::uint64_t index,
                                                std::uint64_t size, bool stored);
    ~ZipEntryStream() override;

    std::size_t read(void* out, std::size_t size) override;
    std::int64_t seek(std::int64_t offset, int whence) override;
    std::int64_t tell() const override { return static_cast<std::int64_t>(position_); }
    std::int64_t size() const override { return static_cast<std::int64_t>(size_); }
    bool failed() const override { return failed_; }

  private:
    ZipEntryStream(std::shared_ptr<ZipArchive> archive, std::uint64_t index, std::uint64_t size, bool stored);
    // With the archive's lock held: reading on from where the entry was decoded to, bringing that
    // to the read position, and starting the entry over.
    std::size_t fetchLocked(void* out, std::size_t size);
    bool catchUpLocked();
    bool restartLocked();

    std::shared_ptr<ZipArchive> archive_;
    zip_file_t* file_ = nullptr;
    std::uint64_t index_;
    std::uint64_t size_;
    bool stored_;
    std::uint64_t position_ = 0;  // where the next read starts
    std::uint64_t decoded_ = 0;   // where the entry's data was read to
    bool failed_ = false;
};

}  // namespace qa::platform::archive
