// The drawable base: one picture, or the text of a ".txt" file in the system font.
#pragma once

#include <cstdint>
#include <string>

#include "common/Matrix.h"
#include "common/Vec3.h"
#include "scene/SharedText.h"

namespace qa::scene {

struct Picture;
class SceneState;

class Visual {
  public:
    // Loads the picture (or the ".txt" text) named by fileName; the scene makes visuals and owns them
    // (SceneState::make).
    Visual(SceneState& scene, const std::string& fileName);
    virtual ~Visual();
    Visual(const Visual&) = delete;
    Visual& operator=(const Visual&) = delete;

    // Draws the visual once; true when invisible or drawn, false without sprite or anything to draw.
    virtual bool draw();
    // The placement transform: scaling by `scale`, then translation by position - centre x scale.
    Matrix placement() const;
    // The scene the visual belongs to.
    SceneState& scene() const { return scene_; }

    Vec3 position;
    Vec3 size;
    Vec3 sourceSize;
    Vec3 scale;
    Vec3 centre;
    Vec3 sourceOffset;
    std::uint32_t colour = 0xFFFFFFFFu;
    std::string fileName;
    SharedText text;  // a text file's characters, shared by the items showing that file
    bool visible = true;
    Picture* picture = nullptr;

  protected:
    // The scene the visual belongs to: its pictures, sprite and system font.
    SceneState& scene_;
};

}  // namespace qa::scene
