// Reads the scene document and builds the item tree: root items, children, names, onLoad scripts.
#pragma once

#include <string>

namespace qa::platform {
class XmlNode;
}

namespace qa::scene {

class ImageItem;
class SceneState;

class SceneLoader {
  public:
    // Items are built into `scene`.
    explicit SceneLoader(SceneState& scene) : scene_(scene) {}

    static constexpr const char* kDocumentPath = "data//QuorvArt.XQD";
    // Items nested deeper than this are refused as a corrupt document: no real scene comes near it,
    // and drawing and hit testing descend the tree recursively.
    static constexpr int kMaxItemDepth = 256;

    // Loads the document; false when it cannot be read or parsed, has no root element, or nests
    // items too deeply. Nothing is built then.
    bool load(const std::string& path = kDocumentPath);

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
};

}  // namespace qa::scene
