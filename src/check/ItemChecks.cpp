// Attribute checks of one item.
#include "check/ItemChecks.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "check/NumberSyntax.h"
#include "check/Suggestions.h"
#include "scene/Event.h"
#include "scene/NumberText.h"

namespace qa::check {

namespace {

const char* const kNumbers[] = {"x", "y", "cx", "cy", "sx", "sy", "w", "h", "ox", "oy"};
// The events the mouse fires on the item under it: hover, and the buttons.
constexpr scene::Event kMouseEvents[] = {scene::Event::onHoverOn, scene::Event::onHoverOff,
                                         scene::Event::onSubmit, scene::Event::onSubmitUp};

std::string lowerAscii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

const std::vector<std::string>& knownAttributes() {
    static const std::vector<std::string> kKnown = [] {
        std::vector<std::string> v = {"image", "font", "x", "y",  "cx", "cy",   "sx",
                                      "sy",    "w",    "h", "ox", "oy", "name", "show"};
        for (scene::Event e : scene::kEventsInReadOrder) v.push_back(scene::eventName(e));
        return v;
    }();
    return kKnown;
}

}  // namespace

ItemChecks::ItemChecks(const ItemTree& tree, const Places& places, FileChecks& files, FindingReport& report)
    : places_(places), files_(files), report_(report), valuesPlaced_(tree.valuesPlaced()) {
    // Children come after their parent in construction order, so one backward pass fills the table.
    const auto& items = tree.items();
    mouseTarget_.assign(items.size(), nullptr);
    for (std::size_t i = items.size(); i-- > 0;) {
        const ItemTree::Item& item = *items[i];
        if (!item.parent) continue;
        const ItemTree::Item*& up = mouseTarget_[static_cast<std::size_t>(item.parent->index)];
        const ItemTree::Item* mine = nullptr;
        std::string script;
        for (scene::Event e : kMouseEvents)
            if (item.attribute(scene::eventName(e), script)) mine = &item;
        if (!mine) mine = mouseTarget_[i];
        // Keep the earliest in document order.
        if (mine && (!up || mine->index < up->index)) up = mine;
    }
}

void ItemChecks::checkItem(const ItemTree::Item& item) {
    checkAttributeNames(item);
    checkNumbers(item);
    checkShow(item);
    checkFiles(item);
    checkClickable(item);
}

void ItemChecks::checkAttributeNames(const ItemTree::Item& item) {
    if (!valuesPlaced_) return;
    const std::vector<std::string>& known = knownAttributes();
    for (int i = 0; i < item.element.attributeCount(); ++i) {
        const std::string name = item.element.attributeName(i);
        if (std::find(known.begin(), known.end(), name) != known.end()) continue;
        if (name.compare(0, 5, "xmlns") == 0 || name.find(':') != std::string::npos) continue;
        Finding f = places_.attributeName(Severity::Warning, item, name);
        f.attribute.clear();
        f.code = "unknown-attribute";
        f.message = "unknown attribute " + Finding::quoted(name) + " is ignored";
        f.suggestion = Suggestions::closest(name, known);
        report_.add(std::move(f));
    }
}

void ItemChecks::checkNumbers(const ItemTree::Item& item) {
    for (const char* name : kNumbers) {
        std::string value;
        if (!item.attribute(name, value) || NumberSyntax::isDecimal(value)) continue;
        Finding f = places_.value(Severity::Warning, item, name, 0);
        f.code = "not-a-number";
        f.message = Finding::quoted(value) + " is not a number: it reads as " +
                    NumberSyntax::show(scene::textToDouble(value));
        report_.add(std::move(f));
    }
}

void ItemChecks::checkShow(const ItemTree::Item& item) {
    std::string value;
    if (!item.attribute("show", value) || scene::textToBool(value)) return;
    const std::string lower = lowerAscii(value);
    const bool meantToShow = lower == "true" || lower == "yes" || lower == "y" || lower == "on" ||
                             lower == "visible" || lower == "show" || lower == "shown";
    // A number above 0 that the integer rule reads as 0, such as 0.5.
    const bool fraction = NumberSyntax::isDecimal(value) && scene::textToDouble(value) > 0;
    if (!meantToShow && !fraction) return;
    Finding f = places_.value(Severity::Warning, item, "show", 0);
    f.code = "show-hides";
    f.message = Finding::quoted(value) +
                " hides the item: only \"true\", \"TRUE\" or a whole number above 0 shows it";
    if (meantToShow) f.suggestion = "true";
    report_.add(std::move(f));
}

void ItemChecks::checkFiles(const ItemTree::Item& item) {
    std::string image, font;
    item.attribute("image", image);
    item.attribute("font", font);
    auto where = [&](const char* attribute) { return places_.value(Severity::Error, item, attribute, 0); };
    if (!font.empty()) {
        files_.require(font, "font sheet", where("font"), report_);
        if (!image.empty()) files_.require(image, "text file", where("image"), report_);
        return;
    }
    if (image.empty()) return;
    if (endsWith(image, ".txt")) {
        files_.require(image, "text file", where("image"), report_);
        return;
    }
    if (endsWith(lowerAscii(image), ".txt")) {
        Finding f = where("image");
        f.code = "text-name";
        f.message = Finding::quoted(image) +
                    " is loaded as a picture: only names ending in \".txt\" in lower case are shown as text";
        report_.add(std::move(f));
        return;
    }
    files_.require(image, "picture", where("image"), report_);
}

void ItemChecks::checkClickable(const ItemTree::Item& item) {
    const ItemTree::Item* target = mouseTarget_[static_cast<std::size_t>(item.index)];
    if (!target) return;
    // The size the item will have: w and h, else its picture's (a ".txt" text is 400 x 300); no
    // picture, no size. A picture that exists is taken to have some size.
    std::string image, font, value;
    item.attribute("image", image);
    item.attribute("font", font);
    const bool picture = !(font.empty() ? image : font).empty();
    auto extent = [&](const char* name) {
        if (item.attribute(name, value)) return scene::textToDouble(value);
        return picture ? 1.0 : 0.0;
    };
    if (extent("w") > 0 && extent("h") > 0) return;
    Finding f = places_.item(Severity::Warning, item);
    f.code = "unclickable-children";
    const std::string targetName =
        target->name.empty() ? "#" + std::to_string(target->index) : Finding::quoted(target->name);
    f.message = std::string(picture ? "has no size" : "has no picture and no size") +
                ", so the mouse never reaches the items inside it (such as " + targetName +
                "): give it w and h";
    report_.add(std::move(f));
}

}  // namespace qa::check
