// Scene checking: parse errors, unknown command words, missing files, cut scripts.
#include "runner/SceneChecker.h"

#include <utility>

#include "engine/Engine.h"
#include "platform/FileSource.h"
#include "platform/XmlDocument.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/file/FolderSource.h"
#include "scene/ImageItem.h"
#include "scene/SceneLoader.h"
#include "scene/SceneState.h"
#include "script/CommandTable.h"
#include "script/ScriptRunner.h"
#include "trace/TraceSink.h"

namespace qa::runner {

namespace {

const char* const kScriptAttributes[] = {"onSubmit",   "onSubmitUp", "onEscape", "onEscapeUp", "onHoverOn",
                                         "onHoverOff", "onActivate", "onHide",   "onPgUp",     "onPgDn",
                                         "onUp",       "onDown",     "onLeft",   "onRight",    "onLoad"};

std::string describe(const scene::ImageItem* item, int line) {
    std::string where =
        std::string(scene::SceneLoader::kDocumentPath) + ":" + std::to_string(line) + ": item ";
    where += item->name.empty() ? "#" + std::to_string(item->index) : "\"" + item->name + "\"";
    return where;
}

bool endsWith(const std::string& s, const char* tail) {
    std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

class Collector : public scene::SceneLoader::Observer, public trace::TraceSink {
  public:
    Collector(const script::CommandTable& table, platform::FileSource& files)
        : table_(table), files_(files) {}
    std::vector<std::string> problems;

    void itemBuilt(scene::ImageItem* item, const platform::XmlNode& element, int line) override {
        current_ = describe(item, line);
        std::string image, font;
        element.attribute("image", image);
        element.attribute("font", font);
        if (!font.empty()) {
            requireFile(font, "font picture");
            if (!image.empty()) requireFile(image, "text file");
        } else if (!image.empty()) {
            requireFile(image, endsWith(image, ".txt") ? "text file" : "picture");
        }
        for (const char* attribute : kScriptAttributes) {
            std::string script;
            if (element.attribute(attribute, script)) checkScript(script, attribute);
        }
    }

    // Statements cut while the onLoad scripts ran.
    void command(const std::string&, const std::string&, const std::string*, int, bool) override {}
    void event(int, const std::string&, int, bool) override {}
    void timer(const std::string&, const char*) override {}
    void track(const std::string&, const char*) override {}
    void skip(const std::string&) override {}
    void cut(const std::string& statement, const char* reason) override {
        problems.push_back(std::string("onLoad scripts: ") +
                           (std::string(reason) == "depth" ? "scripts nested too deeply, cut at: "
                                                           : "scripts ran too long, cut at: ") +
                           "\"" + statement + "\"");
    }

  private:
    void requireFile(const std::string& name, const char* what) {
        if (!files_.exists(name))
            problems.push_back(current_ + ": " + what + " \"" + name + "\" does not exist");
    }

    void checkStatement(const std::string& statement, const std::string& where) {
        using script::ScriptRunner;
        auto [word, argument] = ScriptRunner::commandOf(statement);
        const script::CommandTable& table = table_;
        if (!table.contains(word)) {
            problems.push_back(current_ + ": " + where + ": unknown command \"" + word + "\" in \"" +
                               statement + "\"");
            return;
        }
        if (word.empty() && !statement.empty()) {
            problems.push_back(current_ + ": " + where +
                               ": statement starting with a space does nothing: \"" + statement + "\"");
            return;
        }
        // The scripts inside timer commands are checked too.
        if (word == "SetTimer") {
            auto [name, r1] = ScriptRunner::splitWord(argument);
            auto [period, r2] = ScriptRunner::splitWord(r1);
            auto [limit, tick] = ScriptRunner::splitWord(r2);
            for (char& c : tick)
                if (c == '|') c = ';';
            for (const std::string& s : ScriptRunner::statements(tick))
                checkStatement(s, where + " (timer " + name + ")");
        } else if (word == "SetTimerInit" || word == "SetTimerEnd") {
            auto [name, rest] = ScriptRunner::splitWord(argument);
            if (!rest.empty()) checkStatement(rest, where + " (timer " + name + ")");
        }
    }

    void checkScript(const std::string& script, const char* attribute) {
        for (const std::string& statement : script::ScriptRunner::statements(script))
            checkStatement(statement, attribute);
    }

    std::string current_;
    const script::CommandTable& table_;
    platform::FileSource& files_;
};

}  // namespace

std::vector<std::string> SceneChecker::check(std::shared_ptr<platform::FileSource> files) {
    if (!files) files = std::make_shared<platform::file::FolderSource>();
    platform::XmlDocument doc;
    if (!doc.load(*files, scene::SceneLoader::kDocumentPath)) {
        const auto& e = doc.error();
        std::string where = scene::SceneLoader::kDocumentPath;
        if (e.line > 0) where += ":" + std::to_string(e.line) + ":" + std::to_string(e.column);
        return {where + ": " + e.reason};
    }
    // An engine of its own, whose sound library is never started: onLoad scripts run, nothing plays.
    platform::audio::SoftwareSoundLibrary silent(platform::audio::OutputKind::Pull, files);
    engine::Engine engine(silent, files);
    engine.registerCommands();
    Collector collector(engine.commandTable, *files);
    engine.setTrace(&collector);
    scene::SceneLoader loader(engine.scene);
    loader.setObserver(&collector);
    if (!loader.load()) {
        std::string where = scene::SceneLoader::kDocumentPath;
        if (loader.errorLine() > 0) where += ":" + std::to_string(loader.errorLine());
        collector.problems.push_back(where + ": " + loader.errorReason());
    }
    engine.setTrace(nullptr);
    return collector.problems;
}

}  // namespace qa::runner
