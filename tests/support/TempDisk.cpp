// Temporary disk folders.
#include "support/TempDisk.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

namespace fs = std::filesystem;

namespace qa::test {

TempDisk::TempDisk() {
    static std::atomic<int> counter{0};
    root_ = fs::temp_directory_path() /
            ("quorvart-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(root_);
    fs::create_directories(root_ / "data");
    previous_ = fs::current_path();
    fs::current_path(root_);
}

TempDisk::~TempDisk() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(root_, ec);
}

void TempDisk::write(const std::string& relativePath, const std::string& bytes) const {
    fs::path p = root_ / relativePath;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qa::test
