#include "platform/gbk_text.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace tarnis {
namespace {

constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

struct TextPair {
    const char* name;
    std::string utf8;
    std::string gbk;
};

class GbkRoundTrip : public testing::TestWithParam<TextPair> {};

TEST_P(GbkRoundTrip, ConvertsBothWaysByteForByte) {
    const TextPair& pair = GetParam();
    EXPECT_EQ(utf8ToGbk(pair.utf8), pair.gbk);
    EXPECT_EQ(gbkToUtf8(pair.gbk), pair.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GbkRoundTrip,
    testing::Values(TextPair{"Empty", "", ""},
                    TextPair{"Ascii", "http://a/b.zip", "http://a/b.zip"},
                    TextPair{"Chinese", "中文下载", "\xD6\xD0\xCE\xC4\xCF\xC2\xD4\xD8"},
                    TextPair{"TrailByteIsBackslash", "乗", "\x81\x5C"},
                    TextPair{"MixedWithLineEnds", "A中\r\n", "A\xD6\xD0\r\n"},
                    // Outside GBK: GB18030 carries it in four bytes, so any file name survives.
                    TextPair{"OutsideGbkEmoji", "😀", "\x94\x39\xFC\x36"}),
    [](const testing::TestParamInfo<TextPair>& info) { return info.param.name; });

TEST(GbkText, ProgramTextsSurviveTheRoundTrip) {
    for (const char* text : {"等候指令……", "下载完毕!", "信息：", "正在下载...已完成：",
                             "下载文件地址路径", "保存下载文件夹路径"}) {
        const std::string gbk = utf8ToGbk(text);
        EXPECT_NE(gbk, text);
        EXPECT_EQ(gbkToUtf8(gbk), text);
    }
}

TEST(GbkText, LiteralIsTheGbkForm) {
    EXPECT_EQ("中文"_gbk, "\xD6\xD0\xCE\xC4");
    EXPECT_EQ("ZELM"_gbk, "ZELM");
}

struct InvalidGbk {
    const char* name;
    std::string gbk;
    std::string utf8;
};

class GbkInvalidBytes : public testing::TestWithParam<InvalidGbk> {};

// Each bad byte becomes one U+FFFD and the text after it is kept.
TEST_P(GbkInvalidBytes, BecomeReplacementCharacters) {
    EXPECT_EQ(gbkToUtf8(GetParam().gbk), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, GbkInvalidBytes,
    testing::Values(InvalidGbk{"Byte80",
                               "a\x80"
                               "b",
                               "a" + std::string(kUtf8Replacement) + "b"},
                    InvalidGbk{"ByteFF", "\xFF", std::string(kUtf8Replacement)},
                    InvalidGbk{"TruncatedAtEnd", "ab\xD6", "ab" + std::string(kUtf8Replacement)},
                    InvalidGbk{"LeadBeforeLineFeed", "a\x81\nb",
                               "a" + std::string(kUtf8Replacement) + "\nb"},
                    InvalidGbk{"NulKept", std::string("a\0b", 3), std::string("a\0b", 3)}),
    [](const testing::TestParamInfo<InvalidGbk>& info) { return info.param.name; });

TEST(GbkText, InvalidUtf8BecomesTheGbkReplacementCharacter) {
    const std::string gbk = utf8ToGbk("a\xC3(b\xFF");
    EXPECT_EQ(gbkToUtf8(gbk),
              "a" + std::string(kUtf8Replacement) + "(b" + std::string(kUtf8Replacement));
}

TEST(GbkText, ConvertsLongRunsOfArbitraryBytesWithoutFailing) {
    std::string bytes(64 * 1024, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 131 + 7) % 256);
    const std::string utf8 = gbkToUtf8(bytes);
    EXPECT_FALSE(utf8.empty());
    EXPECT_FALSE(utf8ToGbk(utf8).empty());
}

// Each thread has its own converters; sharing one would mix their shift state.
TEST(GbkText, ConvertsOnSeveralThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int i = 0; i < 500; ++i) {
                if (gbkToUtf8(utf8ToGbk("下载完毕!")) != "下载完毕!")
                    ++wrong[static_cast<std::size_t>(t)];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

struct WalkCase {
    const char* name;
    std::string text;
    char wanted;
    std::size_t expected;
};

class CharacterWalk : public testing::TestWithParam<WalkCase> {};

TEST_P(CharacterWalk, FindsTheLastCharacterNotATrailByte) {
    EXPECT_EQ(findLastAsciiChar(GetParam().text, GetParam().wanted), GetParam().expected);
}

constexpr std::size_t npos = std::string_view::npos;

INSTANTIATE_TEST_SUITE_P(
    Texts, CharacterWalk,
    testing::Values(WalkCase{"Plain", "a/b/c", '/', 3}, WalkCase{"None", "abc", '/', npos},
                    WalkCase{"Empty", "", '/', npos},
                    // 乗 is 0x81 0x5C: its trail byte is a backslash, and must not count.
                    WalkCase{"TrailBackslash", "a\\\x81\x5C", '\\', 1},
                    WalkCase{"TrailBackslashOnly", "\x81\x5C", '\\', npos},
                    // By the walking rule a lead byte takes the next byte along, even '/'.
                    WalkCase{"LeadThenSlash", "a/\x81/", '/', 1},
                    WalkCase{"LoneLeadAtEnd", "a/b\x81", '/', 1},
                    WalkCase{"SlashAfterPair", "\x81\x5C/", '/', 2}),
    [](const testing::TestParamInfo<WalkCase>& info) { return info.param.name; });

TEST(GbkText, NextCharPosStepsOverPairsAndStopsAtTheEnd) {
    const std::string_view text = "a\xD6\xD0\x81";
    EXPECT_EQ(nextCharPos(text, 0), 1u);
    EXPECT_EQ(nextCharPos(text, 1), 3u);
    EXPECT_EQ(nextCharPos(text, 3), 4u); // lone lead byte at the end
    EXPECT_TRUE(isLeadByte('\x80'));
    EXPECT_TRUE(isLeadByte('\xFF'));
    EXPECT_FALSE(isLeadByte('\x7F'));
}

} // namespace
} // namespace tarnis
