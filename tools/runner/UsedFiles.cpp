// Collecting the names a scene uses: item attributes as each item is built, sound effects from the
// scripts, and the fixed files every disk plays with.
#include "runner/UsedFiles.h"

#include "app/MusicFolder.h"
#include "check/FileChecks.h"
#include "engine/Engine.h"
#include "platform/XmlDocument.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/file/FileSource.h"
#include "scene/ImageItem.h"
#include "scene/SceneLoader.h"
#include "scene/Syntax.h"

namespace qa::runner {

namespace {

constexpr const char* kCursorPicture = ".\\data\\cursor.png";
// Timer scripts nest inside statements; no real scene nests them deeper than this.
constexpr int kMaxNesting = 64;

bool endsWith(const std::string& s, const char* tail) {
    const std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

void effectsOfStatement(const std::string& statement, int depth, std::vector<std::string>& out);

void effectsOfScript(const std::string& script, int depth, std::vector<std::string>& out) {
    if (depth > kMaxNesting) return;
    std::size_t pos = 0;
    scene::Syntax::Piece statement;
    while (scene::Syntax::nextStatement(script, pos, statement))
        effectsOfStatement(statement.text, depth, out);
}

void effectsOfStatement(const std::string& statement, int depth, std::vector<std::string>& out) {
    using scene::Syntax;
    auto [word, argument] = Syntax::commandOf({statement, 0});
    if (word.text == "PlaySfx") {
        if (!argument.text.empty()) out.push_back(argument.text);
    } else if (word.text == "SetTimer") {
        effectsOfScript(Syntax::tickScript(Syntax::timerArguments(argument).tick.text), depth + 1, out);
    } else if (word.text == "SetTimerInit" || word.text == "SetTimerEnd") {
        auto [name, rest] = Syntax::splitWord(argument.text);
        effectsOfStatement(rest, depth + 1, out);
    }
}

class Collector : public scene::SceneLoader::Observer {
  public:
    explicit Collector(std::vector<UsedFiles::Use>& out) : out_(out) {}

    void itemBuilt(scene::ImageItem* item, const platform::XmlNode& element, int line) override {
        std::string where =
            std::string(scene::Syntax::kDocumentPath) + ":" + std::to_string(line) + ": item ";
        where += item->name.empty() ? "#" + std::to_string(item->index) : "\"" + item->name + "\"";
        std::string image, font;
        element.attribute("image", image);
        element.attribute("font", font);
        if (!font.empty()) {
            out_.push_back({font, "font sheet", where});
            if (!image.empty()) out_.push_back({image, "text file", where});
        } else if (!image.empty()) {
            out_.push_back({image, endsWith(image, ".txt") ? "text file" : "picture", where});
        }
        for (scene::Event event : scene::kEventsInReadOrder) {
            std::string script;
            if (!element.attribute(scene::eventName(event), script)) continue;
            std::vector<std::string> effects;
            effectsOfScript(script, 0, effects);
            for (const std::string& e : effects) out_.push_back({e, "sound effect", where});
        }
    }

  private:
    std::vector<UsedFiles::Use>& out_;
};

}  // namespace

std::vector<std::string> UsedFiles::effectsIn(const std::string& script) {
    std::vector<std::string> out;
    effectsOfScript(script, 0, out);
    return out;
}

void UsedFiles::add(const std::string& name, const char* what, const std::string& where) {
    for (const Use& use : uses_)
        if (use.name == name) return;
    uses_.push_back({name, what, where});
}

bool UsedFiles::collect(const std::shared_ptr<platform::FileSource>& files, std::string& reason) {
    uses_.clear();
    add(scene::Syntax::kDocumentPath, "scene document", "");
    // An engine of its own, whose sound library is never started: onLoad scripts run, nothing plays.
    platform::audio::SoftwareSoundLibrary silent(platform::audio::OutputKind::Pull, files);
    engine::Engine engine(silent, files);
    engine.registerCommands();
    std::vector<Use> named;
    Collector collector(named);
    scene::SceneLoader loader(engine.scene);
    loader.setObserver(&collector);
    if (!loader.load()) {
        reason = loader.errorReason();
        return false;
    }
    for (const Use& use : named) add(use.name, use.what.c_str(), use.where);
    add(kCursorPicture, "cursor picture", "");
    std::vector<platform::FileEntry> entries;
    if (files->list(app::MusicFolder::kPattern, entries)) {
        // Only the files the scan makes tracks of are music; the rest (a .wav, a picture) stays out
        // unless the scene names it.
        for (const platform::FileEntry& entry : entries)
            if (!entry.directory && check::FileChecks::playableName(entry.name))
                add(std::string(app::MusicFolder::kPrefix) + entry.name, "music", "");
    }
    return true;
}

}  // namespace qa::runner
