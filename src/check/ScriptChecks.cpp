// Statement-by-statement checks of the event scripts and the timer scripts inside them.
#include "check/ScriptChecks.h"

#include <algorithm>
#include <cctype>

#include "check/NumberSyntax.h"
#include "check/Suggestions.h"
#include "scene/Event.h"
#include "scene/NumberText.h"

namespace qa::check {

using scene::Syntax;

namespace {

const std::vector<std::string> kProperties = {"x",  "y",  "w",  "h",  "sx", "sy", "cx",
                                              "cy", "ox", "oy", "ca", "cr", "cg", "cb"};

// Whether Change's property word selects a field: the first character, and for s, c and o the second.
bool selectsField(const std::string& word) {
    if (word.empty()) return false;
    const char second = word.size() > 1 ? word[1] : '\0';
    switch (word[0]) {
        case 'x':
        case 'y':
        case 'w':
        case 'h':
            return true;
        case 's':
        case 'o':
            return second == 'x' || second == 'y';
        case 'c':
            return second == 'x' || second == 'y' || second == 'a' || second == 'r' || second == 'g' ||
                   second == 'b';
        default:
            return false;
    }
}

// For "Change NAME PROPERTY VALUE ..." whose value adds, subtracts or multiplies: the item's name.
// Empty for any other statement.
std::string relativeChangeTarget(const std::string& statement) {
    auto [word, argument] = Syntax::splitWord(Syntax::Piece{statement, 0});
    if (word.text != "Change") return std::string();
    auto [name, afterName] = Syntax::splitWord(argument);
    auto [property, afterProperty] = Syntax::splitWord(afterName);
    auto [value, rest] = Syntax::splitWord(afterProperty);
    if (value.text.empty() || (value.text[0] != '+' && value.text[0] != '-' && value.text[0] != '*'))
        return std::string();
    return name.text;
}

std::string lowerAscii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

ScriptChecks::ScriptChecks(const ItemTree& tree, const Places& places, std::vector<std::string> commandWords,
                           FileChecks& files, FindingReport& report)
    : tree_(tree), places_(places), files_(files), report_(report) {
    for (std::string& w : commandWords) {
        known_.insert(w);
        if (!w.empty()) commandWords_.push_back(std::move(w));
    }
}

Finding ScriptChecks::at(Severity severity, const Context& context, std::size_t offset, const char* code,
                         std::string message) const {
    Finding f = places_.value(severity, *context.holder, context.attribute, context.base + offset);
    f.code = code;
    f.message = (context.timer.empty() ? std::string() : "timer " + Finding::quoted(context.timer) + ": ") +
                std::move(message);
    return f;
}

void ScriptChecks::checkItem(const ItemTree::Item& item) {
    for (scene::Event event : scene::kEventsInReadOrder) {
        const char* attribute = scene::eventName(event);
        std::string script;
        if (!item.attribute(attribute, script)) continue;
        Context context;
        context.holder = &item;
        context.scope = &item;
        context.attribute = attribute;
        checkScript(script, context);
    }
}

void ScriptChecks::checkScript(const std::string& script, const Context& context) {
    const std::vector<Piece> list = Syntax::statements(script);
    for (std::size_t i = 0; i < list.size(); ++i) {
        checkStatement(list[i], context);
        if (i + 1 < list.size()) checkTickSeparator(list[i], list[i + 1], context);
    }
}

void ScriptChecks::checkStatement(const Piece& statement, const Context& context) {
    if (statement.text.empty()) return;
    if (statement.text[0] == ' ') {
        if (statement.text.find_first_not_of(' ') != std::string::npos)
            report_.add(
                at(Severity::Error, context, statement.offset, "leading-space",
                   "statement " + Finding::quoted(statement.text) + " begins with a space and does nothing"));
        return;
    }
    const auto [word, argument] = Syntax::commandOf(statement);
    if (!known_.count(word.text)) {
        std::string message = "unknown command " + Finding::quoted(word.text);
        std::string suggestion = Suggestions::closest(word.text, commandWords_);
        const std::size_t blank = word.text.find_first_of("\t\r\n");
        if (blank != std::string::npos) {
            message += ": a command word ends only at a space";
            const std::string head = word.text.substr(0, blank);
            if (suggestion.empty())
                suggestion = known_.count(head) ? head : Suggestions::closest(head, commandWords_);
        }
        Finding f = at(Severity::Error, context, word.offset, "unknown-command", message);
        f.suggestion = suggestion;
        report_.add(std::move(f));
        return;
    }
    const std::string& w = word.text;
    const bool inTimer = context.scope == nullptr;
    if (w == "Activate" || w == "ActivateSingle" || w == "Hide") {
        checkItemName(w, argument, context);
    } else if (w == "Change") {
        checkChange(argument, context);
    } else if (w == "SetTimer") {
        checkSetTimer(argument, context);
    } else if (w == "SetTimerInit" || w == "SetTimerEnd") {
        auto [name, script] = Syntax::splitWord(argument);
        checkTimerScript(name, script, context, w == "SetTimerInit" ? "init" : "end");
        timerUses_.push_back({name.text, at(Severity::Error, context, name.offset, "unknown-timer", w)});
    } else if (w == "ResetTimer" || w == "KillTimer") {
        timerUses_.push_back(
            {argument.text, at(Severity::Error, context, argument.offset, "unknown-timer", w)});
    } else if (w == "PlayTrack" || w == "PauseTrack" || w == "PlaySfx") {
        if (w != "PlaySfx") usesMusic_ = true;
        if (inTimer) {
            report_.add(at(Severity::Warning, context, word.offset, "sound-in-timer",
                           w + " does nothing in a timer script: sound commands act only in an item's "
                               "event script"));
            return;
        }
        if (w == "PlayTrack") {
            checkPlayTrack(argument, context);
        } else if (w == "PlaySfx") {
            files_.require(argument.text, "sound effect",
                           at(Severity::Error, context, argument.offset, "missing-file", ""), report_);
        } else if (argument.text != "play" && argument.text != "stop") {
            const std::string lower = lowerAscii(argument.text);
            if (lower == "play" || lower == "stop") {
                Finding f =
                    at(Severity::Warning, context, argument.offset, "pause-argument",
                       "PauseTrack " + Finding::quoted(argument.text) +
                           " toggles the music: only \"play\" and \"stop\" in lower case are understood");
                f.suggestion = lower;
                report_.add(std::move(f));
            }
        }
    }
}

void ScriptChecks::checkItemName(const std::string& command, const Piece& name, const Context& context) {
    if (name.text.empty()) {
        // The engine would take the first unnamed item in reach: never what was meant.
        report_.add(at(Severity::Error, context, name.offset, "unreachable-item",
                       command + ": no item name (a space too many after the command word?)"));
        return;
    }
    if (tree_.reachable(name.text, context.scope)) return;
    const std::string q = Finding::quoted(name.text);
    std::string message;
    std::string suggestion;
    if (tree_.named(name.text)) {
        message = context.scope
                      ? command + " " + q +
                            ": not found from here: only this item's children, its siblings and the "
                            "siblings of its ancestors up to the root items are searched"
                      : command + " " + q + ": timer scripts find only root items, and " + q + " is not one";
    } else {
        message = command + ": no item is named " + q;
        suggestion = Suggestions::closest(name.text, tree_.reachableNames(context.scope));
    }
    Finding f = at(Severity::Error, context, name.offset, "unreachable-item", message);
    f.suggestion = suggestion;
    report_.add(std::move(f));
}

void ScriptChecks::checkChange(const Piece& argument, const Context& context) {
    auto [name, afterName] = Syntax::splitWord(argument);
    auto [property, afterProperty] = Syntax::splitWord(afterName);
    auto [value, afterValue] = Syntax::splitWord(afterProperty);
    auto [minimum, afterMinimum] = Syntax::splitWord(afterValue);
    const Piece maximum{afterMinimum.text.substr(0, afterMinimum.text.find(' ')), afterMinimum.offset};

    if (name.text.empty()) {
        report_.add(at(Severity::Error, context, name.offset, "change-syntax",
                       "Change: no item name (the argument begins with a space)"));
        return;
    }
    if (!tree_.named(name.text)) {
        Finding f = at(Severity::Error, context, name.offset, "unreachable-item",
                       "Change: no item is named " + Finding::quoted(name.text));
        f.suggestion = Suggestions::closest(name.text, tree_.names());
        report_.add(std::move(f));
    }
    if (property.text.empty()) {
        report_.add(at(Severity::Error, context, property.offset, "change-syntax",
                       "Change: no property: write x, y, w, h, sx, sy, cx, cy, ox, oy, ca, cr, cg or cb"));
        return;
    }
    if (!selectsField(property.text)) {
        Finding f = at(Severity::Error, context, property.offset, "change-syntax",
                       "Change: unknown property " + Finding::quoted(property.text) +
                           ": write x, y, w, h, sx, sy, cx, cy, ox, oy, ca, cr, cg or cb");
        f.suggestion = Suggestions::closest(property.text, kProperties);
        report_.add(std::move(f));
        return;
    }
    if (value.text.empty()) {
        report_.add(at(Severity::Error, context, value.offset, "change-syntax",
                       "Change: no value: write =N, +N, -N or *N"));
        return;
    }
    const char op = value.text[0];
    if (op != '=' && op != '+' && op != '-' && op != '*') {
        Finding f = at(
            Severity::Error, context, value.offset, "change-syntax",
            "Change: the value " + Finding::quoted(value.text) + " has no operator: write =N, +N, -N or *N");
        if (NumberSyntax::isWhole(value.text)) f.suggestion = "=" + value.text;
        report_.add(std::move(f));
        return;
    }
    if (!NumberSyntax::isWhole(value.text.substr(1))) {
        report_.add(at(Severity::Error, context, value.offset, "change-syntax",
                       "Change: the value " + Finding::quoted(value.text) +
                           " is not a whole number: it reads as " + std::string(1, op) +
                           std::to_string(scene::textToInt(value.text.substr(1)))));
    }
    for (const auto& [bound, what] : {std::pair<const Piece*, const char*>{&minimum, "minimum"},
                                      std::pair<const Piece*, const char*>{&maximum, "maximum"}}) {
        if (!bound->text.empty() && !NumberSyntax::isWhole(bound->text))
            report_.add(at(Severity::Error, context, bound->offset, "change-syntax",
                           std::string("Change: the ") + what + " " + Finding::quoted(bound->text) +
                               " is not a whole number: it reads as " +
                               std::to_string(scene::textToInt(bound->text))));
    }
}

void ScriptChecks::checkSetTimer(const Piece& argument, const Context& context) {
    const auto [name, period, limit, tick] = Syntax::timerArguments(argument);
    const std::string who = "SetTimer " + Finding::quoted(name.text);
    if (timers_.insert(name.text).second) {
        timerList_.push_back(name.text);
        timerSources_.push_back({name.text, at(Severity::Error, context, name.offset, "", "")});
    }
    if (period.text.empty() || limit.text.empty()) {
        report_.add(at(Severity::Error, context, period.text.empty() ? period.offset : limit.offset,
                       "timer-syntax",
                       who + ": write a name, a period in seconds, a limit and the tick script"));
    } else {
        if (!NumberSyntax::isDecimal(period.text))
            report_.add(at(Severity::Error, context, period.offset, "timer-syntax",
                           who + ": the period " + Finding::quoted(period.text) +
                               " is not a number: it reads as " +
                               NumberSyntax::show(scene::textToDouble(period.text))));
        if (!NumberSyntax::isWhole(limit.text))
            report_.add(at(Severity::Error, context, limit.offset, "timer-syntax",
                           who + ": the limit " + Finding::quoted(limit.text) +
                               " is not a whole number: it reads as " +
                               std::to_string(scene::textToInt(limit.text))));
    }
    // The tick script keeps its length, so places stay.
    const std::string script = Syntax::tickScript(tick.text);
    Context inner = context;
    inner.scope = nullptr;
    inner.base = context.base + tick.offset;
    inner.timer = name.text;
    checkScript(script, inner);
}

void ScriptChecks::checkTimerScript(const Piece& name, const Piece& script, const Context& context,
                                    const char* which) {
    Context inner = context;
    inner.scope = nullptr;
    inner.base = context.base + script.offset;
    inner.timer = name.text;
    // Stored as written: a "|" here does not separate statements, so what follows it is part of the
    // first statement's argument (that is the mistake to report, not what it leads to).
    const std::size_t bar = script.text.find(Syntax::kTickSeparator);
    if (bar != std::string::npos) {
        report_.add(at(Severity::Error, inner, bar, "timer-syntax",
                       std::string("the ") + which +
                           " script is one statement: \"|\" separates statements only in a SetTimer tick "
                           "script"));
        return;
    }
    checkScript(script.text, inner);
}

void ScriptChecks::checkTickSeparator(const Piece& setTimer, const Piece& next, const Context& context) {
    auto [word, argument] = Syntax::splitWord(Piece{setTimer.text, 0});
    if (word.text != "SetTimer") return;
    const auto [name, period, limit, tick] = Syntax::timerArguments(argument);
    const std::string script = Syntax::tickScript(tick.text);
    // A step of an animation (a Change by some amount) right after a timer whose ticks step the same
    // item: a ";" ended the SetTimer statement where a "|" would have continued its tick script.
    const std::string target = relativeChangeTarget(next.text);
    if (target.empty()) return;
    bool sameItem = false;
    for (const Piece& t : Syntax::statements(script))
        sameItem = sameItem || relativeChangeTarget(t.text) == target;
    if (!sameItem) return;
    report_.add(at(Severity::Error, context, next.offset, "tick-separator",
                   Finding::quoted(next.text) + " runs once, when timer " + Finding::quoted(name.text) +
                       " is set, not at every tick: separate the statements of a tick script with \"|\""));
}

void ScriptChecks::checkPlayTrack(const Piece& argument, const Context& context) {
    const std::string& name = argument.text;
    const std::vector<std::string>& tracks = files_.trackNames();
    const std::string prefix = FileChecks::kMusicPrefix;
    if (std::find(tracks.begin(), tracks.end(), name) != tracks.end()) {
        // The file is there, but the scan keeps only what plays.
        const std::string file = name.substr(prefix.size());
        if (!FileChecks::playableName(file))
            report_.add(at(Severity::Error, context, argument.offset, "unknown-track",
                           "PlayTrack: " + Finding::quoted(file) +
                               " is left out of the track list: it is neither a stream (\".mp3\" or \".ogg\" "
                               "in lower case) nor a tracker module"));
        return;
    }
    const std::string q = Finding::quoted(name);
    std::string fixed = name;
    std::replace(fixed.begin(), fixed.end(), '/', '\\');
    const std::size_t cut = fixed.find_last_of('\\');
    const std::string file = cut == std::string::npos ? fixed : fixed.substr(cut + 1);
    auto isTrack = [&](const std::string& t) {
        return std::find(tracks.begin(), tracks.end(), t) != tracks.end();
    };
    std::string message;
    std::string suggestion;
    if (!files_.musicFolderExists()) {
        message = "PlayTrack " + q + ": there is no music folder (" + FileChecks::kMusicShown + ")";
    } else if (name.find('/') != std::string::npos) {
        message = "PlayTrack " + q + ": a track's name is written with \"\\\", as \"" + prefix +
                  "\" and the file name";
        suggestion = isTrack(fixed) ? fixed : isTrack(prefix + file) ? prefix + file : std::string();
    } else if (name.compare(0, prefix.size(), prefix) != 0) {
        message =
            "PlayTrack " + q + ": a track's name is the whole path, \"" + prefix + "\" and the file name";
        suggestion = isTrack(prefix + file) ? prefix + file : std::string();
    } else {
        message = "PlayTrack: no file of the music folder is named " + Finding::quoted(file);
    }
    if (suggestion.empty() && files_.musicFolderExists()) {
        std::vector<std::string> files;
        for (const std::string& t : tracks) files.push_back(t.substr(prefix.size()));
        const std::string near = Suggestions::closest(file, files);
        if (!near.empty()) suggestion = prefix + near;
    }
    Finding f = at(Severity::Error, context, argument.offset, "unknown-track", message);
    f.suggestion = suggestion;
    report_.add(std::move(f));
}

void ScriptChecks::finish() {
    for (auto& [name, where] : timerUses_) {
        if (timers_.count(name)) continue;
        where.message =
            where.message + " " + Finding::quoted(name) + ": no SetTimer creates a timer of that name";
        where.suggestion = Suggestions::closest(name, timerList_);
        report_.add(std::move(where));
    }
    timerUses_.clear();
}

}  // namespace qa::check
