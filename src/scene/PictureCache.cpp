// Picture sharing by file name, glyph measurement and text file reading.
#include "scene/PictureCache.h"

#include "platform/Files.h"

namespace qa::scene {

Picture* PictureCache::acquire(const std::string& fileName) {
    auto it = records_.find(fileName);
    if (it != records_.end()) return &it->second;
    return nullptr;  // textures arrive with the graphics device
}

int PictureCache::release(const std::string& fileName) {
    auto it = records_.find(fileName);
    if (it == records_.end()) return -1;
    records_.erase(it);
    return 0;
}

void PictureCache::releaseAll() { records_.clear(); }

void PictureCache::measureGlyphWidths(Picture* picture) {
    if (!picture || picture->glyphWidths[0] != -1) return;
}

std::string PictureCache::readTextFile(const std::string& fileName) {
    std::string result;
    platform::Files::Reader reader(fileName);
    if (!reader.isOpen()) return result;
    char buf[1024];
    std::size_t n;
    while ((n = reader.read(buf, sizeof buf)) > 0) {
        // A zero byte is left out; the bytes after it in the same block are kept.
        for (std::size_t i = 0; i < n; ++i) {
            if (buf[i] != '\0') result.push_back(buf[i]);
        }
    }
    return result;
}

}  // namespace qa::scene
