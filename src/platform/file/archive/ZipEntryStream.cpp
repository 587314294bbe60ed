// Reading and seeking inside one archive entry.
#include "platform/file/archive/ZipEntryStream.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace qa::platform::archive {

std::unique_ptr<ZipEntryStream> ZipEntryStream::open(std::shared_ptr<ZipArchive> archive, std::uint64_t index,
                                                     std::uint64_t size, bool stored) {
    std::unique_ptr<ZipEntryStream> stream(new ZipEntryStream(std::move(archive), index, size, stored));
    std::lock_guard lock(stream->archive_->mutex());
    if (!stream->restartLocked()) return nullptr;
    return stream;
}

ZipEntryStream::ZipEntryStream(std::shared_ptr<ZipArchive> archive, std::uint64_t index, std::uint64_t size,
                               bool stored)
    : archive_(std::move(archive)), index_(index), size_(size), stored_(stored) {}

ZipEntryStream::~ZipEntryStream() {
    std::lock_guard lock(archive_->mutex());
    if (file_) zip_fclose(file_);
}

bool ZipEntryStream::restartLocked() {
    if (file_) zip_fclose(file_);
    file_ = zip_fopen_index(archive_->get(), index_, 0);
    decoded_ = 0;
    return file_ != nullptr;
}

std::size_t ZipEntryStream::read(void* out, std::size_t size) {
    std::lock_guard lock(archive_->mutex());
    if (!file_ || failed_ || !catchUpLocked()) return 0;
    const std::size_t got = fetchLocked(out, size);
    position_ = decoded_;
    return got;
}

std::size_t ZipEntryStream::fetchLocked(void* out, std::size_t size) {
    const std::uint64_t want = std::min<std::uint64_t>(size, size_ - decoded_);
    if (want == 0) return 0;
    const zip_int64_t got = zip_fread(file_, out, want);
    // Less data than the entry declares, or data that does not check: a damaged archive.
    if (got <= 0) {
        failed_ = true;
        return 0;
    }
    decoded_ += static_cast<std::uint64_t>(got);
    if (decoded_ == size_) {
        // The entry's checksum is compared when its end is read: one read past the last byte. Data
        // that does not match, or more data than declared, marks the stream failed.
        char past;
        if (zip_fread(file_, &past, 1) != 0) failed_ = true;
    }
    return static_cast<std::size_t>(got);
}

bool ZipEntryStream::catchUpLocked() {
    if (decoded_ == position_) return true;
    if (stored_ && zip_fseek(file_, static_cast<zip_int64_t>(position_), SEEK_SET) == 0) {
        decoded_ = position_;
        return true;
    }
    if (position_ < decoded_ && !restartLocked()) {
        failed_ = true;
        return false;
    }
    std::vector<char> skip(64 * 1024);
    while (decoded_ < position_) {
        if (fetchLocked(skip.data(), static_cast<std::size_t>(
                                         std::min<std::uint64_t>(skip.size(), position_ - decoded_))) == 0) {
            failed_ = true;
            return false;
        }
    }
    return true;
}

std::int64_t ZipEntryStream::seek(std::int64_t offset, int whence) {
    std::int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<std::int64_t>(position_);
    else if (whence == SEEK_END)
        base = static_cast<std::int64_t>(size_);
    else if (whence != SEEK_SET)
        return -1;
    const std::int64_t target = base + offset;
    if (target < 0 || static_cast<std::uint64_t>(target) > size_) return -1;
    std::lock_guard lock(archive_->mutex());
    if (!file_ || failed_) return -1;
    // Only noted: the next read decodes up to it, so a seek to learn the size, or past data that is
    // never read, decodes nothing.
    position_ = static_cast<std::uint64_t>(target);
    return target;
}

}  // namespace qa::platform::archive
