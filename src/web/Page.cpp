// Calls into the page's script (Module.quorvartPage, set by index.html before the player starts).
#include "web/Page.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(void, qa_page_playing, (), {
    if (Module.quorvartPage) Module.quorvartPage.playing();
});
EM_JS(void, qa_page_frame, (int frame, double mixed), {
    if (Module.quorvartPage) Module.quorvartPage.frame(frame, mixed);
});
EM_JS(void, qa_page_shot, (int frame, const char* path), {
    if (Module.quorvartPage) Module.quorvartPage.shot(frame, UTF8ToString(path));
});
EM_JS(void, qa_page_ended, (), {
    if (Module.quorvartPage) Module.quorvartPage.ended();
});
EM_JS(void, qa_page_failed, (const char* text), {
    if (Module.quorvartPage) Module.quorvartPage.failed(UTF8ToString(text));
});
// clang-format on

}  // namespace

namespace qa::web {

void Page::playing() {
    qa_page_playing();
}

void Page::frameDrawn(int frame, std::uint64_t mixed) {
    qa_page_frame(frame, static_cast<double>(mixed));
}

void Page::shot(int frame, const std::string& path) {
    qa_page_shot(frame, path.c_str());
}

void Page::ended() {
    qa_page_ended();
}

void Page::failed(const std::string& text) {
    qa_page_failed(text.c_str());
}

}  // namespace qa::web
