// Random scripts run on a small fixed scene, as item event scripts and as plain (timer) scripts,
// followed by a few timer passes.
#include <cstdint>
#include <string>

#include "FuzzDisk.h"
#include "scene/ImageItem.h"
#include "scene/SceneLoader.h"
#include "scene/SceneState.h"
#include "script/CommandTable.h"
#include "script/Commands.h"
#include "script/ScriptRunner.h"
#include "script/TimerList.h"

namespace {
const char* kScene = R"(<s>
  <item name="a" x="10" y="10"><item name="b"/><item name="c" show="0"><item name="d"/></item></item>
  <item name="e" font="f.png" image="t.txt" w="100" h="50"/>
  <item name="a" onLoad="Hide b"/>
</s>)";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qa;
    std::string script(reinterpret_cast<const char*>(data), size);
    fuzz::FuzzDisk::root();
    static bool once = [] {
        fuzz::FuzzDisk::write("data/QuorvArt.XQD", kScene);
        fuzz::FuzzDisk::write("t.txt", "some text - to lay out\r\nand more");
        return true;
    }();
    (void)once;
    scene::SceneState& state = scene::sceneState();
    state.reset();
    state.scripts = &script::ScriptRunner::instance();
    script::commandTable().clear();
    script::Commands::registerAll();
    scene::SceneLoader().load();
    if (!state.rootItems.empty()) {
        scene::ImageItem* first = state.rootItems.front();
        *first->script(qa::scene::Event::onSubmit) = script;
        first->fireEvent(qa::scene::Event::onSubmit, {});
        if (!first->children.empty()) first->children.front()->fireEvent(qa::scene::Event::onSubmit, {});
    }
    script::ScriptRunner::runScript(script);
    for (int i = 0; i < 5; ++i) script::timerList().pass(0.25);
    script::timerList().shutdown();
    state.reset();
    return 0;
}
