// Files for tests.
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace qa::test {

std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void put(const std::filesystem::path& path, const std::string& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool contains(const std::vector<std::string>& lines, const std::string& part) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return contains(line, part); });
}

void writeZip(const std::filesystem::path& path,
              const std::vector<std::pair<std::string, std::string>>& files, bool store) {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr) << path;
    for (const auto& [name, bytes] : files) {
        zip_int64_t at = -1;
        if (!name.empty() && name.back() == '/') {
            at = zip_dir_add(z, name.c_str(), ZIP_FL_ENC_RAW);
        } else {
            zip_source_t* source = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
            at = zip_file_add(z, name.c_str(), source, ZIP_FL_ENC_RAW);
            if (at >= 0 && store) zip_set_file_compression(z, static_cast<zip_uint64_t>(at), ZIP_CM_STORE, 0);
        }
        EXPECT_GE(at, 0) << name;
    }
    ASSERT_EQ(zip_close(z), 0) << path;
}

}  // namespace qa::test
