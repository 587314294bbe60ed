// Opening an archive, checking and indexing its names, and resolving disk paths inside it.
#include "platform/file/archive/ZipSource.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/file/PathNames.h"
#include "platform/file/RegularFile.h"
#include "platform/file/archive/ZipArchive.h"
#include "platform/file/archive/ZipEntryStream.h"

namespace qa::platform::archive {

namespace {

bool absolute(const std::string& name) {
    if (!name.empty() && (name[0] == '/' || name[0] == '\\')) return true;
    return name.size() >= 2 && name[1] == ':';  // a drive letter
}

std::string zipError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

}  // namespace

std::unique_ptr<ZipSource> ZipSource::load(const std::filesystem::path& archive, std::string& reason) {
    std::int64_t size = 0;
    const int fd = RegularFile::openDescriptor(archive, size);
    if (fd < 0) {
        reason = "not a file that can be read";
        return nullptr;
    }
    int code = 0;
    zip_t* zip = zip_fdopen(fd, ZIP_CHECKCONS, &code);
    if (!zip) {
        ::close(fd);
        reason = "not a zip archive, or a damaged one: " + zipError(code);
        return nullptr;
    }
    std::unique_ptr<ZipSource> source(new ZipSource(std::make_shared<ZipArchive>(zip)));
    if (!source->index(reason)) return nullptr;
    return source;
}

std::unique_ptr<ZipSource> ZipSource::loadFromMemory(void* bytes, std::size_t size, std::string& reason) {
    if (size == 0) {
        // libzip would not take bytes of no length: they are freed here.
        std::free(bytes);
        reason = "not a zip archive: it is empty";
        return nullptr;
    }
    zip_error_t error;
    zip_error_init(&error);
    // Freed by libzip (with free) once the source is closed.
    zip_source_t* buffer = zip_source_buffer_create(bytes, size, 1, &error);
    if (!buffer) {
        std::free(bytes);
        reason = "not a zip archive, or a damaged one: " + std::string(zip_error_strerror(&error));
        zip_error_fini(&error);
        return nullptr;
    }
    zip_t* zip = zip_open_from_source(buffer, ZIP_CHECKCONS | ZIP_RDONLY, &error);
    if (!zip) {
        zip_source_free(buffer);
        reason = "not a zip archive, or a damaged one: " + std::string(zip_error_strerror(&error));
        zip_error_fini(&error);
        return nullptr;
    }
    zip_error_fini(&error);
    std::unique_ptr<ZipSource> source(new ZipSource(std::make_shared<ZipArchive>(zip)));
    if (!source->index(reason)) return nullptr;
    return source;
}

ZipSource::ZipSource(std::shared_ptr<ZipArchive> archive) : archive_(std::move(archive)), nodes_(1) {}

bool ZipSource::index(std::string& reason) {
    zip_t* zip = archive_->get();
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > kMaxEntries) {
        reason =
            "too many entries (" + std::to_string(count) + ", at most " + std::to_string(kMaxEntries) + ")";
        return false;
    }
    // What all the entries unpack to, and what the packed ones among them take in the archive.
    std::uint64_t total = 0, unpacked = 0, packed = 0;
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
        const char* raw = zip_get_name(zip, i, ZIP_FL_ENC_RAW);
        zip_stat_t st;
        if (!raw || zip_stat_index(zip, i, ZIP_FL_ENC_RAW, &st) != 0) {
            reason = "entry " + std::to_string(i) + " cannot be read";
            return false;
        }
        const std::string name = raw;
        const std::vector<std::string> parts = PathNames::components(name);
        if (absolute(name)) {
            reason = "entry name is an absolute path: " + name;
            return false;
        }
        for (const std::string& part : parts) {
            if (part == "..") {
                reason = "entry name leaves the archive: " + name;
                return false;
            }
        }
        const bool folder = !name.empty() && (name.back() == '/' || name.back() == '\\');
        if (!folder && (st.valid & ZIP_STAT_SIZE) && st.size > kMaxEntryBytes) {
            reason = "entry declares " + std::to_string(st.size) + " bytes, more than allowed: " + name;
            return false;
        }
        if (!folder && (st.valid & ZIP_STAT_SIZE) && (st.valid & ZIP_STAT_COMP_SIZE) &&
            st.size > kBombBytes && st.size / kMaxRatio > st.comp_size) {
            reason = "entry unpacks " + std::to_string(st.comp_size) + " bytes into " +
                     std::to_string(st.size) + ", a zip bomb: " + name;
            return false;
        }
        if (!folder && (st.valid & ZIP_STAT_SIZE)) {
            total += st.size;
            const bool stored = (st.valid & ZIP_STAT_COMP_METHOD) && st.comp_method == ZIP_CM_STORE;
            if ((st.valid & ZIP_STAT_COMP_SIZE) && (!stored || st.size > st.comp_size)) {
                unpacked += st.size;
                packed += st.comp_size;
            }
        }
        std::size_t at = 0;
        for (std::size_t k = 0; k < parts.size(); ++k) {
            if (parts[k] == ".") continue;
            const bool last = k + 1 == parts.size();
            const auto named = nodes_[at].byName.find(parts[k]);
            std::size_t next = named == nodes_[at].byName.end() ? kNone : named->second;
            if (next == kNone) {
                Node node;
                node.name = parts[k];
                node.parent = at;
                node.directory = !last || folder;
                if (!node.directory) {
                    node.entry = i;
                    node.size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
                    node.stored = (st.valid & ZIP_STAT_COMP_METHOD) && st.comp_method == ZIP_CM_STORE;
                    node.readable = (st.valid & ZIP_STAT_SIZE) && (!(st.valid & ZIP_STAT_ENCRYPTION_METHOD) ||
                                                                   st.encryption_method == ZIP_EM_NONE);
                }
                nodes_.push_back(std::move(node));
                next = nodes_.size() - 1;
                Node& folder = nodes_[at];
                folder.children.push_back(next);
                folder.byName.emplace(parts[k], next);
                auto [folded, added] = folder.byFoldedName.emplace(PathNames::folded(parts[k]), next);
                if (!added && parts[k] < nodes_[folded->second].name) folded->second = next;
            } else if (!nodes_[next].directory && (!last || folder)) {
                reason = "entry is both a file and a folder: " + name;
                return false;
            }
            // A second entry of the same name: the first one stands.
            at = next;
        }
    }
    // Entries that each pass the checks above can still add up to a bomb: many of just under the
    // bomb size, each packed into a few bytes.
    if (total > kMaxTotalBytes) {
        reason = "the entries declare " + std::to_string(total) + " bytes in all, more than allowed (" +
                 std::to_string(kMaxTotalBytes) + ")";
        return false;
    }
    if (unpacked > kBombBytes && unpacked / kMaxRatio > packed) {
        reason = "the entries unpack " + std::to_string(packed) + " bytes into " + std::to_string(unpacked) +
                 ", a zip bomb";
        return false;
    }
    return true;
}

std::size_t ZipSource::child(std::size_t folder, const std::string& name) const {
    const Node& node = nodes_[folder];
    const auto named = node.byName.find(name);
    if (named != node.byName.end()) return named->second;
    const auto folded = node.byFoldedName.find(PathNames::folded(name));
    return folded == node.byFoldedName.end() ? kNone : folded->second;
}

std::size_t ZipSource::find(const std::string& windowsPath) const {
    if (absolute(windowsPath)) return kNone;
    std::size_t at = 0;
    for (const std::string& part : PathNames::components(windowsPath)) {
        if (part == ".") continue;
        if (part == "..") {
            if (at == 0) return kNone;  // never above the archive's top
            at = nodes_[at].parent;
            continue;
        }
        if (!nodes_[at].directory) return kNone;
        at = child(at, part);
        if (at == kNone) return kNone;
    }
    return at;
}

bool ZipSource::exists(const std::string& windowsPath) {
    return find(windowsPath) != kNone;
}

std::unique_ptr<InputStream> ZipSource::open(const std::string& windowsPath) {
    const std::size_t at = find(windowsPath);
    if (at == kNone || nodes_[at].directory || !nodes_[at].readable) return nullptr;
    const Node& node = nodes_[at];
    return ZipEntryStream::open(archive_, node.entry, node.size, node.stored);
}

std::string ZipSource::fileKey(const std::string& windowsPath) {
    const std::size_t at = find(windowsPath);
    if (at == kNone || nodes_[at].directory) return {};
    return "#" + std::to_string(at);
}

bool ZipSource::list(const std::string& pattern, std::vector<FileEntry>& out) {
    out.clear();
    const std::size_t at = find(PathNames::patternFolder(pattern));
    if (at == kNone || !nodes_[at].directory) return false;
    std::vector<FileEntry> entries;
    for (std::size_t c : nodes_[at].children) entries.push_back({nodes_[c].name, nodes_[c].directory});
    out = PathNames::listing(std::move(entries));
    return true;
}

}  // namespace qa::platform::archive
