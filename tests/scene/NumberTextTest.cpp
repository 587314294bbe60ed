// The text-to-number rules of attributes and command words, and conversions that never overflow.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene/NumberText.h"

namespace qa::scene {
namespace {

TEST(NumberTextDouble, LongestDecimalPrefix) {
    EXPECT_EQ(textToDouble("12px"), 12.0);
    EXPECT_EQ(textToDouble("3.5e1"), 35.0);
    EXPECT_EQ(textToDouble("abc"), 0.0);
    EXPECT_EQ(textToDouble("  -7.25"), -7.25);
    EXPECT_EQ(textToDouble(".5"), 0.5);
    EXPECT_EQ(textToDouble("5e"), 5.0);
    EXPECT_EQ(textToDouble("-"), 0.0);
    EXPECT_EQ(textToDouble("0x10"), 0.0);
}

TEST(NumberTextDouble, HugeValuesNarrowToInfinityNotUndefined) {
    EXPECT_TRUE(std::isinf(toFloat(textToDouble("1e300"))));
    EXPECT_TRUE(std::isinf(toFloat(textToDouble("-1e300"))));
    EXPECT_EQ(toFloat(textToDouble("1e-300")), 0.0f);
}

TEST(NumberTextInt, LeadingDigitsAndSaturation) {
    EXPECT_EQ(textToInt("42abc"), 42);
    EXPECT_EQ(textToInt("  -5"), -5);
    EXPECT_EQ(textToInt("0.5"), 0);
    EXPECT_EQ(textToInt("x"), 0);
    EXPECT_EQ(textToInt("99999999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(textToInt("-99999999999999999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST(NumberTextBool, TrueWordsAndPositiveIntegers) {
    EXPECT_TRUE(textToBool("true"));
    EXPECT_TRUE(textToBool("TRUE"));
    EXPECT_TRUE(textToBool("1"));
    EXPECT_TRUE(textToBool("2"));
    EXPECT_FALSE(textToBool("True"));
    EXPECT_FALSE(textToBool("0"));
    EXPECT_FALSE(textToBool("-1"));
    EXPECT_FALSE(textToBool("false"));
    EXPECT_FALSE(textToBool("yes"));
}

TEST(NumberTextTrunc, SaturatesAndTruncatesTowardZero) {
    EXPECT_EQ(truncToInt(2.9), 2);
    EXPECT_EQ(truncToInt(-2.9), -2);
    EXPECT_EQ(truncToInt(1e20), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(truncToInt(-1e20), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(truncToInt(std::nan("")), 0);
}

}  // namespace
}  // namespace qa::scene
