// The recording command.
#include "support/ScriptRecorder.h"

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "script/CommandTable.h"
#include "script/Commands.h"
#include "script/ScriptRunner.h"
#include "script/TimerList.h"
#include "sound/TrackList.h"

namespace qa::test {

namespace {
std::vector<RecordedCall> recorded;

bool rec(std::string argument, platform::Vec3, scene::ImageItem* item) {
    recorded.push_back({argument, item ? item->name : std::string("(none)")});
    return !argument.empty() && argument[0] == '+';
}
}  // namespace

ScriptRecorder::ScriptRecorder() {
    recorded.clear();
    script::timerList().reset();
    scene::sceneState().reset();
    scene::sceneState().scripts = &script::ScriptRunner::instance();
    script::commandTable().clear();
    script::Commands::registerAll();
    script::commandTable().registerCommand("Rec", &rec);
}

ScriptRecorder::~ScriptRecorder() {
    script::timerList().reset();
    scene::sceneState().reset();
    sound::trackList().destroyAll();
    recorded.clear();
}

std::vector<RecordedCall>& ScriptRecorder::calls() {
    return recorded;
}

std::string ScriptRecorder::joined() const {
    std::string out;
    for (const RecordedCall& c : recorded) {
        if (!out.empty()) out += ",";
        out += c.argument;
    }
    return out;
}

}  // namespace qa::test
