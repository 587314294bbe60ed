// Windows-style path resolution, regular files opened and read whole, and ordered folder listings.
#include "platform/file/Files.h"

#include <sys/stat.h>

#include <algorithm>
#include <system_error>

#include "platform/file/PathNames.h"
#include "platform/file/RegularFile.h"

namespace fs = std::filesystem;

namespace qa::platform {

fs::path Files::resolve(const std::string& windowsPath, const fs::path& base) {
    const bool absolute = !windowsPath.empty() && (windowsPath[0] == '/' || windowsPath[0] == '\\');
    fs::path current = absolute ? fs::path("/") : base;
    std::error_code ec;
    for (const std::string& part : PathNames::components(windowsPath)) {
        fs::path candidate = current.empty() ? fs::path(part) : current / part;
        if (part == "." || part == ".." || fs::exists(candidate, ec)) {
            current = candidate;
            continue;
        }
        // Not there as written: look for a case-insensitive match among the folder's entries.
        fs::path folder = current.empty() ? fs::path(".") : current;
        fs::path found;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (PathNames::sameButCase(name, part) && (found.empty() || name < found.filename().string())) {
                found = it->path().filename();
            }
        }
        current = found.empty() ? candidate : (current.empty() ? found : current / found);
    }
    return current.empty() ? fs::path(".") : current;
}

bool Files::exists(const std::string& windowsPath, const fs::path& base) {
    std::error_code ec;
    return fs::exists(resolve(windowsPath, base), ec);
}

std::unique_ptr<InputStream> Files::open(const std::string& windowsPath, const fs::path& base) {
    return RegularFile::open(resolve(windowsPath, base));
}

FileStamp Files::stamp(const std::string& windowsPath, const fs::path& base) {
    FileStamp result;
    struct stat st {};
    if (::stat(resolve(windowsPath, base).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return result;
    result.known = true;
    result.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    result.size = static_cast<std::uint64_t>(st.st_size);
    result.fileNumber = static_cast<std::uint64_t>(st.st_ino);
    return result;
}

std::string Files::fileKey(const std::string& windowsPath, const fs::path& base) {
    struct stat st {};
    if (::stat(resolve(windowsPath, base).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return std::to_string(static_cast<std::uint64_t>(st.st_dev)) + ":" +
           std::to_string(static_cast<std::uint64_t>(st.st_ino));
}

bool Files::readAll(const std::string& windowsPath, std::string& out, std::uint64_t maxBytes) {
    out.clear();
    std::unique_ptr<InputStream> file = open(windowsPath);
    return file && readAll(*file, out, maxBytes);
}

bool Files::readAll(InputStream& file, std::string& out, std::uint64_t maxBytes) {
    out.clear();
    char buf[65536];
    std::size_t n;
    while (out.size() < maxBytes && (n = file.read(buf, sizeof buf)) > 0) {
        out.append(buf, static_cast<std::size_t>(std::min<std::uint64_t>(n, maxBytes - out.size())));
    }
    return true;
}

bool Files::list(const std::string& pattern, std::vector<Entry>& out, const fs::path& base) {
    out.clear();
    std::error_code ec;
    fs::path folder = resolve(PathNames::patternFolder(pattern), base);
    if (!fs::is_directory(folder, ec)) return false;
    std::vector<Entry> entries;
    fs::directory_iterator it(folder, ec), end;
    if (ec) return false;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        entries.push_back({it->path().filename().string(), it->is_directory(ec2)});
    }
    out = PathNames::listing(std::move(entries));
    return true;
}

Files::Reader::Reader(const std::string& windowsPath) : file_(open(windowsPath)) {}

Files::Reader::~Reader() = default;

std::size_t Files::Reader::read(char* buf, std::size_t size) {
    return file_ ? file_->read(buf, size) : 0;
}

}  // namespace qa::platform
