// Parsing and writing the registry-export text, and the atomic replacement of the file.
#include "platform/file/FileSettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "platform/file/OutputFile.h"

namespace qa::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxFileBytes = 1 << 20;  // a settings file is a few lines; more is not ours

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r')) --b;
    return s.substr(a, b - a);
}

// Files saved by the registry editor are UTF-16 with a byte order mark; only ASCII matters here.
std::string toNarrow(const std::string& raw) {
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF &&
        static_cast<unsigned char>(raw[1]) == 0xFE) {
        std::string out;
        for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
            const unsigned u =
                static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8);
            out.push_back(u < 0x80 ? static_cast<char>(u) : '?');
        }
        return out;
    }
    if (raw.size() >= 3 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) return raw.substr(3);
    return raw;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "hex:00,01", "hex(3):00" (any type: the type is not examined), "dword:00000001", a quoted string
// (UTF-16 with its terminator, so never one byte).
bool dataBytes(const std::string& data, std::vector<std::uint8_t>& out) {
    out.clear();
    std::string body;
    if (data.rfind("hex:", 0) == 0) {
        body = data.substr(4);
    } else if (data.rfind("hex(", 0) == 0) {
        const std::size_t close = data.find("):");
        if (close == std::string::npos || close <= 4 || close > 12) return false;
        for (std::size_t i = 4; i < close; ++i) {
            if (hexDigit(data[i]) < 0) return false;
        }
        body = data.substr(close + 2);
    } else if (data.rfind("dword:", 0) == 0) {
        const std::string digits = data.substr(6);
        if (digits.size() != 8) return false;
        std::uint32_t v = 0;
        for (char c : digits) {
            const int d = hexDigit(c);
            if (d < 0) return false;
            v = (v << 4) | static_cast<std::uint32_t>(d);
        }
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return true;
    } else if (data.size() >= 2 && data.front() == '"' && data.back() == '"') {
        out.assign((data.size() - 2 + 1) * 2, 0);  // at least the terminator: two bytes
        return true;
    } else {
        return false;
    }
    std::string digits;
    for (char c : body) {
        if (c != ' ' && c != '\t') digits.push_back(c);
    }
    if (digits.empty()) return true;  // a value with no bytes
    std::size_t i = 0;
    while (i < digits.size()) {
        if (i + 2 > digits.size()) return false;
        const int hi = hexDigit(digits[i]), lo = hexDigit(digits[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        i += 2;
        if (i < digits.size()) {
            if (digits[i] != ',' || i + 1 == digits.size()) return false;
            ++i;
        }
    }
    return true;
}

// A quoted value name with its backslash escapes; the position after the closing quote.
bool quotedName(const std::string& line, std::string& name, std::size_t& end) {
    if (line.empty() || line[0] != '"') return false;
    name.clear();
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            name.push_back(line[++i]);
        } else if (line[i] == '"') {
            end = i + 1;
            return true;
        } else {
            name.push_back(line[i]);
        }
    }
    return false;
}

std::string quote(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

// At most kMaxFileBytes + 1 bytes are read, so a huge file costs nothing; a read error (the name is
// a folder, the disk fails) is a failure, never an exception.
bool readFile(const fs::path& path, std::string& out) {
    out.clear();
    // Without waiting: a named pipe in the file's place must not hold up the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    char buf[4096];
    bool ok = true;
    while (out.size() <= kMaxFileBytes) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok && out.size() <= kMaxFileBytes;
}

}  // namespace

fs::path FileSettingsStore::defaultPath() {
    fs::path base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (xdg && *xdg) {
        base = xdg;
    } else if (home && *home) {
        base = fs::path(home) / ".config";
    } else {
        return {};
    }
    return base / "Brennick" / "QuorvArt" / "settings.reg";
}

std::vector<FileSettingsStore::Value> FileSettingsStore::parse(const std::string& raw) {
    std::vector<Value> values;
    const std::string text = toNarrow(raw);
    const std::string key = lower(kKey);
    std::istringstream in(text);
    std::string line;
    bool inKey = false;
    while (std::getline(in, line)) {
        line = trim(line);
        // A trailing backslash continues the data on the next line.
        while (!line.empty() && line.back() == '\\' && line.rfind('"', 0) == 0) {
            std::string next;
            if (!std::getline(in, next)) break;
            line.pop_back();
            line += trim(next);
        }
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const std::size_t close = line.rfind(']');
            const std::string section =
                close == std::string::npos ? std::string() : lower(line.substr(1, close - 1));
            if (section == "-" + key) {
                values.clear();  // the key deleted
                inKey = false;
            } else {
                inKey = section == key;
            }
            continue;
        }
        if (!inKey) continue;
        std::string name;
        std::size_t end = 0;
        if (!quotedName(line, name, end)) continue;
        const std::size_t eq = line.find_first_not_of(" \t", end);
        if (eq == std::string::npos || line[eq] != '=') continue;
        Value v;
        v.name = name;
        v.data = trim(line.substr(eq + 1));
        v.readable = dataBytes(v.data, v.bytes);
        auto same = [&](const Value& o) { return lower(o.name) == lower(name); };
        values.erase(std::remove_if(values.begin(), values.end(), same), values.end());
        if (v.data != "-") values.push_back(v);  // "-" deletes the value
    }
    return values;
}

std::string FileSettingsStore::format(const std::vector<Value>& values) {
    std::string out = std::string(kHeader) + "\n\n[" + kKey + "]\n";
    for (const Value& v : values) out += quote(v.name) + "=" + v.data + "\n";
    return out + "\n";
}

bool FileSettingsStore::usable() {
    struct stat st {};
    if (file_.empty() || ::lstat(file_.c_str(), &st) != 0) return true;  // absent: written afresh
    const char* why = nullptr;
    if (S_ISLNK(st.st_mode)) {
        why = "is a symbolic link";
    } else if (S_ISDIR(st.st_mode)) {
        return true;  // cannot be replaced by a file anyway: the write fails on its own
    } else if (!S_ISREG(st.st_mode)) {
        why = "is not a regular file";
    } else if (st.st_uid != ::geteuid()) {
        why = "belongs to another user";
    } else if (st.st_nlink > 1) {
        why = "has other names (hard links)";
    }
    if (!why) return true;
    if (!noticed_ && notices_) {
        std::fprintf(notices_,
                     "quorvart: the settings file %s %s; it is left as it is and the defaults are used\n",
                     file_.c_str(), why);
        std::fflush(notices_);
    }
    noticed_ = true;
    return false;
}

bool FileSettingsStore::read(const std::string& name, std::uint8_t& value) {
    if (file_.empty() || !usable()) return false;
    std::string text;
    if (!readFile(file_, text)) return false;
    for (const Value& v : parse(text)) {
        if (lower(v.name) == lower(name)) {
            if (!v.readable || v.bytes.size() != 1) return false;
            value = v.bytes[0];
            return true;
        }
    }
    return false;
}

bool FileSettingsStore::write(const std::map<std::string, std::uint8_t>& settings) {
    if (file_.empty() || !usable()) return false;
    std::vector<Value> values;
    std::string old;
    if (readFile(file_, old)) values = parse(old);
    for (const auto& [name, byte] : settings) {
        static const char* const digits = "0123456789abcdef";
        Value v;
        v.name = name;
        v.data = std::string("hex:") + digits[byte >> 4] + digits[byte & 15];
        v.readable = true;
        v.bytes = {byte};
        const std::string key = lower(name);  // clang 14 cannot capture the structured binding itself
        auto it =
            std::find_if(values.begin(), values.end(), [&](const Value& o) { return lower(o.name) == key; });
        if (it != values.end()) {
            *it = v;
        } else {
            values.push_back(v);
        }
    }
    const std::string text = format(values);

    std::error_code ec;
    fs::create_directories(file_.parent_path(), ec);
    if (ec) return false;
    std::string error;
    std::unique_ptr<OutputFile> out = OutputFile::create(file_, error);
    if (!out || !out->write(text.data(), text.size()) || std::fflush(out->stream()) != 0) return false;
    // On the disk before it takes the file's name, so a crash leaves the old file or the new one.
    if (::fsync(out->descriptor()) != 0) return false;
    return out->commit(error);
}

}  // namespace qa::platform
