// Reads the scene document and builds the item tree: root items, children, names, onLoad scripts.
#pragma once

#include <memory>
#include <string>

#include "scene/Syntax.h"

namespace qa::platform {
class XmlNode;
class XmlDocument;
}  // namespace qa::platform

namespace qa::scene {

class ImageItem;
class SceneState;

class SceneLoader {
  public:
    // Items are built into `scene`.
    explicit SceneLoader(SceneState& scene);
    ~SceneLoader();

    // Items nested deeper than this are refused as a corrupt document: no real scene comes near it,
    // and drawing and hit testing descend the tree recursively.
    static constexpr int kMaxItemDepth = 256;

    // Loads the document; false when it cannot be read or parsed, has no root element, or nests
    // items too deeply. Nothing is built then.
    bool load(const std::string& path = Syntax::kDocumentPath);

    // The two halves of load: reading checks the whole document and builds nothing (so a scene on
    // screen can stay when its new document is broken); building makes the items of the document
    // read last and runs their onLoad scripts.
    bool read(const std::string& path = Syntax::kDocumentPath);
    void build();

    // Why the last load failed, for authors: line and column (1-based, 0 when not known) and reason.
    int errorLine() const { return errorLine_; }
    int errorColumn() const { return errorColumn_; }
    const std::string& errorReason() const { return errorReason_; }

    // Called for every item right after it is built and linked, before its children and its onLoad.
    class Observer {
      public:
        virtual ~Observer() = default;
        virtual void itemBuilt(ImageItem* item, const platform::XmlNode& element, int line) = 0;
    };
    void setObserver(Observer* observer) { observer_ = observer; }

  private:
    ImageItem* buildItem(const platform::XmlNode& element, ImageItem* parent);

    int errorLine_ = 0;
    int errorColumn_ = 0;
    std::string errorReason_;
    Observer* observer_ = nullptr;
    SceneState& scene_;
    std::unique_ptr<platform::XmlDocument> document_;
};

}  // namespace qa::scene
