// Pictures loaded once per file, however their names spell it, and shared, and kept across a reload
// while their files stay unchanged, within a budget of decoded bytes; glyph-width measurement of
// bitmap-font sheets; text file reading, each file's text shared while items hold it. Pictures and
// texts come from the disk's file source.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "scene/Picture.h"
#include "scene/SharedText.h"

namespace qa::platform {
class FileSource;
}
namespace qa::platform::gfx {
class Device;
}

namespace qa::scene {

class PictureCache {
  public:
    // The device that textures are created on; without one no picture loads.
    void setDevice(platform::gfx::Device* device) { device_ = device; }
    platform::gfx::Device* device() const { return device_; }
    // Where pictures and texts are read from (not owned); the working folder when none is set.
    void setFiles(platform::FileSource* files) { files_ = files; }
    platform::FileSource& files() const;

    // The cached picture with one more reference, or null when the file cannot be loaded. Names
    // that resolve to the same file (another separator, "." components, letter case, a link) share
    // one picture; the file is decoded for the first of them only.
    Picture* acquire(const std::string& fileName);
    // Gives back one reference taken under that name; the picture's remaining count, or -1 when
    // the name holds no reference.
    int release(const std::string& fileName);
    // Forgets every record, releasing its texture whoever still uses it.
    void releaseAll();
    // Reload: every record is set aside, so that the visuals going away release nothing, and
    // acquire() takes a record back, decoded as it is, while its file has the stamp it had when it
    // was decoded. dropSetAside() then forgets the records no new visual took back.
    void setAsideAll();
    void dropSetAside() { setAside_.clear(); }
    std::size_t setAsideCount() const { return setAside_.size(); }
    // Distinct pictures held, and whether a name holds a reference to one.
    std::size_t size() const { return records_.size(); }
    bool contains(const std::string& fileName) const { return names_.count(fileName) != 0; }

    // The bytes that the held pictures take decoded (four per pixel), and the most they may take:
    // a picture that would go beyond it is not loaded, and standard error says so.
    std::uint64_t decodedBytes() const { return decodedBytes_; }
    void setBudget(std::uint64_t bytes) { budget_ = bytes; }
    static constexpr std::uint64_t kDefaultBudget = 1ull << 30;

    // Fills the picture's glyph widths once, from the alpha channel of its 16 x 16 cells.
    static void measureGlyphWidths(Picture* picture);
    // The text of a text file as Windows-1252 bytes, the code of the glyph cells: a file read as UTF-8
    // (one that starts with its byte-order mark, or whose bytes are UTF-8 holding some character
    // beyond ASCII) is converted, characters the code page lacks becoming "?"; any other file is
    // taken as it is. Empty when the file cannot be opened.
    std::string readTextFile(const std::string& fileName) const;
    // The same text, read once for every name that resolves to one file while some item holds it
    // (a file changed since it was read is read again).
    SharedText sharedText(const std::string& fileName);
    // The file's first kMaxTextBytes bytes (zero bytes left out), as stored; empty when it cannot be
    // opened. `cut`: the file goes on beyond them.
    std::string readTextBytes(const std::string& fileName, bool* cut = nullptr) const;
    // The byte shown for a character that has no glyph.
    static constexpr char kReplacement = '?';
    // Text beyond this is not read: every item holding a text lays it out into lines, and a text
    // of this size already scrolls through some hundred thousand lines.
    static constexpr std::size_t kMaxTextBytes = 8u << 20;

  private:
    // A name as written, the file it resolved to, and the references taken under it.
    struct Name {
        std::string fileKey;
        int users = 0;
    };
    static std::uint64_t decodedSize(const Picture& picture);
    // The picture decoded from the file, or null when it cannot be loaded or does not fit the budget.
    Picture* decode(const std::string& fileName, const std::string& fileKey,
                    const platform::FileStamp& stamp);

    platform::gfx::Device* device_ = nullptr;
    platform::FileSource* files_ = nullptr;
    std::map<std::string, Picture> records_;   // by file key
    std::map<std::string, Name> names_;        // by name as written
    std::map<std::string, Picture> setAside_;  // by file key
    // A text read, while any item holds it, and the stamp its file had then.
    struct TextRecord {
        platform::FileStamp stamp;
        std::weak_ptr<const std::string> text;
    };
    std::map<std::string, TextRecord> texts_;  // by file key
    std::size_t pruneTextsAt_ = 64;
    std::uint64_t decodedBytes_ = 0;
    std::uint64_t budget_ = kDefaultBudget;
};

}  // namespace qa::scene
