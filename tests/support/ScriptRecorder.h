// A fresh engine for a test, with the real command registration plus a recording command "Rec"
// that notes each call (argument and item name) and returns true when its argument starts with "+".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Engine.h"

namespace qa::platform::audio {
class SoftwareSoundLibrary;
}

namespace qa::test {

struct RecordedCall {
    std::string argument;
    std::string item;  // "(none)" for plain scripts
};

class ScriptRecorder {
  public:
    ScriptRecorder();
    ~ScriptRecorder();
    ScriptRecorder(const ScriptRecorder&) = delete;
    ScriptRecorder& operator=(const ScriptRecorder&) = delete;

    engine::Engine& engine() { return *engine_; }
    scene::SceneState& scene() { return engine_->scene; }
    std::vector<RecordedCall>& calls() { return recorded_; }
    // The arguments of the recorded calls, joined by ",".
    std::string joined() const;

  private:
    std::unique_ptr<platform::audio::SoftwareSoundLibrary> sound_;  // never started
    std::unique_ptr<engine::Engine> engine_;
    std::vector<RecordedCall> recorded_;
};

}  // namespace qa::test
