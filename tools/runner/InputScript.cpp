// Parsing of the runner's input lines.
#include "runner/InputScript.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <utility>

#include "check/Suggestions.h"

namespace qa::runner {

using namespace platform::window;

namespace {

bool toInt(const std::string& s, long long& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtoll(s.c_str(), &end, 10);
    return end && *end == '\0';
}

// The key names an input line may give, in the order they are listed to the author.
const std::vector<std::pair<std::string, std::uint32_t>>& keyNames() {
    static const std::vector<std::pair<std::string, std::uint32_t>> names = {
        {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE}, {"PageUp", VK_PRIOR}, {"PageDown", VK_NEXT},
        {"Left", VK_LEFT},    {"Up", VK_UP},      {"Right", VK_RIGHT},  {"Down", VK_DOWN}};
    return names;
}

bool keyCode(const std::string& name, std::uint32_t& vk) {
    for (const auto& [known, code] : keyNames()) {
        if (known == name) {
            vk = code;
            return true;
        }
    }
    long long n;
    if (!toInt(name, n) || n < 0 || n > 255) return false;
    vk = static_cast<std::uint32_t>(n);
    return true;
}

// Why a key name is not known: the name meant, when it is another usual name of a key or a near
// spelling of one, and the names there are.
std::string unknownKey(const std::string& name) {
    static const std::map<std::string, std::string> otherNames = {
        {"escape", "Esc"},     {"return", "Enter"},  {"pgup", "PageUp"},      {"pageup", "PageUp"},
        {"prior", "PageUp"},   {"pgdn", "PageDown"}, {"pgdown", "PageDown"},  {"next", "PageDown"},
        {"arrowleft", "Left"}, {"arrowup", "Up"},    {"arrowright", "Right"}, {"arrowdown", "Down"},
        {"leftarrow", "Left"}, {"uparrow", "Up"},    {"rightarrow", "Right"}, {"downarrow", "Down"}};
    std::vector<std::string> known;
    std::string list;
    for (const auto& entry : keyNames()) {
        known.push_back(entry.first);
        list += (list.empty() ? "" : ", ") + entry.first;
    }
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto other = otherNames.find(lower);
    const std::string meant =
        other != otherNames.end() ? other->second : check::Suggestions::closest(name, known);
    return "unknown key \"" + name + "\"" + (meant.empty() ? "" : " (did you mean \"" + meant + "\"?)") +
           "; the keys are " + list + " and the key codes 0 to 255";
}

}  // namespace

bool InputScript::parse(const std::string& text) {
    byFrame_.clear();
    error_.clear();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string s; words >> s;) w.push_back(s);
        if (w.empty() || w[0][0] == '#') continue;
        auto fail = [&](const std::string& why) {
            error_ = "input line " + std::to_string(lineNo) + ": " + why + ": " + line;
            return false;
        };
        long long frame;
        if (!toInt(w[0], frame) || frame < 1 || frame > 1000000000)
            return fail("the frame must be a number from 1");
        if (w.size() < 2) return fail("an action is missing");
        InputAction a;
        const std::string& act = w[1];
        long long n1, n2, n3;
        if (act == "key" && w.size() == 4 && (w[2] == "down" || w[2] == "up")) {
            std::uint32_t vk;
            if (!keyCode(w[3], vk)) return fail(unknownKey(w[3]));
            a.event = w[2] == "down" ? InputEvent::keyDown(vk) : InputEvent::keyUp(vk);
        } else if (act == "mouse" && w.size() == 4 && toInt(w[2], n1) && toInt(w[3], n2)) {
            a.kind = InputAction::Kind::Mouse;
            a.x = static_cast<int>(std::clamp(n1, -100000LL, 100000LL));
            a.y = static_cast<int>(std::clamp(n2, -100000LL, 100000LL));
        } else if (act == "button" && w.size() == 4 && (w[2] == "left" || w[2] == "right") &&
                   (w[3] == "down" || w[3] == "up")) {
            a.event =
                InputEvent::buttonEvent(w[2] == "left" ? MouseButton::Left : MouseButton::Right,
                                        w[3] == "down" ? InputEvent::Press::Down : InputEvent::Press::Up);
        } else if (act == "dblclick" && w.size() == 3 && (w[2] == "left" || w[2] == "right")) {
            a.event = InputEvent::buttonEvent(w[2] == "left" ? MouseButton::Left : MouseButton::Right,
                                              InputEvent::Press::DoubleClick);
        } else if (act == "wheel" && w.size() == 3 && toInt(w[2], n1) && n1 >= -32768 && n1 <= 32767) {
            // A delta of 120 a notch.
            a.event = InputEvent::wheel(static_cast<double>(n1) / 120.0);
        } else if (act == "joy" && w.size() == 5 && toInt(w[2], n1) && toInt(w[3], n2) && toInt(w[4], n3) &&
                   n1 >= 0 && n1 <= 65535 && n2 >= 0 && n2 <= 65535 && n3 >= 0 && n3 <= 0xFFFFFFFFLL) {
            a.kind = InputAction::Kind::Joystick;
            a.joystick = {static_cast<std::uint32_t>(n1), static_cast<std::uint32_t>(n2),
                          static_cast<std::uint32_t>(n3)};
            usesJoystick_ = true;
        } else if (act == "close" && w.size() == 2) {
            a.event = InputEvent::close();
        } else {
            return fail("unknown action");
        }
        byFrame_[static_cast<int>(frame)].push_back(a);
    }
    return true;
}

const std::vector<InputAction>& InputScript::actionsFor(int frame) const {
    static const std::vector<InputAction> none;
    auto it = byFrame_.find(frame);
    return it == byFrame_.end() ? none : it->second;
}

}  // namespace qa::runner
