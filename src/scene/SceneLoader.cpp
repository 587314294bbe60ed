// Scene document loading: which elements become items, where they hang, how attributes are read.
#include "scene/SceneLoader.h"

#include <vector>

#include "platform/XmlDocument.h"
#include "scene/ImageItem.h"
#include "scene/NumberText.h"
#include "scene/SceneState.h"
#include "scene/TextItem.h"

namespace qa::scene {

using platform::XmlNode;

namespace {

// An attribute's text; absent and empty are the same.
bool text(const XmlNode& e, const char* name, std::string& out) {
    return e.attribute(name, out) && !out.empty();
}

void readFloat(const XmlNode& e, const char* name, float& field) {
    std::string value;
    if (text(e, name, value)) field = toFloat(textToDouble(value));
}

bool isItem(const XmlNode& n) {
    return n.isElement() && n.name() == "item";
}

// How many `item` elements stand in an unbroken chain from this one upwards (itself included).
int itemDepth(const XmlNode& e, int limit) {
    int depth = 0;
    for (XmlNode n = e; n.valid() && isItem(n) && depth <= limit; n = n.parent()) ++depth;
    return depth;
}

}  // namespace

SceneLoader::SceneLoader(SceneState& scene) : scene_(scene) {}
SceneLoader::~SceneLoader() = default;

bool SceneLoader::load(const std::string& path) {
    if (!read(path)) return false;
    build();
    return true;
}

bool SceneLoader::read(const std::string& path) {
    errorLine_ = errorColumn_ = 0;
    errorReason_.clear();
    document_ = std::make_unique<platform::XmlDocument>();
    platform::XmlDocument& doc = *document_;
    if (!doc.load(scene_.pictures.files(), path)) {
        errorLine_ = doc.error().line;
        errorColumn_ = doc.error().column;
        errorReason_ = doc.error().reason;
        document_.reset();
        return false;
    }
    XmlNode root = doc.documentElement();
    for (const XmlNode& e : root.descendantsNamed("item")) {
        if (itemDepth(e, kMaxItemDepth) > kMaxItemDepth) {
            errorLine_ = e.line();
            errorReason_ = "items nested more than " + std::to_string(kMaxItemDepth) + " levels deep";
            document_.reset();
            return false;
        }
    }
    return true;
}

void SceneLoader::build() {
    if (!document_) return;
    XmlNode root = document_->documentElement();
    for (const XmlNode& e : root.descendantsNamed("item")) {
        XmlNode parent = e.parent();
        if (!parent.valid() || parent.name() != "item") buildItem(e, nullptr);
    }
}

ImageItem* SceneLoader::buildItem(const XmlNode& rootElement, ImageItem* rootParent) {
    // The subtree is built depth first without recursion: each frame remembers the element, its
    // item and the next child node to look at. onLoad fires when a frame's children are done.
    struct Frame {
        ImageItem* item;
        XmlNode nextChild;
    };
    auto build = [this](const XmlNode& e, ImageItem* parent) {
        std::string image, font;
        e.attribute("image", image);
        e.attribute("font", font);
        ImageItem* item = font.empty() ? scene_.make<ImageItem>(image) : scene_.make<TextItem>(font, image);
        SceneState& state = scene_;
        if (parent) {
            parent->addChild(item);
        } else {
            state.rootItems.push_back(item);
        }
        readFloat(e, "x", item->position.x);
        readFloat(e, "y", item->position.y);
        readFloat(e, "cx", item->centre.x);
        readFloat(e, "cy", item->centre.y);
        readFloat(e, "sx", item->scale.x);
        readFloat(e, "sy", item->scale.y);
        readFloat(e, "w", item->size.x);
        readFloat(e, "h", item->size.y);
        readFloat(e, "ox", item->sourceOffset.x);
        readFloat(e, "oy", item->sourceOffset.y);
        std::string value;
        if (text(e, "name", value)) item->name = value;
        if (text(e, "show", value)) item->visible = textToBool(value);
        for (Event event : kEventsInReadOrder) {
            if (text(e, eventName(event), value)) *item->script(event) = value;
        }
        state.nameItem(item);
        if (observer_) observer_->itemBuilt(item, e, e.line());
        return item;
    };

    ImageItem* top = build(rootElement, rootParent);
    std::vector<Frame> stack{{top, rootElement.firstChild()}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        XmlNode child = frame.nextChild;
        while (child.valid() && !isItem(child)) child = child.nextSibling();
        if (child.valid()) {
            frame.nextChild = child.nextSibling();
            ImageItem* item = build(child, frame.item);
            stack.push_back({item, child.firstChild()});
            continue;
        }
        ImageItem* done = frame.item;
        stack.pop_back();
        done->fireEvent(Event::onLoad, Vec3{});
    }
    return top;
}

}  // namespace qa::scene
