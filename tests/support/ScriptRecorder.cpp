// The recording command over a fresh engine.
#include "support/ScriptRecorder.h"

#include "platform/audio/SoftwareSoundLibrary.h"
#include "scene/ImageItem.h"

namespace qa::test {

ScriptRecorder::ScriptRecorder()
    : sound_(std::make_unique<platform::audio::SoftwareSoundLibrary>(platform::audio::OutputKind::Pull)),
      engine_(std::make_unique<engine::Engine>(*sound_)) {
    engine_->registerCommands();
    engine_->commandTable.registerCommand("Rec", [this](std::string argument, Vec3, scene::ImageItem* item) {
        recorded_.push_back({argument, item ? item->name : std::string("(none)")});
        return !argument.empty() && argument[0] == '+';
    });
}

ScriptRecorder::~ScriptRecorder() = default;

std::string ScriptRecorder::joined() const {
    std::string out;
    for (const RecordedCall& c : recorded_) {
        if (!out.empty()) out += ",";
        out += c.argument;
    }
    return out;
}

}  // namespace qa::test
