// The fuzz targets' disk folder.
#include "FuzzDisk.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace qa::fuzz {

const std::string& FuzzDisk::root() {
    static const std::string path = [] {
        fs::path p = fs::temp_directory_path() / ("quorvart-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(p / "data");
        fs::current_path(p);
        return p.string();
    }();
    return path;
}

void FuzzDisk::write(const std::string& relativePath, const std::string& bytes) {
    fs::path p = fs::path(root()) / relativePath;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qa::fuzz
