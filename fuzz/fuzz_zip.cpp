// Disk archives of random bytes: opened as a file source, every folder listed, every file read
// through, and each moved about in (forward, back, from the end), as the decoders do.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzDisk.h"
#include "platform/file/archive/ZipSource.h"

namespace {

using namespace qa::platform;

constexpr std::size_t kMaxReadBytes = 1 << 20;

void readAround(InputStream& in) {
    std::vector<char> buf(64 * 1024);
    std::size_t total = 0;
    while (total < kMaxReadBytes) {
        const std::size_t n = in.read(buf.data(), buf.size());
        if (n == 0) break;
        total += n;
    }
    const std::int64_t size = in.size();
    for (std::int64_t to : {size / 2, std::int64_t{0}, size - 1, size, size + 1, std::int64_t{-1}}) {
        if (in.seek(to, SEEK_SET) >= 0) in.read(buf.data(), 100);
    }
    if (in.seek(-4, SEEK_END) >= 0) in.read(buf.data(), 4);
    if (in.seek(3, SEEK_CUR) >= 0) in.read(buf.data(), 10);
}

void walk(archive::ZipSource& source, const std::string& folder, int depth) {
    std::vector<FileEntry> entries;
    if (depth > 8 || !source.list(folder + "\\*.*", entries)) return;
    for (const FileEntry& e : entries) {
        if (e.name == "." || e.name == "..") continue;
        const std::string path = folder + "\\" + e.name;
        if (e.directory) {
            walk(source, path, depth + 1);
        } else if (std::unique_ptr<InputStream> in = source.open(path)) {
            readAround(*in);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qa::fuzz::FuzzDisk::write("fuzz.qdisk", std::string(reinterpret_cast<const char*>(data), size));
    std::string reason;
    std::unique_ptr<archive::ZipSource> source =
        archive::ZipSource::load(qa::fuzz::FuzzDisk::root() + "/fuzz.qdisk", reason);
    if (!source) return 0;
    walk(*source, ".", 0);
    for (const char* path : {"..\\fuzz.qdisk", "data\\..\\..\\x", "/etc/passwd", "DATA\\QUORVART.XQD"}) {
        if (std::unique_ptr<InputStream> in = source->open(path)) readAround(*in);
    }
    return 0;
}
