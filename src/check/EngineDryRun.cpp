// The dry run in a fresh engine.
#include "check/EngineDryRun.h"

#include <set>
#include <string_view>

#include "check/KeyTraps.h"
#include "check/LoadRepeats.h"
#include "check/ScriptChain.h"
#include "check/ScriptChecks.h"
#include "check/TextChecks.h"
#include "engine/Engine.h"
#include "engine/Settings.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/gfx/null/NullDevice.h"
#include "scene/ImageItem.h"
#include "scene/SceneLoader.h"
#include "scene/Syntax.h"
#include "scene/TextItem.h"
#include "script/ItemTimer.h"

namespace qa::check {

namespace {

// The attribute of a step's event; empty when its script was not found among the item's.
const char* eventAttribute(const ScriptChain::Step& step) {
    return step.event ? scene::eventName(*step.event) : "";
}

std::string describe(const ScriptChain::Step& step, const ItemTree& tree) {
    if (step.item < 0)
        return "timer " + Finding::quoted(step.timer) + (step.phase.empty() ? "" : " " + step.phase);
    const auto& items = tree.items();
    std::string who = "#" + std::to_string(step.item);
    if (static_cast<std::size_t>(step.item) < items.size() &&
        !items[static_cast<std::size_t>(step.item)]->name.empty())
        who = Finding::quoted(items[static_cast<std::size_t>(step.item)]->name);
    return who + " " + eventAttribute(step);
}

// Whether the text item lays its text out as it would with a line end after it: the same lines,
// but for empty lines at the end and the added line end itself. The text item is left as it was.
bool laysOutAsIfEnded(scene::TextItem& item) {
    const std::string text = item.text;
    item.layout();
    const scene::TextLines asIs = item.lines;
    item.text = text + "\n";
    item.layout();
    const std::string& endedText = item.text;
    const scene::TextLines& ended = item.lines;
    std::size_t count = ended.size();
    while (count > 0 && ended.line(endedText, count - 1).empty()) --count;
    bool same = count == asIs.size();
    for (std::size_t k = 0; same && k < count; ++k) {
        std::string_view line = ended.line(endedText, k);
        if (k + 1 == count && line.back() == '\n') line.remove_suffix(1);
        same = line == asIs.line(text, k);
    }
    item.text = text;
    item.lines.clear();
    item.laidOut = false;
    return same;
}

// The characters of every text file that no glyph shows, once per text file and font sheet.
void checkTextCharacters(engine::Engine& engine, const ItemTree& tree,
                         const std::vector<scene::ImageItem*>& items, FindingReport& report) {
    std::set<std::pair<std::string, std::string>> seen;
    for (scene::ImageItem* item : items) {
        if (!item || static_cast<std::size_t>(item->index) >= tree.items().size()) continue;
        auto* textItem = dynamic_cast<scene::TextItem*>(item);
        const ItemTree::Item& checked = *tree.items()[static_cast<std::size_t>(item->index)];
        std::string file, sheet;
        checked.attribute("image", file);
        if (textItem) {
            if (!textItem->picture || textItem->picture->glyphWidths[0] == -1) continue;
            checked.attribute("font", sheet);
        } else if (file.size() < 5 || file.compare(file.size() - 4, 4, ".txt") != 0) {
            continue;  // a picture
        }
        if (!seen.insert({file, sheet}).second) continue;
        bool cut = false;
        const std::string bytes = engine.scene.pictures.readTextBytes(file, &cut);
        TextChecks::check(file, bytes, cut, textItem ? &textItem->picture->glyphInked : nullptr, sheet,
                          report);
    }
}

}  // namespace

std::vector<std::string> EngineDryRun::commandWords() {
    platform::audio::SoftwareSoundLibrary silent(platform::audio::OutputKind::Pull);
    engine::Engine engine(silent);
    engine.registerCommands();
    std::vector<std::string> words;
    for (const auto& entry : engine.commandTable.entries()) words.push_back(entry.first);
    return words;
}

void EngineDryRun::run(const ItemTree& tree, const Places& places,
                       const std::vector<ScriptChecks::TimerSource>& timers, FindingReport& report) {
    // An engine of its own, whose sound library is never started: nothing plays, and no effect is
    // loaded (PlaySfx has no player to make). Pictures are decoded, for the sizes and the glyph
    // widths that text layout needs, but nothing is drawn.
    platform::audio::SoftwareSoundLibrary silent(platform::audio::OutputKind::Pull);
    engine::Engine engine(silent);
    engine.registerCommands();
    platform::gfx::NullDevice device;
    engine.scene.pictures.setDevice(&device);
    ScriptChain chain(engine.scripts);
    engine.scene.scripts = &chain;
    engine.setTrace(&chain);
    // The timer commands that run timer scripts (restarts and kills) make those scripts steps of the chain.
    script::TimerCommands& timerCommands = engine.commands.timers;
    engine.commandTable.registerCommand(
        "SetTimer", [&](std::string argument, Vec3 position, scene::ImageItem* item) {
            ScriptChain::TimerStep step(chain, scene::Syntax::splitWord(argument).first);
            return timerCommands.setTimer(std::move(argument), position, item);
        });
    engine.commandTable.registerCommand(
        "ResetTimer", [&](std::string argument, Vec3 position, scene::ImageItem* item) {
            ScriptChain::TimerStep step(chain, argument);
            return timerCommands.resetTimer(std::move(argument), position, item);
        });
    engine.commandTable.registerCommand(
        "KillTimer", [&](std::string argument, Vec3 position, scene::ImageItem* item) {
            ScriptChain::TimerStep step(chain, argument);
            return timerCommands.killTimer(std::move(argument), position, item);
        });

    chain.setOuterEvent(scene::Event::onLoad);
    // While loading, the onLoad scripts are counted on their way to the chain.
    LoadRepeats loadRepeats(chain);
    engine.scene.scripts = &loadRepeats;
    scene::SceneLoader loader(engine.scene);
    std::vector<scene::ImageItem*> items;
    const bool loaded = loader.load();
    engine.scene.scripts = &chain;
    if (loaded) {
        loadRepeats.report(tree, places, report);
        const engine::Settings screen;
        KeyTraps::check(engine.scene, screen.screenWidth, screen.screenHeight, tree, places, report);
        // Every item by construction index.
        std::vector<scene::ImageItem*> walk(engine.scene.rootItems.begin(), engine.scene.rootItems.end());
        while (!walk.empty()) {
            scene::ImageItem* item = walk.back();
            walk.pop_back();
            const auto at = static_cast<std::size_t>(item->index);
            if (at >= items.size()) items.resize(at + 1, nullptr);
            items[at] = item;
            walk.insert(walk.end(), item->children.begin(), item->children.end());
        }
        // onLoad has run once as the scene loaded.
        const scene::ImageItem* stoppedAt = nullptr;
        for (scene::ImageItem* item : items) {
            if (!item) continue;
            if (chain.statements() > kMaxStatements) {
                stoppedAt = item;
                break;
            }
            for (scene::Event e : scene::kEventsInNumberOrder)
                if (e != scene::Event::onLoad && !item->script(e)->empty()) {
                    chain.setOuterEvent(e);
                    item->fireEvent(e, engine.scene.cursor);
                }
        }
        if (stoppedAt && static_cast<std::size_t>(stoppedAt->index) < tree.items().size()) {
            Finding f =
                places.item(Severity::Warning, *tree.items()[static_cast<std::size_t>(stoppedAt->index)]);
            f.code = "dry-run-stopped";
            f.message = "the scripts ran more than " + std::to_string(kMaxStatements) +
                        " statements, so the events of this item and the items after it were not tried";
            report.add(std::move(f));
        }
        for (const ScriptChecks::TimerSource& timer : timers) {
            if (stoppedAt) break;
            const std::string& name = timer.name;
            for (const char* phase : {"init", "tick", "end"}) {
                script::ItemTimer* t = engine.timers.find(name);
                if (!t) break;
                const std::string text = std::string(phase) == "init"   ? t->initScript
                                         : std::string(phase) == "tick" ? t->tickScript
                                                                        : t->endScript;
                chain.runTimerScript(name, phase, text);
            }
        }
        checkTextCharacters(engine, tree, items, report);
        // Texts without a final line end: the last word is never measured against the width.
        std::set<std::string> seen;
        for (scene::ImageItem* item : items) {
            auto* textItem = dynamic_cast<scene::TextItem*>(item);
            if (!textItem || !textItem->picture ||
                static_cast<std::size_t>(item->index) >= tree.items().size())
                continue;
            const std::string& text = textItem->text;
            if (text.empty() || text.back() == '\n' || text.back() == '\r') continue;
            const ItemTree::Item& checked = *tree.items()[static_cast<std::size_t>(item->index)];
            std::string file;
            checked.attribute("image", file);
            if (!seen.insert(file).second) continue;
            if (laysOutAsIfEnded(*textItem)) continue;
            Finding f = places.value(Severity::Warning, checked, "image", 0);
            f.code = "no-final-line-end";
            f.message = "text file " + Finding::quoted(file) +
                        " has no line end after its last line, so its last word is not wrapped and runs past "
                        "the item's width";
            report.add(std::move(f));
        }
    }
    engine.setTrace(nullptr);
    engine.scene.scripts = &engine.scripts;
    engine.timers.reset();
    engine.scene.reset();

    for (const ScriptChain::Cut& cut : chain.cuts()) {
        std::string steps;
        for (const ScriptChain::Step& s : cut.chain)
            steps += (steps.empty() ? "" : " -> ") + describe(s, tree);
        if (cut.chain.empty()) continue;
        // Where the chain starts: an item's event, or where its timer is set.
        const ScriptChain::Step& first = cut.chain.front();
        Finding f;
        f.file = Places::kDocument;
        if (first.item >= 0 && static_cast<std::size_t>(first.item) < tree.items().size()) {
            f = places.value(Severity::Error, *tree.items()[static_cast<std::size_t>(first.item)],
                             eventAttribute(first), 0);
        } else {
            for (const ScriptChecks::TimerSource& t : timers)
                if (t.name == first.timer) {
                    f = t.place;
                    break;
                }
        }
        f.severity = Severity::Error;
        f.code = "endless-scripts";
        f.message = cut.depth ? "scripts trigger each other without end: " + steps + " -> ... (cut after " +
                                    std::to_string(script::ScriptRunner::kMaxDepth) + " nested scripts)"
                              : "scripts run without end: " + steps + " ran more than " +
                                    std::to_string(script::ScriptRunner::kMaxStatements) +
                                    " statements (cut at " + Finding::quoted(cut.statement) + ")";
        report.add(std::move(f));
    }
}

}  // namespace qa::check
