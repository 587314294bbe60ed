// "Did you mean": close enough to be what was meant, never a wild guess.
#include <gtest/gtest.h>

#include "check/Suggestions.h"

namespace qa::check {
namespace {

TEST(Suggestions, DistanceCountsEditsAndSwapsAndIgnoresCase) {
    EXPECT_EQ(Suggestions::distance("ActivateSingel", "ActivateSingle"), 1u);  // swapped neighbours
    EXPECT_EQ(Suggestions::distance("hide", "Hide"), 0u);
    EXPECT_EQ(Suggestions::distance("Chnage", "Change"), 1u);
    EXPECT_EQ(Suggestions::distance("", "abc"), 3u);
    EXPECT_EQ(Suggestions::distance("kitten", "sitting"), 3u);
}

TEST(Suggestions, ClosestIsTheNearestCandidateWithinTheLimitForTheLength) {
    const std::vector<std::string> commands = {"PlayTrack", "PlaySfx", "Hide", "Activate", "ActivateSingle"};
    EXPECT_EQ(Suggestions::closest("hide", commands), "Hide");
    EXPECT_EQ(Suggestions::closest("ActivateSingel", commands), "ActivateSingle");
    EXPECT_EQ(Suggestions::closest("PlaySFX", commands), "PlaySfx");
    EXPECT_EQ(Suggestions::closest("Show", commands), "");  // nothing near
    EXPECT_EQ(Suggestions::closest("Hide", commands), "");  // the word itself is not suggested
    // One-letter names are not guessed from another letter; a case difference always counts.
    EXPECT_EQ(Suggestions::closest("a", {"b", "c"}), "");
    EXPECT_EQ(Suggestions::closest("a", {"b", "A"}), "A");
    // A trailing space is one edit away.
    EXPECT_EQ(Suggestions::closest("menu ", {"menu", "main"}), "menu");
    // Ties go to the earlier candidate.
    EXPECT_EQ(Suggestions::closest("s7", {"s1", "s2"}), "s1");
}

}  // namespace
}  // namespace qa::check
