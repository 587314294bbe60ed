// The playlist's sound is its tracks one after another, sample for sample: each track starts at the
// sample after the last of the one before, while the list itself still moves on a frame later.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/audio/decoders/DecoderFactory.h"
#include "platform/audio/decoders/OpenMptModule.h"
#include "platform/file/FolderSource.h"
#include "sound/MusicPlayer.h"
#include "sound/StreamPlayer.h"
#include "sound/TrackList.h"

namespace qa::sound {
namespace {

constexpr int kRate = 44100;
// Modules render a hair differently in blocks of other sizes: far below a 16-bit step.
constexpr float kSame = 1e-5f;
const std::string kFolder = ".\\data\\Quorv Part\\";
// The demo's playlist: modules and streams, in both orders.
const std::vector<std::string> kTracks = {"01 Quorv Theme.mod", "02 Night Drive.mod", "03 Ambient Tide.ogg",
                                          "04 Pluck Parade.mp3"};

class GaplessTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(library.FSOUND_Init(kRate, 288, 2)); }

    std::unique_ptr<SoundObject> track(const std::string& name) {
        const std::string path = kFolder + name;
        std::unique_ptr<SoundObject> t;
        if (path.ends_with(".mod")) {
            t = std::make_unique<MusicPlayer>(library, path);
        } else {
            t = std::make_unique<StreamPlayer>(library, path);
        }
        t->SetLoop(false);
        return t;
    }

    // One track alone from its start to its end.
    std::vector<float> alone(const std::string& name) {
        std::unique_ptr<SoundObject> t = track(name);
        EXPECT_TRUE(t->Play(true));
        std::vector<float> out;
        std::vector<float> block(2 * 512);
        while (t->IsPlaying()) {
            library.pull(block.data(), 512);
            out.insert(out.end(), block.begin(), block.end());
        }
        // What came after its end in the last block is not the track.
        out.resize(2 * length(name));
        return out;
    }

    // The number of frames in a track's file, decoded on its own.
    std::size_t length(const std::string& name) {
        const std::string path = kFolder + name;
        std::size_t frames = 0;
        std::vector<float> block(2 * 4096);
        if (path.ends_with(".mod")) {
            std::unique_ptr<platform::InputStream> file = files->open(path);
            std::unique_ptr<platform::audio::OpenMptModule> song =
                platform::audio::OpenMptModule::load(*file);
            song->setRepeatCount(0);
            for (std::size_t n = 4096; n == 4096; frames += n) n = song->read(kRate, 4096, block.data());
        } else {
            int error = 0;
            auto decoder = platform::audio::DecoderFactory::open(*files, path, error);
            for (std::size_t n = 1; n > 0; frames += n) n = decoder->readStereo(block.data(), 4096);
            // At another rate, the channel converts it: as many frames at the mixing rate.
            frames =
                static_cast<std::size_t>(std::llround(static_cast<double>(frames) * kRate / decoder->rate()));
        }
        return frames;
    }

    std::shared_ptr<platform::FileSource> files =
        std::make_shared<platform::file::FolderSource>(std::string(QA_SOURCE_DIR) + "/demo");
    platform::audio::SoftwareSoundLibrary library{platform::audio::OutputKind::Pull, files};
};

TEST_F(GaplessTest, PlaylistIsItsTracksOneAfterAnother) {
    // The tracks alone, and where each ends (its own trailing silence is its own).
    std::vector<std::vector<float>> solo;
    for (const std::string& name : kTracks) solo.push_back(alone(name));

    TrackList list;
    for (const std::string& name : kTracks) list.append(track(name));
    list.startFront();
    // Frames of a runner at 16 ms: 705.6 samples each, a little more or less at each frame.
    std::vector<float> out;
    std::vector<int> changedAt;
    std::size_t total = 0;
    for (const auto& s : solo) total += s.size() / 2;
    total += solo[0].size() / 2 / 2;  // and on into the first track again
    const SoundObject* current = list.current();
    for (int frame = 1; out.size() / 2 < total; ++frame) {
        list.advance();
        if (list.current() != current) changedAt.push_back(frame);
        current = list.current();
        const std::size_t due = static_cast<std::size_t>(std::llround(frame * 705.6));
        std::vector<float> block(2 * (due - out.size() / 2));
        library.pull(block.data(), block.size() / 2);
        out.insert(out.end(), block.begin(), block.end());
    }

    std::size_t start = 0;
    for (std::size_t i = 0; i <= kTracks.size(); ++i) {
        const std::vector<float>& s = solo[i % kTracks.size()];
        const std::size_t frames = std::min(s.size() / 2, total - start);
        std::size_t differ = frames;
        for (std::size_t f = 0; f < frames && differ == frames; ++f)
            if (std::abs(out[2 * (start + f)] - s[2 * f]) > kSame ||
                std::abs(out[2 * (start + f) + 1] - s[2 * f + 1]) > kSame)
                differ = f;
        EXPECT_EQ(differ, frames) << kTracks[i % kTracks.size()] << " starting at sample " << start
                                  << " differs from its own sound at its frame " << differ << ": "
                                  << (differ < frames ? out[2 * (start + differ)] : 0.0f) << " vs "
                                  << (differ < frames ? s[2 * differ] : 0.0f);
        // The list moved on in the frame after the one whose sound held the track's end.
        if (i > 0 && i <= changedAt.size()) {
            int k = 1;
            while (static_cast<std::size_t>(std::llround(k * 705.6)) < start) ++k;
            EXPECT_GE(changedAt[i - 1], k + 1) << kTracks[i % kTracks.size()];
            EXPECT_LE(changedAt[i - 1], k + 2) << kTracks[i % kTracks.size()];
        }
        start += s.size() / 2;
    }
}

TEST_F(GaplessTest, OnlyTheCurrentAndTheNextTrackHoldTheirSound) {
    // Tracks made as the music folder's scan makes them: each file only checked.
    TrackList list;
    std::vector<SoundObject*> made;
    for (int i = 0; i < 9; ++i) {
        const std::string path = kFolder + kTracks[i % kTracks.size()];
        std::unique_ptr<SoundObject> t;
        if (path.ends_with(".mod")) {
            t = std::make_unique<MusicPlayer>(library, path, true);
        } else {
            t = std::make_unique<StreamPlayer>(library, path, true);
        }
        ASSERT_TRUE(t->IsLoaded());
        t->SetLoop(false);
        made.push_back(t.get());
        list.append(std::move(t));
    }
    auto holding = [&] {
        std::vector<int> which;
        for (std::size_t i = 0; i < made.size(); ++i) {
            const platform::audio::MusicHandle m = made[i]->music();
            if (m.module || m.stream) which.push_back(static_cast<int>(i));
        }
        return which;
    };
    EXPECT_TRUE(holding().empty());
    list.startFront();
    EXPECT_EQ(holding(), (std::vector<int>{0, 1}));
    std::vector<float> block(2 * 4096);
    while (list.current() == made[0]) {
        library.pull(block.data(), 4096);
        list.advance();
    }
    EXPECT_EQ(list.current(), made[1]);
    EXPECT_EQ(holding(), (std::vector<int>{1, 2}));
    // A track played by name holds its sound at once; the one it interrupted is next, and keeps it.
    list.current()->Play(false);
    made[6]->Prepare();
    EXPECT_TRUE(made[6]->Play(true));
    list.moveToFront(made[6]);
    EXPECT_EQ(holding(), (std::vector<int>{1, 6}));
}

}  // namespace
}  // namespace qa::sound
