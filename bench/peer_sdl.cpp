// The peer: a minimal program that draws recorded frames (a draw list written by bench_frame: the
// same pictures and glyphs, the same source and destination rectangles, colours and blending) by
// calling SDL's renderer directly, on the accelerated and on the software renderer, presenting
// without waiting for the retrace; a list of several frames is drawn in turn. Its cost per frame,
// as process CPU time, is what the same drawing costs with nothing of ours in between.
//   --drawlist=DIR   the draw list folder (bench/support/DrawList.h describes it)
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/FrameTiming.h"

namespace {

std::string drawListDir;

struct Copy {
    int texture;
    SDL_Rect src, dst;
    std::uint32_t colour;
    bool blend;
    int flip;
};

struct DrawList {
    struct Picture {
        int w, h;
        std::vector<std::uint32_t> argb;
    };
    std::vector<Picture> pictures;
    std::vector<std::vector<Copy>> frames;

    bool load(const std::string& dir) {
        std::ifstream in(dir + "/drawlist.txt");
        std::string word;
        std::size_t n = 0;
        if (!(in >> word >> n) || word != "textures") return false;
        for (std::size_t i = 0; i < n; ++i) {
            std::size_t index;
            Picture p;
            std::string file;
            if (!(in >> index >> p.w >> p.h >> file)) return false;
            p.argb.resize(static_cast<std::size_t>(p.w) * static_cast<std::size_t>(p.h));
            std::ifstream px(dir + "/" + file, std::ios::binary);
            px.read(reinterpret_cast<char*>(p.argb.data()),
                    static_cast<std::streamsize>(p.argb.size() * sizeof(std::uint32_t)));
            if (!px) return false;
            pictures.push_back(std::move(p));
        }
        while (in >> word >> n) {
            if (word != "copies") return false;
            std::vector<Copy>& copies = frames.emplace_back();
            for (std::size_t i = 0; i < n; ++i) {
                Copy c{};
                std::string colour;
                int blend, fx, fy;
                if (!(in >> c.texture >> c.src.x >> c.src.y >> c.src.w >> c.src.h >> c.dst.x >> c.dst.y >>
                      c.dst.w >> c.dst.h >> colour >> blend >> fx >> fy))
                    return false;
                c.colour = static_cast<std::uint32_t>(std::stoul(colour, nullptr, 16));
                c.blend = blend != 0;
                c.flip = (fx ? SDL_FLIP_HORIZONTAL : 0) | (fy ? SDL_FLIP_VERTICAL : 0);
                copies.push_back(c);
            }
        }
        return !frames.empty();
    }
};

void peerFrame(benchmark::State& state, bool accelerated) {
    DrawList list;
    if (!list.load(drawListDir)) {
        state.SkipWithError("cannot read the draw list (--drawlist=DIR)");
        for (auto _ : state) {
        }
        return;
    }
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError(SDL_GetError());
        for (auto _ : state) {
        }
        return;
    }
    SDL_Window* window = SDL_CreateWindow("peer", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1024, 768,
                                          accelerated ? SDL_WINDOW_OPENGL : 0);
    SDL_Renderer* renderer =
        window
            ? SDL_CreateRenderer(window, -1, accelerated ? SDL_RENDERER_ACCELERATED : SDL_RENDERER_SOFTWARE)
            : nullptr;
    SDL_RendererInfo info{};
    if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0 ||
        ((info.flags & SDL_RENDERER_ACCELERATED) != 0) != accelerated) {
        state.SkipWithError("no such renderer");
        for (auto _ : state) {
        }
    } else {
        std::string label = info.name;
        if (accelerated && SDL_GL_GetCurrentContext()) {
            using GetString = const unsigned char* (*)(unsigned);
            if (auto get = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString")))
                if (const unsigned char* s = get(0x1F01))
                    label += std::string(" (") + reinterpret_cast<const char*>(s) + ")";
        }
        std::size_t copies = 0;
        for (const std::vector<Copy>& f : list.frames) copies += f.size();
        state.SetLabel(label + ", " + std::to_string(copies / list.frames.size()) + " copies");
        std::vector<SDL_Texture*> textures;
        for (const DrawList::Picture& p : list.pictures) {
            SDL_Texture* t =
                SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, p.w, p.h);
            SDL_UpdateTexture(t, nullptr, p.argb.data(), p.w * 4);
            SDL_SetTextureScaleMode(t, accelerated ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
            textures.push_back(t);
        }
        std::size_t next = 0;
        auto frame = [&] {
            const std::vector<Copy>& copies = list.frames[next];
            next = (next + 1) % list.frames.size();
            SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
            SDL_RenderClear(renderer);
            for (const Copy& c : copies) {
                SDL_Texture* t = textures[static_cast<std::size_t>(c.texture)];
                SDL_SetTextureColorMod(t, static_cast<Uint8>(c.colour >> 16),
                                       static_cast<Uint8>(c.colour >> 8), static_cast<Uint8>(c.colour));
                SDL_SetTextureAlphaMod(t, static_cast<Uint8>(c.colour >> 24));
                SDL_SetTextureBlendMode(t, c.blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
                if (c.flip)
                    SDL_RenderCopyEx(renderer, t, &c.src, &c.dst, 0.0, nullptr,
                                     static_cast<SDL_RendererFlip>(c.flip));
                else
                    SDL_RenderCopy(renderer, t, &c.src, &c.dst);
            }
            SDL_RenderPresent(renderer);
            SDL_Event e;
            while (SDL_PollEvent(&e)) {
            }
        };
        for (int i = 0; i < 20; ++i) frame();  // textures uploaded, caches warm
        for (auto _ : state) frame();
        for (SDL_Texture* t : textures) SDL_DestroyTexture(t);
    }
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--drawlist=", 11) == 0) {
            drawListDir = argv[i] + 11;
        } else {
            rest.push_back(argv[i]);
        }
    }
    for (bool accelerated : {true, false}) {
        qa::bench::timeFrames(
            benchmark::RegisterBenchmark(accelerated ? "BM_PeerFrame/accelerated" : "BM_PeerFrame/software",
                                         [accelerated](benchmark::State& s) { peerFrame(s, accelerated); }),
            200, 5);
    }
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    if (benchmark::ReportUnrecognizedArguments(n, rest.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
