// The runner's input lines: an unknown key name stops the run with its line, the names there are and
// the one likely meant.
#include <gtest/gtest.h>

#include "runner/InputScript.h"

namespace qa::runner {
namespace {

TEST(InputScript, UnknownKeyNamesSayTheLineTheKeysAndTheNameMeant) {
    const std::string keys =
        "; the keys are Enter, Esc, PageUp, PageDown, Left, Up, Right, Down and the key codes 0 to 255";
    const struct {
        const char* name;
        const char* meant;  // empty: nothing close
    } cases[] = {{"Escape", "Esc"},     {"escape", "Esc"}, {"Return", "Enter"},
                 {"enter", "Enter"},    {"Entr", "Enter"}, {"PgDn", "PageDown"},
                 {"ArrowLeft", "Left"}, {"F5", ""},        {"256", ""}};
    for (const auto& c : cases) {
        InputScript input;
        EXPECT_FALSE(input.parse("1 key down Enter\n# a comment\n3 key up " + std::string(c.name) + "\n"));
        const std::string meant = *c.meant ? std::string(" (did you mean \"") + c.meant + "\"?)" : "";
        EXPECT_EQ(input.error(), "input line 3: unknown key \"" + std::string(c.name) + "\"" + meant + keys +
                                     ": 3 key up " + c.name);
    }
    // The names there are, and key codes, still read.
    InputScript input;
    EXPECT_TRUE(input.parse("1 key down Esc\n1 key up 27\n2 key down PageDown\n"));
    EXPECT_EQ(input.actionsFor(1).size(), 2u);
}

}  // namespace
}  // namespace qa::runner
