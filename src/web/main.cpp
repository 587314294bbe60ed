// quorvart in a web page: the functions the page calls (see index.html) over the page's program.
#include <emscripten.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/window/LauncherPicture.h"
#include "runner/PngWriter.h"
#include "web/WebProgram.h"

namespace {

const char* kept(std::string text) {
    static std::string last;
    last = std::move(text);
    return last.c_str();
}

}  // namespace

extern "C" {

// Takes the disk's bytes (allocated with the player's malloc; freed by the player). The error text, or
// empty when the disk opened.
EMSCRIPTEN_KEEPALIVE const char* qa_web_open(void* bytes, int size, const char* name) {
    return kept(qa::web::WebProgram::instance().openDisk(bytes, static_cast<std::size_t>(size), name));
}

// Starts the disk. With `test` set: a frame length in milliseconds (virtual time), the input file's
// text and the frames to save, separated by commas. The error text, or empty.
EMSCRIPTEN_KEEPALIVE const char* qa_web_start(int test, const char* frameMs, const char* input,
                                              const char* shots) {
    qa::web::WebProgram::TestMode mode;
    mode.on = test != 0;
    if (mode.on) {
        if (frameMs && *frameMs && !qa::web::WebProgram::parseFrameMs(frameMs, mode.rateNum, mode.rateDen))
            return kept(std::string("frame-ms is not a length in milliseconds: ") + frameMs);
        mode.input = input ? input : "";
        std::stringstream list(shots ? shots : "");
        std::string item;
        while (std::getline(list, item, ',')) {
            if (!item.empty()) mode.shots.push_back(std::atoi(item.c_str()));
        }
    }
    return kept(qa::web::WebProgram::instance().start(mode));
}

EMSCRIPTEN_KEEPALIVE void qa_web_stop() {
    qa::web::WebProgram::instance().stop();
}

}  // extern "C"

// The launcher's picture, for the page's start screen; then the page is told the player is ready.
int main() {
    using qa::platform::window::LauncherPicture;
    qa::runner::PngWriter::write("/tmp/launcher.png", LauncherPicture::pixels(), LauncherPicture::kWidth,
                                 LauncherPicture::kHeight);
    EM_ASM({
        if (Module.quorvartPage) Module.quorvartPage.ready("/tmp/launcher.png");
    });
    return 0;
}
