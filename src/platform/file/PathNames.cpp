// Path splitting, case-insensitive comparison and listing order.
#include "platform/file/PathNames.h"

#include <algorithm>
#include <cctype>

namespace qa::platform {

namespace {
std::string lowerAscii(const std::string& s) {
    std::string r = s;
    for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}
}  // namespace

std::vector<std::string> PathNames::components(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

std::string PathNames::folded(const std::string& name) {
    return lowerAscii(name);
}

bool PathNames::sameButCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && lowerAscii(a) == lowerAscii(b);
}

std::string PathNames::patternFolder(const std::string& pattern) {
    const std::size_t cut = pattern.find_last_of("\\/");
    return cut == std::string::npos ? std::string(".") : pattern.substr(0, cut);
}

std::vector<FileEntry> PathNames::listing(std::vector<FileEntry> entries) {
    std::sort(entries.begin(), entries.end(), [](const FileEntry& a, const FileEntry& b) {
        const std::string la = lowerAscii(a.name), lb = lowerAscii(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    std::vector<FileEntry> out{{".", true}, {"..", true}};
    out.insert(out.end(), entries.begin(), entries.end());
    return out;
}

}  // namespace qa::platform
