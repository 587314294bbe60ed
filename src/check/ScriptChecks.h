// The scripts of the items, statement by statement, as the engine would run them: command words,
// the item names each lookup can reach from where the script runs, track names, the grammar of
// Change and SetTimer, statements that do nothing, and timer names that nothing creates.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "check/FileChecks.h"
#include "check/FindingReport.h"
#include "check/ItemTree.h"
#include "check/Places.h"
#include "scene/Syntax.h"

namespace qa::check {

class ScriptChecks {
  public:
    ScriptChecks(const ItemTree& tree, const Places& places, std::vector<std::string> commandWords,
                 FileChecks& files, FindingReport& report);

    // Checks every event script of the item.
    void checkItem(const ItemTree::Item& item);
    // After every item: the timer commands that name a timer no SetTimer creates.
    void finish();

    // Whether any script uses the music (PlayTrack or PauseTrack).
    bool usesMusic() const { return usesMusic_; }
    // A timer that a SetTimer statement creates, and the place of the first such statement.
    struct TimerSource {
        std::string name;
        Finding place;
    };
    // The timers that SetTimer statements create, in the order they are written.
    const std::vector<TimerSource>& timers() const { return timerSources_; }

  private:
    using Piece = scene::Syntax::Piece;

    // Where a script runs: its item (null in timer scripts), and where its text is written.
    struct Context {
        const ItemTree::Item* holder = nullptr;  // the item whose attribute holds the text
        const ItemTree::Item* scope = nullptr;   // the item the script runs with; null for timer scripts
        std::string attribute;
        std::size_t base = 0;  // offset of the script's text in the attribute's value
        std::string timer;     // the timer whose script this is, for messages
    };

    void checkScript(const std::string& script, const Context& context);
    void checkStatement(const Piece& statement, const Context& context);
    void checkItemName(const std::string& command, const Piece& name, const Context& context);
    void checkChange(const Piece& argument, const Context& context);
    void checkSetTimer(const Piece& argument, const Context& context);
    void checkTimerScript(const Piece& name, const Piece& script, const Context& context, const char* which);
    void checkPlayTrack(const Piece& argument, const Context& context);
    // A statement after a SetTimer that was likely meant to be part of its tick script.
    void checkTickSeparator(const Piece& setTimer, const Piece& next, const Context& context);

    Finding at(Severity severity, const Context& context, std::size_t offset, const char* code,
               std::string message) const;

    const ItemTree& tree_;
    const Places& places_;
    std::vector<std::string> commandWords_;
    std::set<std::string> known_;
    FileChecks& files_;
    FindingReport& report_;
    bool usesMusic_ = false;
    std::set<std::string> timers_;
    std::vector<std::string> timerList_;
    std::vector<TimerSource> timerSources_;
    std::vector<std::pair<std::string, Finding>> timerUses_;  // timer commands: the name and where
};

}  // namespace qa::check
