// Sound start-up messages and the error texts.
#include <gtest/gtest.h>

#include <string>

#include "sound/SoundErrorText.h"
#include "sound/SoundSystem.h"
#include "support/RecordingSoundLibrary.h"

namespace qa::sound {
namespace {

using test::RecordingSoundLibrary;

std::string startUp(RecordingSoundLibrary& library, bool enabled, void* window) {
    testing::internal::CaptureStdout();
    SoundSystem system(library, enabled, window);
    return testing::internal::GetCapturedStdout();
}

TEST(SoundSystem, DisabledMakesNoCallAndPrintsNothing) {
    RecordingSoundLibrary library;
    EXPECT_EQ(startUp(library, false, &library), "");
    EXPECT_EQ(library.take(), "");
}

TEST(SoundSystem, StartsAndNamesTheOutputMethod) {
    RecordingSoundLibrary library;
    library.answer("FSOUND_GetOutput", 6);
    int window = 0;
    EXPECT_EQ(startUp(library, true, &window), "FSOUND Output Method : FSOUND_OUTPUT_ALSA\n");
    EXPECT_EQ(library.take(),
              "FSOUND_GetVersion();FSOUND_SetHWND(&);FSOUND_Init(44100,288,2);FSOUND_GetOutput()");

    const char* names[] = {"NOSOUND", "WINMM", "DSOUND", "", "OSS", "ESD", "ALSA", "ASIO"};
    for (int method = 0; method < 8; ++method) {
        library.answer("FSOUND_GetOutput", method);
        const std::string expected =
            method == 3 ? "FSOUND Output Method : "
                        : "FSOUND Output Method : FSOUND_OUTPUT_" + std::string(names[method]) + "\n";
        EXPECT_EQ(startUp(library, true, nullptr), expected) << method;
    }
    library.answer("FSOUND_GetOutput", 8);
    EXPECT_EQ(startUp(library, true, nullptr), "FSOUND Output Method : ");
    library.answer("FSOUND_GetOutput", -1);
    EXPECT_EQ(startUp(library, true, nullptr), "FSOUND Output Method : ");
}

TEST(SoundSystem, NoWindowSkipsAttaching) {
    RecordingSoundLibrary library;
    startUp(library, true, nullptr);
    EXPECT_EQ(library.take(), "FSOUND_GetVersion();FSOUND_Init(44100,288,2);FSOUND_GetOutput()");
}

TEST(SoundSystem, OldLibraryIsReportedAndStartUpGoesOn) {
    RecordingSoundLibrary library;
    library.answer("FSOUND_GetVersion", 3.62);
    EXPECT_EQ(startUp(library, true, nullptr),
              "Error : Wrong DLL version 3.62 - expected using Fsoundfx 3.63\n"
              "FSOUND Output Method : FSOUND_OUTPUT_NOSOUND\n");
    EXPECT_EQ(library.take(),
              "FSOUND_GetVersion();FSOUND_GetVersion();FSOUND_Init(44100,288,2);FSOUND_GetOutput()");

    library.answer("FSOUND_GetVersion", 3.63);
    EXPECT_EQ(startUp(library, true, nullptr), "FSOUND Output Method : FSOUND_OUTPUT_NOSOUND\n");
}

TEST(SoundSystem, FailedInitialisationPrintsTheErrorAndNoMethod) {
    RecordingSoundLibrary library;
    library.answer("FSOUND_Init", 0);
    library.answer("FSOUND_GetError", 3);
    EXPECT_EQ(startUp(library, true, nullptr), "Error: Error initializing output device.\n");
    EXPECT_EQ(library.take(), "FSOUND_GetVersion();FSOUND_Init(44100,288,2);FSOUND_GetError()");
}

TEST(SoundErrorText, FixedTextsWithTheirOddSpacing) {
    EXPECT_STREQ(SoundErrorText(0), "No errors");
    EXPECT_STREQ(SoundErrorText(1), "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.");
    EXPECT_STREQ(SoundErrorText(9), "File not found");
    EXPECT_STREQ(SoundErrorText(12), "Not enough memory ");
    EXPECT_STREQ(SoundErrorText(18), "Required Mediaplayer codec is not installed");
    EXPECT_STREQ(SoundErrorText(19), "Unknown error");
    EXPECT_STREQ(SoundErrorText(-1), "Unknown error");
    EXPECT_STREQ(SoundErrorText(INT32_MIN), "Unknown error");
}

}  // namespace
}  // namespace qa::sound
