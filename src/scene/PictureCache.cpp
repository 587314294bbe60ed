// Picture sharing by file name, glyph measurement and text file reading.
#include "scene/PictureCache.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "platform/Windows1252.h"
#include "platform/file/Files.h"
#include "platform/file/FolderSource.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/Texture.h"

namespace qa::scene {

using platform::gfx::Texture;

platform::FileSource& PictureCache::files() const {
    static platform::file::FolderSource workingFolder;
    return files_ ? *files_ : workingFolder;
}

Picture* PictureCache::acquire(const std::string& fileName) {
    auto named = names_.find(fileName);
    if (named != names_.end()) {
        Picture& picture = records_.at(named->second.fileKey);
        ++named->second.users;
        ++picture.users;
        return &picture;
    }
    const std::string fileKey = files().fileKey(fileName);
    if (fileKey.empty()) return nullptr;  // no regular file by that name
    Picture* picture = nullptr;
    auto held = records_.find(fileKey);
    if (held != records_.end()) {
        picture = &held->second;
        ++picture->users;
    } else {
        const platform::FileStamp stamp = files().stamp(fileName);  // before reading, in case it changes
        auto kept = setAside_.find(fileKey);
        if (kept != setAside_.end()) {
            auto node = setAside_.extract(kept);
            if (node.mapped().stamp.sameAs(stamp) && decodedBytes_ + decodedSize(node.mapped()) <= budget_) {
                node.mapped().users = 1;
                decodedBytes_ += decodedSize(node.mapped());
                picture = &records_.insert(std::move(node)).position->second;
            }
        }
        if (!picture) picture = decode(fileName, fileKey, stamp);
        if (!picture) return nullptr;
    }
    names_[fileName] = Name{fileKey, 1};
    return picture;
}

Picture* PictureCache::decode(const std::string& fileName, const std::string& fileKey,
                              const platform::FileStamp& stamp) {
    if (!device_) return nullptr;
    Picture record;
    record.stamp = stamp;
    try {
        record.texture = device_->createTextureFromFile(files(), fileName, record.info);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "quorvart: the picture %s is not loaded: out of memory\n", fileName.c_str());
        return nullptr;
    }
    if (!record.texture) return nullptr;
    const std::uint64_t bytes = decodedSize(record);
    if (decodedBytes_ + bytes > budget_) {
        std::fprintf(stderr,
                     "quorvart: the picture %s is not loaded: with it the pictures would take %llu MiB "
                     "decoded, beyond the %llu MiB a disk may use\n",
                     fileName.c_str(), static_cast<unsigned long long>((decodedBytes_ + bytes) >> 20),
                     static_cast<unsigned long long>(budget_ >> 20));
        return nullptr;
    }
    record.fileName = fileName;
    record.users = 1;
    record.glyphWidths[0] = -1;
    decodedBytes_ += bytes;
    return &records_.insert_or_assign(fileKey, std::move(record)).first->second;
}

std::uint64_t PictureCache::decodedSize(const Picture& picture) {
    return static_cast<std::uint64_t>(picture.info.width) * picture.info.height * 4;
}

int PictureCache::release(const std::string& fileName) {
    auto named = names_.find(fileName);
    if (named == names_.end()) return -1;
    auto it = records_.find(named->second.fileKey);
    if (--named->second.users == 0) names_.erase(named);
    if (it == records_.end()) return -1;
    const int left = --it->second.users;
    if (left == 0) {
        decodedBytes_ -= decodedSize(it->second);
        records_.erase(it);
    }
    return left;
}

void PictureCache::releaseAll() {
    records_.clear();
    names_.clear();
    setAside_.clear();
    decodedBytes_ = 0;
}

void PictureCache::setAsideAll() {
    names_.clear();
    decodedBytes_ = 0;
    while (!records_.empty()) {
        auto node = records_.extract(records_.begin());
        node.mapped().users = 0;
        setAside_.insert_or_assign(node.key(), std::move(node.mapped()));
    }
}

void PictureCache::measureGlyphWidths(Picture* picture) {
    if (!picture || picture->glyphWidths[0] != -1 || !picture->texture) return;
    const Texture& texture = *picture->texture;
    // The alpha test: which byte of a pixel, and which of its bits mean "opaque".
    int bytesPerPixel = 4, alphaByte = 3;
    std::uint8_t mask = 0xFF;
    switch (texture.formatCode()) {
        case platform::gfx::kFormatA1R5G5B5:
            bytesPerPixel = 2, alphaByte = 1, mask = 0x80;
            break;
        case platform::gfx::kFormatA4R4G4B4:
            bytesPerPixel = 2, alphaByte = 1, mask = 0xF0;
            break;
        default:
            break;
    }
    platform::gfx::LockedRect locked;
    if (!texture.lockRect(locked) || !locked.bits) return;
    const int cellWidth = texture.width() / 16;
    const int cellHeight = texture.height() / 16;
    auto opaque = [&](int x, int y) {
        const std::uint8_t* pixel = locked.bits + static_cast<std::ptrdiff_t>(y) * locked.pitch +
                                    static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
        return (pixel[alphaByte] & mask) != 0;
    };
    for (int g = 0; g < 256; ++g) {
        const int col = g % 16;
        const int row = g / 16;
        int width = 0;
        // The cell's last pixel column is never looked at: a glyph is at most cellWidth - 1 wide.
        for (int k = cellWidth - 1; k >= 1 && width == 0; --k) {
            const int x = col * cellWidth + k - 1;
            for (int y = row * cellHeight; y < row * cellHeight + cellHeight; ++y) {
                if (opaque(x, y)) {
                    width = k;
                    break;
                }
            }
        }
        picture->glyphWidths[static_cast<std::size_t>(g)] = std::max(width, cellWidth / 4 + 1);
        picture->glyphInked[static_cast<std::size_t>(g)] = width > 0;
    }
    texture.unlockRect();
}

std::string PictureCache::readTextFile(const std::string& fileName) const {
    bool cut = false;
    std::string bytes = readTextBytes(fileName, &cut);
    if (!platform::Windows1252::isUtf8Text(bytes, cut)) return bytes;
    try {
        return platform::Windows1252::fromUtf8(bytes, kReplacement);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "quorvart: the text %s is not loaded: out of memory\n", fileName.c_str());
        return std::string();
    }
}

SharedText PictureCache::sharedText(const std::string& fileName) {
    const std::string fileKey = files().fileKey(fileName);
    if (fileKey.empty()) return SharedText(std::make_shared<const std::string>(readTextFile(fileName)));
    const platform::FileStamp stamp = files().stamp(fileName);  // before reading, in case it changes
    auto held = texts_.find(fileKey);
    if (held != texts_.end()) {
        const platform::FileStamp& then = held->second.stamp;
        // An archive's files never change while it is open: they share by the key alone.
        if (then.sameAs(stamp) || (!then.known && !stamp.known)) {
            if (std::shared_ptr<const std::string> text = held->second.text.lock())
                return SharedText(std::move(text));
        }
    }
    std::shared_ptr<const std::string> text;
    try {
        text = std::make_shared<const std::string>(readTextFile(fileName));
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "quorvart: the text %s is not loaded: out of memory\n", fileName.c_str());
        return SharedText();
    }
    // Records of texts no item holds any more go whenever the records have doubled since the last
    // time, so that many files cost no more than a few records each.
    if (texts_.size() >= pruneTextsAt_) {
        std::erase_if(texts_, [](const auto& record) { return record.second.text.expired(); });
        pruneTextsAt_ = std::max<std::size_t>(64, 2 * texts_.size());
    }
    try {
        texts_.insert_or_assign(fileKey, TextRecord{stamp, text});
    } catch (const std::bad_alloc&) {
        // The item shows its text; later items naming the file read their own.
    }
    return SharedText(std::move(text));
}

std::string PictureCache::readTextBytes(const std::string& fileName, bool* cut) const {
    if (cut) *cut = false;
    std::string result;
    std::unique_ptr<platform::InputStream> reader = files().open(fileName);
    if (!reader) return result;
    char buf[1024];
    std::size_t n;
    std::size_t total = 0;
    try {
        const std::int64_t size = reader->size();
        if (size > 0) result.reserve(static_cast<std::size_t>(std::min<std::int64_t>(size, kMaxTextBytes)));
        while (total < kMaxTextBytes &&
               (n = reader->read(buf, std::min(sizeof buf, kMaxTextBytes - total))) > 0) {
            total += n;
            // A zero byte is left out; the bytes after it in the same block are kept.
            for (std::size_t i = 0; i < n; ++i) {
                if (buf[i] != '\0') result.push_back(buf[i]);
            }
        }
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "quorvart: the text %s is not loaded: out of memory\n", fileName.c_str());
        return std::string();
    }
    if (cut && total >= kMaxTextBytes) *cut = reader->read(buf, 1) > 0;
    return result;
}

}  // namespace qa::scene
