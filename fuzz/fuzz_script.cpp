// Random scripts run on a small fixed scene, as item event scripts and as plain (timer) scripts,
// followed by a few timer passes.
#include <cstdint>
#include <string>

#include "FuzzDisk.h"
#include "engine/Engine.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "scene/ImageItem.h"
#include "scene/SceneLoader.h"

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
    // A fresh engine for every input; its sound library is never started.
    platform::audio::SoftwareSoundLibrary silent(platform::audio::OutputKind::Pull);
    engine::Engine engine(silent);
    engine.registerCommands();
    scene::SceneState& state = engine.scene;
    scene::SceneLoader(state).load();
    if (!state.rootItems.empty()) {
        scene::ImageItem* first = state.rootItems.front();
        *first->script(qa::scene::Event::onSubmit) = script;
        first->fireEvent(qa::scene::Event::onSubmit, {});
        if (!first->children.empty()) first->children.front()->fireEvent(qa::scene::Event::onSubmit, {});
    }
    engine.scripts.runScript(script);
    for (int i = 0; i < 5; ++i) engine.timers.pass(0.25);
    engine.timers.shutdown();
    return 0;
}
