// An open zip archive shared by its source and the entry streams read from it. libzip allows one
// thread at a time on an archive: every use takes the archive's lock.
#pragma once

#include <zip.h>

#include <mutex>

namespace qa::platform::archive {

class ZipArchive {
  public:
    explicit ZipArchive(zip_t* archive) : archive_(archive) {}
    ~ZipArchive() { zip_discard(archive_); }  // read only: nothing is ever written back
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    zip_t* get() const { return archive_; }
    std::mutex& mutex() { return mutex_; }

  private:
    zip_t* archive_;
    std::mutex mutex_;
};

}  // namespace qa::platform::archive
