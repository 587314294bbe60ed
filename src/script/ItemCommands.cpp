// Item commands: showing, hiding and raising items, and changing their numbers.
#include "script/ItemCommands.h"

#include <cmath>
#include <list>
#include <vector>

#include "scene/ImageItem.h"
#include "scene/NumberText.h"
#include "scene/SceneState.h"
#include "scene/Syntax.h"

namespace qa::script {

using scene::ImageItem;

namespace {

// The field that a property word of Change selects, or null: the first character, and for s, c and
// o the second, decide; the rest of the word is ignored.
float* propertyField(ImageItem& target, const std::string& word, float channels[4]) {
    if (word.empty()) return nullptr;
    const char second = word.size() > 1 ? word[1] : '\0';
    switch (word[0]) {
        case 'x':
            return &target.position.x;
        case 'y':
            return &target.position.y;
        case 'w':
            return &target.size.x;
        case 'h':
            return &target.size.y;
        case 's':
            if (second == 'x') return &target.scale.x;
            if (second == 'y') return &target.scale.y;
            return nullptr;
        case 'c':
            switch (second) {
                case 'x':
                    return &target.centre.x;
                case 'y':
                    return &target.centre.y;
                case 'a':
                    return &channels[0];
                case 'r':
                    return &channels[1];
                case 'g':
                    return &channels[2];
                case 'b':
                    return &channels[3];
                default:
                    return nullptr;
            }
        case 'o':
            if (second == 'x') return &target.sourceOffset.x;
            if (second == 'y') return &target.sourceOffset.y;
            return nullptr;
        default:
            return nullptr;
    }
}

}  // namespace

void ItemCommands::show(ImageItem& target) {
    target.visible = true;
    target.fireEvent(scene::Event::onActivate, scene_.cursor);
    // raise fires onActivate again unless the item already is the front root item.
    target.raise();
}

ImageItem* ItemCommands::firstNamed(const ImageItem* owner, const std::string& name) const {
    // The only item of its name is among these siblings exactly when it hangs there.
    if (ImageItem* sole = scene_.soleItemNamed(name)) return sole->parent == owner ? sole : nullptr;
    for (ImageItem* i : owner ? owner->children : scene_.rootItems) {
        if (i->name == name) return i;
    }
    return nullptr;
}

ImageItem* ItemCommands::findScoped(const std::string& name, ImageItem* item) {
    for (ImageItem* at = item;; at = at->parent) {
        if (ImageItem* found = firstNamed(at, name)) return found;
        if (!at) return nullptr;
    }
}

ImageItem* ItemCommands::findForChange(const std::string& name, ImageItem* item) {
    const scene::SceneState& state = scene_;
    // The siblings' item or the name map's: the same one when a single item bears the name.
    if (ImageItem* sole = state.soleItemNamed(name)) return sole;
    // Each step up runs the same search from the parent; only an empty name (never in the name map)
    // can be found that way.
    for (ImageItem* at = item;; at = at->parent) {
        if (ImageItem* found = firstNamed(at ? at->parent : nullptr, name)) return found;
        if (ImageItem* found = state.findItem(name)) return found;
        if (!at) return nullptr;
    }
}

std::uint32_t ItemCommands::channelByte(float channel) {
    if (!std::isfinite(channel)) return 0;
    // fmod is exact, so this is the truncated value modulo 256 for every magnitude.
    double low = std::fmod(std::trunc(static_cast<double>(channel)), 256.0);
    if (low < 0) low += 256.0;
    return static_cast<std::uint32_t>(low);
}

bool ItemCommands::activate(std::string argument, Vec3, ImageItem* item) {
    ImageItem* target = findScoped(argument, item);
    if (!target) return false;
    show(*target);
    return true;
}

bool ItemCommands::activateSingle(std::string argument, Vec3, ImageItem* item) {
    ImageItem* target = findScoped(argument, item);
    if (!target) return false;
    if (target->parent) {
        // onHide scripts may reorder this very list (by raising a sibling): walk a copy taken before
        // the first of them runs, so that each sibling is hidden once.
        const std::vector<ImageItem*> siblings(target->parent->children.begin(),
                                               target->parent->children.end());
        for (ImageItem* sibling : siblings) {
            if (sibling->name == argument) continue;
            sibling->visible = false;
            sibling->fireEvent(scene::Event::onHide, scene_.cursor);
        }
    }
    show(*target);
    return true;
}

bool ItemCommands::hide(std::string argument, Vec3, ImageItem* item) {
    ImageItem* target = findScoped(argument, item);
    if (!target) return false;
    target->visible = false;
    target->fireEvent(scene::Event::onHide, scene_.cursor);
    return true;
}

bool ItemCommands::change(std::string argument, Vec3, ImageItem* item) {
    auto [name, afterName] = scene::Syntax::splitWord(argument);
    auto [property, afterProperty] = scene::Syntax::splitWord(afterName);
    auto [value, afterValue] = scene::Syntax::splitWord(afterProperty);
    auto [minimum, afterMinimum] = scene::Syntax::splitWord(afterValue);
    const std::string maximum = afterMinimum.substr(0, afterMinimum.find(' '));

    ImageItem* target = findForChange(name, item);
    if (!target) return false;

    const std::uint32_t c = target->colour;
    float channels[4] = {static_cast<float>((c >> 24) & 0xFFu), static_cast<float>((c >> 16) & 0xFFu),
                         static_cast<float>((c >> 8) & 0xFFu), static_cast<float>(c & 0xFFu)};
    float* field = propertyField(*target, property, channels);
    if (!field || value.empty()) return false;

    // Integers only: the operand is read by the integer rule (saturating) and used as a float.
    const double operand = static_cast<float>(scene::textToInt(value.substr(1)));
    const double old = *field;
    double result;
    switch (value[0]) {
        case '*':
            result = operand * old;
            break;
        case '+':
            result = operand + old;
            break;
        case '-':
            result = old - operand;
            break;
        case '=':
            result = operand;
            break;
        default:
            return false;
    }
    float f = scene::toFloat(result);
    if (!minimum.empty()) {
        const float low = static_cast<float>(scene::textToInt(minimum));
        if (low > f) f = low;
    }
    if (!maximum.empty()) {
        const float high = static_cast<float>(scene::textToInt(maximum));
        if (high < f) f = high;
    }
    *field = f;

    if (property[0] == 'c') {
        target->colour = channelByte(channels[0]) << 24 | channelByte(channels[1]) << 16 |
                         channelByte(channels[2]) << 8 | channelByte(channels[3]);
    }
    return true;
}

}  // namespace qa::script
