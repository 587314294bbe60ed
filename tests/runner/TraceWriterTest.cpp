// The trace's strings are valid JSON whatever bytes names, scripts and file names hold.
#include <gtest/gtest.h>

#include "runner/TraceWriter.h"

namespace qa::runner {
namespace {

TEST(TraceWriterQuote, EscapesAndKeepsUtf8AndWritesOtherBytesAsCodes) {
    EXPECT_EQ(TraceWriter::quote(".\\data\\a \"b\""), "\".\\\\data\\\\a \\\"b\\\"\"");
    EXPECT_EQ(TraceWriter::quote("a\nb\tc\x01"), "\"a\\nb\\tc\\u0001\"");
    EXPECT_EQ(TraceWriter::quote("caf\xC3\xA9 \xE2\x82\xAC"), "\"caf\xC3\xA9 \xE2\x82\xAC\"");  // UTF-8 kept
    EXPECT_EQ(TraceWriter::quote("caf\xE9"), "\"caf\\u00e9\"");       // a Latin-1 byte
    EXPECT_EQ(TraceWriter::quote("\xE2\x82"), "\"\\u00e2\\u0082\"");  // a cut sequence
    EXPECT_EQ(TraceWriter::quote("\xFF\x7F"), "\"\\u00ff\\u007f\"");
}

}  // namespace
}  // namespace qa::runner
