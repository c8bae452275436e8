#include "settings/url_list_file.h"

#include "platform/gbk_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnis {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

struct LineCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

class UrlListLines : public testing::TestWithParam<LineCase> {};

TEST_P(UrlListLines, ReadsTheLinesByteForByte) {
    EXPECT_EQ(readUrlListLines(GetParam().bytes), GetParam().lines);
}

// The file arrives in chunks of any size; every split must give the same lines, including
// one between a lead byte and its partner.
TEST_P(UrlListLines, GivesTheSameLinesForEverySplitOfTheBytes) {
    const std::string& bytes = GetParam().bytes;
    if (bytes.size() > 256)
        return; // the long fixtures are split by the byte-wise case below
    for (std::size_t split = 0; split <= bytes.size(); ++split) {
        UrlListReader reader;
        reader.feed(std::string_view(bytes).substr(0, split));
        reader.feed(std::string_view(bytes).substr(split));
        EXPECT_EQ(reader.finish(), GetParam().lines) << "split at " << split;
    }
}

TEST_P(UrlListLines, GivesTheSameLinesFedByteByByte) {
    UrlListReader reader;
    for (char byte : GetParam().bytes)
        reader.feed(std::string_view(&byte, 1));
    EXPECT_EQ(reader.finish(), GetParam().lines);
}

const std::string kMegabyteLine(3 * 1024 * 1024, 'x');

INSTANTIATE_TEST_SUITE_P(
    Fixtures, UrlListLines,
    testing::Values(
        LineCase{"Empty", "", {}}, LineCase{"OneLine", "A\r\n", {"A"}},
        LineCase{"EmptyLineSkippedLastWithoutEnd", "A\r\n\r\nB", {"A", "B"}},
        LineCase{"LoneLineFeeds", "A\nB\n", {"A", "B"}},
        LineCase{"CrCrLfKeepsOneCr", "A\r\r\nB\r\n", {"A\r", "B"}},
        LineCase{"CrInsideStays", "A\rB\r\n", {"A\rB"}},
        LineCase{"CrAtEndOfFileRemoved", "A\r", {"A"}}, LineCase{"OnlyLineEnds", "\r\n\n\r\n", {}},
        LineCase{"BlanksOnlyKept", "   \r\n\tA \r\n", {"   ", "\tA "}},
        LineCase{"ByteOrderMarkStaysInFirstLine",
                 "\xEF\xBB\xBF"
                 "A\r\nB\r\n",
                 {"\xEF\xBB\xBF"
                  "A",
                  "B"}},
        LineCase{
            "GbkLine", "http://h/"s + "下载.zip"_gbk + "\r\n", {"http://h/"s + "下载.zip"_gbk}},
        LineCase{"CtrlZInThirdLine",
                 "A\r\nB\r\nC\x1A"
                 "D\r\nE\r\n",
                 {"A", "B", "C"}},
        LineCase{"CtrlZAtLineStart",
                 "A\r\n\x1A"
                 "B\r\n",
                 {"A"}},
        LineCase{"NulEndsText", "A\r\nB\0C\r\nD"s, {"A", "B"}},
        LineCase{"NulFirst", "\0A\r\n"s, {}},
        LineCase{"LeadByteBeforeNulDropped", "A\r\nB\x81\0C"s, {"A", "B"}},
        LineCase{"LeadByteTakesCtrlZ",
                 "A\x81\x1A"
                 "B\r\nC",
                 {"A\x81\x1A"
                  "B",
                  "C"}},
        LineCase{"LeadByteTakesLineFeed", "A\x81\nB\r\nC", {"A\x81\nB", "C"}},
        // 0x81 0x81 is one character, so the third 0x81 is a lead and takes the LF along.
        LineCase{"PairsCountFromTheLineStart",
                 "\x81\x81\x81\nB\r\n\x81\x81\nC",
                 {"\x81\x81\x81\nB", "\x81\x81", "C"}},
        LineCase{"TrailingLeadByteKept", "A\r\nB\x81", {"A", "B\x81"}},
        LineCase{"LeadByteAloneAtEnd", "\xFF", {"\xFF"}},
        LineCase{"MegabyteLine", kMegabyteLine + "\r\nB", {kMegabyteLine, "B"}}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST(UrlListReader, IgnoresEverythingAfterTheTextEnds) {
    UrlListReader reader;
    reader.feed("A\r\nB\x1A");
    EXPECT_TRUE(reader.ended());
    reader.feed("C\r\nD\r\n");
    EXPECT_EQ(reader.finish(), (Lines{"A", "B"}));
}

TEST(UrlList, JoinsEachItemWithCrLf) {
    EXPECT_EQ(joinUrlList({}), "");
    EXPECT_EQ(joinUrlList({"A", "", "B"}), "A\r\n\r\nB\r\n");
    EXPECT_EQ(joinUrlList({""}), "\r\n");
    EXPECT_EQ(readUrlListLines(joinUrlList({"A", "", "B", " "})), (Lines{"A", "B", " "}));
}

} // namespace
} // namespace tarnis
