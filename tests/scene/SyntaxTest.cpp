// The scene language's pieces: statements and words with their offsets, the tick-script rule, events.
#include <gtest/gtest.h>

#include <set>

#include "scene/Event.h"
#include "scene/Syntax.h"

namespace qa::scene {
namespace {

std::string shown(const std::vector<Syntax::Piece>& pieces) {
    std::string out;
    for (const Syntax::Piece& p : pieces) out += "[" + p.text + "]@" + std::to_string(p.offset);
    return out;
}

TEST(SyntaxStatements, SeparatorsSpacesAndOffsets) {
    const struct {
        const char* script;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"a;b", "[a]@0[b]@2"},
        {"c;   d", "[c]@0[d]@5"},    // spaces after ";" are skipped
        {"e ;f", "[e ]@0[f]@3"},     // the space before ";" stays
        {"h;;i", "[h]@0[]@2[i]@3"},  // an empty statement
        {";  b", "[]@0[  b]@1"},     // after an empty statement the spaces stay
        {"j;", "[j]@0"},             // a trailing separator adds nothing
        {"j; ", "[j]@0"},            // nor do spaces after it
        {"x|y;z", "[x|y]@0[z]@4"},   // "|" separates only in a tick script
        {"A b;  ;C", "[A b]@0[]@6[C]@7"},
    };
    for (const auto& c : cases) {
        const auto pieces = Syntax::statements(c.script);
        EXPECT_EQ(shown(pieces), c.expected) << c.script;
        const std::string script = c.script;
        for (const Syntax::Piece& p : pieces) EXPECT_EQ(script.compare(p.offset, p.text.size(), p.text), 0);
    }
}

TEST(SyntaxStatements, AMillionStatementsSplitInOnePass) {
    std::string script;
    for (int i = 0; i < 1000000; ++i) script += "Rec  ;";
    std::size_t pos = 0, count = 0;
    Syntax::Piece statement;
    while (Syntax::nextStatement(script, pos, statement)) {
        ASSERT_EQ(statement.offset, count * 6);
        ++count;
    }
    EXPECT_EQ(count, 1000000u);
}

TEST(SyntaxWords, SplitWordAndCommandOf) {
    const struct {
        const char* text;
        const char* word;
        const char* rest;
        std::size_t restOffset;
    } cases[] = {
        {"a b", "a", "b", 12},   {"a    b c", "a", "b c", 15}, {"word", "word", "", 14},
        {" a b", "", "a b", 11}, {"  a", "", " a", 11},        {"a ", "a", "", 12},
    };
    for (const auto& c : cases) {
        const auto [word, rest] = Syntax::splitWord(Syntax::Piece{c.text, 10});
        EXPECT_EQ(word.text, c.word) << c.text;
        EXPECT_EQ(word.offset, 10u);
        EXPECT_EQ(rest.text, c.rest) << c.text;
        EXPECT_EQ(rest.offset, c.restOffset) << c.text;
        EXPECT_EQ(Syntax::splitWord(std::string(c.text)),
                  std::make_pair(std::string(c.word), std::string(c.rest)));
    }
    // The command's argument keeps every space after the first; a lone word is its own argument.
    const auto [command, argument] = Syntax::commandOf({"Hide  b1", 3});
    EXPECT_EQ(command.text, "Hide");
    EXPECT_EQ(argument.text, " b1");
    EXPECT_EQ(argument.offset, 8u);
    const auto [lone, itself] = Syntax::commandOf({"ExitApp", 3});
    EXPECT_EQ(lone.text, "ExitApp");
    EXPECT_EQ(itself.text, "ExitApp");
    EXPECT_EQ(itself.offset, 3u);
}

TEST(SyntaxWords, TimerArgumentsAndTheTickScript) {
    const std::string argument = "t1 0.5  3 Change a x +1|Hide b";
    const auto words = Syntax::timerArguments({argument, 9});
    EXPECT_EQ(words.name.text, "t1");
    EXPECT_EQ(words.period.text, "0.5");
    EXPECT_EQ(words.period.offset, 12u);
    EXPECT_EQ(words.limit.text, "3");
    EXPECT_EQ(words.tick.text, "Change a x +1|Hide b");
    EXPECT_EQ(words.tick.offset, 9u + argument.find("Change"));
    const std::string tick = Syntax::tickScript(words.tick.text);
    EXPECT_EQ(tick, "Change a x +1;Hide b");
    EXPECT_EQ(shown(Syntax::statements(tick)), "[Change a x +1]@0[Hide b]@14");
}

TEST(Events, NamesNumbersAndOrders) {
    std::set<int> numbers;
    std::set<Event> read(kEventsInReadOrder.begin(), kEventsInReadOrder.end());
    for (std::size_t i = 0; i < kEventsInNumberOrder.size(); ++i) {
        const Event e = kEventsInNumberOrder[i];
        EXPECT_EQ(eventNumber(e), static_cast<int>(i) + 1);
        EXPECT_EQ(eventNamed(eventName(e)), e);
        EXPECT_EQ(eventOfNumber(eventNumber(e)), e);
        numbers.insert(eventNumber(e));
    }
    EXPECT_EQ(numbers.size(), 15u);
    EXPECT_EQ(read.size(), 15u);
    EXPECT_EQ(kEventsInReadOrder.back(), Event::onLoad);
    EXPECT_EQ(eventNamed("onsubmit"), std::nullopt);
    EXPECT_EQ(eventNamed(""), std::nullopt);
    EXPECT_EQ(eventOfNumber(0), std::nullopt);
    EXPECT_EQ(eventOfNumber(16), std::nullopt);
}

}  // namespace
}  // namespace qa::scene
