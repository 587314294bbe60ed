// The chain of scripts running inside one another during the dry run: which item's event (or which
// timer's script) started each, so that a cut can say how it was reached.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scene/Event.h"
#include "scene/ScriptHook.h"
#include "trace/TraceSink.h"

namespace qa::scene {
class ImageItem;
}
namespace qa::script {
class ScriptRunner;
}

namespace qa::check {

class ScriptChain : public scene::ScriptHook, public trace::TraceSink {
  public:
    struct Step {
        int item = -1;                      // construction index; -1 for a timer script
        std::optional<scene::Event> event;  // for an item's event, when its script was found
        std::string timer;                  // the timer, for a timer script
        std::string phase;                  // "init", "tick" or "end"
        bool operator==(const Step& o) const {
            return item == o.item && event == o.event && timer == o.timer && phase == o.phase;
        }
        bool operator<(const Step& o) const;
    };
    struct Cut {
        std::vector<Step> chain;  // from the first script to the one cut (its first repetition, if any)
        std::string statement;    // the statement that was not run
        bool depth = false;       // cut for nesting too deeply (else for running too long)
        // The steps that repeat (or, when none does, every step of the chain), sorted. Cuts whose steps
        // meet are one problem: the same loop reached from elsewhere, or a ring of more items than
        // the nesting limit seen through different windows.
        std::vector<Step> cycle;
    };

    // Runs the scripts through `runner`, following what runs inside what.
    explicit ScriptChain(script::ScriptRunner& runner) : runner_(runner) {}

    // A timer command's step, for as long as the command runs: the timer scripts it runs (end and
    // init scripts of a restart, the end script of a kill) become steps of the chain.
    class TimerStep {
      public:
        TimerStep(ScriptChain& chain, const std::string& timer);
        ~TimerStep();
        TimerStep(const TimerStep&) = delete;
        TimerStep& operator=(const TimerStep&) = delete;

      private:
        ScriptChain& chain_;
    };

    // The event about to be fired from outside any script (by the dry run, or onLoad while loading).
    // Events fired by scripts are always onActivate or onHide (Activate, ActivateSingle, Hide), and an
    // unhandled event climbs as itself: that is how a script shared by several events of an item is
    // told apart.
    void setOuterEvent(scene::Event event) { outerEvent_ = event; }

    // Runs a timer's script as the timers do (no item), as one step of the chain.
    void runTimerScript(const std::string& timer, const char* phase, const std::string& script);

    // The cuts seen, one per problem; of the chains that show it, those that start at an item's event
    // that is itself part of the loop are preferred.
    std::vector<Cut> cuts() const;

    bool runItemScript(const std::string& script, Vec3 position, scene::ImageItem* item) override;

    // Statements dispatched so far (known command words).
    long statements() const { return statements_; }

    void command(const std::string&, const std::string&, const std::string*, int, bool) override {
        ++statements_;
    }
    void event(int, const std::string&, int, bool) override {}
    void timer(const std::string& name, const char* phase) override;
    void track(const std::string&, const char*) override {}
    void skip(const std::string&) override {}
    void cut(const std::string& statement, const char* reason) override;

  private:
    // Lower is a better place to report a cut: a chain that starts at an item's event, whose first
    // step is part of what repeats.
    int rank(const Cut& cut) const;

    std::optional<scene::Event> outerEvent_;
    long statements_ = 0;
    script::ScriptRunner& runner_;
    std::vector<Step> steps_;
    std::vector<Cut> cuts_;  // in the order first seen; each cycle the union of the cuts merged into it
    // The outermost step of the last cut and the cut it went to: a loop cut once is cut again many
    // times over from the same outer event, and those repeats are told at a glance.
    Step lastOuter_;
    std::size_t lastCut_ = SIZE_MAX;
};

}  // namespace qa::check
