// Opening without blocking, checking the kind of file on the opened descriptor, buffered reads.
#include "platform/file/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qa::platform {

namespace {
constexpr std::size_t kBufferBytes = 64 * 1024;
}  // namespace

int RegularFile::openDescriptor(const std::filesystem::path& path, std::int64_t& size) {
    // Non-blocking, so that a named pipe without a writer opens at once (and is then refused) rather
    // than waiting for one; the kind is checked on the descriptor itself, so the name cannot be
    // swapped for something else between a check and the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st {};
    const int flags = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ::fcntl(fd, F_GETFL) : -1;
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        ::close(fd);
        return -1;
    }
    size = static_cast<std::int64_t>(st.st_size);
    return fd;
}

std::unique_ptr<RegularFile> RegularFile::open(const std::filesystem::path& path) {
    std::int64_t size = 0;
    const int fd = openDescriptor(path, size);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<RegularFile> opened(new RegularFile(file, size));
    std::setvbuf(file, opened->buffer_.data(), _IOFBF, opened->buffer_.size());
    return opened;
}

RegularFile::RegularFile(std::FILE* file, std::int64_t size)
    : file_(file), size_(size), buffer_(kBufferBytes) {}

RegularFile::~RegularFile() {
    std::fclose(file_);
}

std::size_t RegularFile::read(void* out, std::size_t size) {
    return std::fread(out, 1, size, file_);
}

std::int64_t RegularFile::seek(std::int64_t offset, int whence) {
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
    if (fseeko(file_, static_cast<off_t>(offset), whence) != 0) return -1;
    return tell();
}

std::int64_t RegularFile::tell() const {
    return static_cast<std::int64_t>(ftello(file_));
}

bool RegularFile::failed() const {
    return std::ferror(file_) != 0;
}

}  // namespace qa::platform
