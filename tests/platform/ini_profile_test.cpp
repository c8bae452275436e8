#include "platform/ini_profile.h"

#include "platform/gbk_text.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

using namespace std::string_literals;

namespace tarnis {
namespace {

using test::TempFolder;

struct ReadCase {
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::string expected;
};

class IniRead : public testing::TestWithParam<ReadCase> {};

// Every case goes through a real file as well as through the bytes.
TEST_P(IniRead, FindsTheValue) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(profileStringIn(c.file, c.section, c.key), c.expected);
    TempFolder folder;
    folder.write("ZELM.ini", c.file);
    EXPECT_EQ(readProfileString(c.section, c.key, folder.file("ZELM.ini")), c.expected);
}

const std::string kSection = "ZELM";

INSTANTIATE_TEST_SUITE_P(
    Fixtures, IniRead,
    testing::Values(
        ReadCase{"Plain", "[ZELM]\r\nk=v\r\n", kSection, "k", "v"},
        ReadCase{"LastLineWithoutEnd", "[ZELM]\r\nk=v", kSection, "k", "v"},
        ReadCase{"LoneLineFeeds", "[ZELM]\nk=v\n", kSection, "k", "v"},
        ReadCase{"SectionAndKeyIgnoreAsciiCase", "[zElM]\r\nKEY=v\r\n", kSection, "key", "v"},
        ReadCase{"GbkKey", "[ZELM]\r\n"s + "保存下载文件夹路径"_gbk + "=/home/下载"_gbk + "\r\n",
                 kSection, "保存下载文件夹路径"_gbk, "/home/下载"_gbk},
        // 0x81 0x41 and 0x81 0x61 are two characters, not two cases of one.
        ReadCase{"TrailBytesAreNotCaseFolded", "[ZELM]\r\n\x81\x61=v\r\n", kSection, "\x81\x41",
                 ""},
        ReadCase{"BlanksTrimmed", "[ZELM]\r\n  k \t=  a b \t\r\n", kSection, "k", "a b"},
        ReadCase{"SectionNameBlanksTrimmed", "  [ ZELM ]  \r\nk=v\r\n", kSection, "k", "v"},
        ReadCase{"ValueAfterFirstEquals", "[ZELM]\r\nk==a=b\r\n", kSection, "k", "=a=b"},
        ReadCase{"EmptyValue", "[ZELM]\r\nk=\r\n", kSection, "k", ""},
        ReadCase{"DoubleQuotesRemoved", "[ZELM]\r\nk=\" a \"\r\n", kSection, "k", " a "},
        ReadCase{"SingleQuotesRemoved", "[ZELM]\r\nk='a'\r\n", kSection, "k", "a"},
        ReadCase{"OnePairOnly", "[ZELM]\r\nk=\"\"a\"\"\r\n", kSection, "k", "\"a\""},
        ReadCase{"MismatchedQuotesKept", "[ZELM]\r\nk=\"a'\r\n", kSection, "k", "\"a'"},
        ReadCase{"LoneQuoteKept", "[ZELM]\r\nk=\"\r\n", kSection, "k", "\""},
        ReadCase{"QuotePairOfNothing", "[ZELM]\r\nk=\"\"\r\n", kSection, "k", ""},
        ReadCase{"MissingSection", "[OTHER]\r\nk=v\r\n", kSection, "k", ""},
        ReadCase{"MissingKey", "[ZELM]\r\nj=v\r\n", kSection, "k", ""},
        ReadCase{"KeyInALaterSection", "[ZELM]\r\nj=1\r\n[B]\r\nk=v\r\n", kSection, "k", ""},
        ReadCase{"KeyBeforeAnySection", "k=v\r\n[ZELM]\r\n", kSection, "k", ""},
        ReadCase{"FirstKeyWins", "[ZELM]\r\nk=1\r\nk=2\r\n", kSection, "k", "1"},
        ReadCase{"FirstSectionWins", "[ZELM]\r\nk=1\r\n[ZELM]\r\nk=2\r\n", kSection, "k", "1"},
        ReadCase{"LaterDuplicateSectionIsNotSearched", "[ZELM]\r\nj=1\r\n[ZELM]\r\nk=2\r\n",
                 kSection, "k", ""},
        ReadCase{"CommentIsNoEntry", "[ZELM]\r\n;k=1\r\n k=2\r\n", kSection, "k", "2"},
        ReadCase{"LineWithoutEqualsIsNoEntry", "[ZELM]\r\nk\r\nk=2\r\n", kSection, "k", "2"},
        ReadCase{"UnclosedSectionIsNoSection", "[ZELM\r\nk=1\r\n", kSection, "k", ""},
        ReadCase{"Utf8BomSkipped", "\xEF\xBB\xBF[ZELM]\r\nk=v\r\n", kSection, "k", "v"},
        // A trail byte 0x5D is no ']'; 0x81 0x5D is one character of the section name.
        ReadCase{"TrailByteLikeBracket", "[A\x81]]\r\nk=v\r\n", "A\x81]", "k", "v"},
        ReadCase{"ValueEndingInLeadByte", "[ZELM]\r\nk=a\x81\r\n", kSection, "k", "a\x81"},
        ReadCase{"CrCrLfValue", "[ZELM]\r\nk=v\r\r\n", kSection, "k", "v"},
        ReadCase{"EmptyFile", "", kSection, "k", ""},
        ReadCase{"BinaryJunk", std::string("\0\xFF\x1A[\n]=\r\x81", 9), kSection, "k", ""},
        ReadCase{"LongestValueWhole", "[ZELM]\r\nk=" + std::string(10239, 'a'), kSection, "k",
                 std::string(10239, 'a')},
        ReadCase{"LongerValueCut", "[ZELM]\r\nk=" + std::string(10239, 'a') + "bc\r\n", kSection,
                 "k", std::string(10239, 'a')}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(IniRead, MissingOrUnreadableFileGivesEmpty) {
    TempFolder folder;
    folder.write("plain", "[ZELM]\r\nk=v\r\n");
    ASSERT_EQ(::mkdir(folder.file("dir").c_str(), 0755), 0);
    EXPECT_EQ(readProfileString(kSection, "k", folder.file("missing.ini")), "");
    EXPECT_EQ(readProfileString(kSection, "k", folder.file("plain/ZELM.ini")), "");
    EXPECT_EQ(readProfileString(kSection, "k", folder.file("dir")), "");
    EXPECT_EQ(readProfileString(kSection, "k", ""), "");
}

TEST(IniRead, ValueOfMegabytesIsCut) {
    const std::string file = "[ZELM]\r\nk=" + std::string(8 * 1024 * 1024, 'x') + "\r\n";
    EXPECT_EQ(profileStringIn(file, kSection, "k").size(), kProfileValueMaxBytes);
}

struct WriteCase {
    const char* name;
    std::string before;
    std::string key;
    std::string value;
    std::string after;
};

class IniWrite : public testing::TestWithParam<WriteCase> {};

// The writer's bytes are checked exactly, then read back through a real file.
TEST_P(IniWrite, ChangesOnlyTheEntry) {
    const WriteCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.file("ZELM.ini");
    folder.write("ZELM.ini", c.before);
    ASSERT_TRUE(writeProfileString(kSection, c.key, c.value, path));
    EXPECT_EQ(folder.read("ZELM.ini"), c.after);
    EXPECT_EQ(readProfileString(kSection, c.key, path), c.value);
    EXPECT_EQ(withProfileString(c.before, kSection, c.key, c.value), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, IniWrite,
    testing::Values(
        WriteCase{"EmptyFile", "", "k", "v", "[ZELM]\r\nk=v\r\n"},
        WriteCase{"SecondKeyAfterFirst", "[ZELM]\r\nk=v\r\n", "j", "w", "[ZELM]\r\nk=v\r\nj=w\r\n"},
        WriteCase{"ReplacedWhereItStands", "[A]\r\nk=a\r\n[ZELM]\r\nK = old\r\nj=2\r\n", "k", "new",
                  "[A]\r\nk=a\r\n[ZELM]\r\nk=new\r\nj=2\r\n"},
        WriteCase{"AddedAtEndOfSection", "[ZELM]\r\na=1\r\n\r\n[B]\r\nb=2\r\n", "k", "v",
                  "[ZELM]\r\na=1\r\nk=v\r\n\r\n[B]\r\nb=2\r\n"},
        WriteCase{"SectionAddedAtEndOfFile", "[B]\r\nb=2\r\n", "k", "v",
                  "[B]\r\nb=2\r\n[ZELM]\r\nk=v\r\n"},
        WriteCase{"LastLineGetsItsEnd", "[B]\r\nb=2", "k", "v", "[B]\r\nb=2\r\n[ZELM]\r\nk=v\r\n"},
        WriteCase{"SectionLineAtEndOfFile", "[ZELM]", "k", "v", "[ZELM]\r\nk=v\r\n"},
        WriteCase{"OtherLineEndsUntouched", "[ZELM]\nk=old\nx=1\n", "k", "v",
                  "[ZELM]\nk=v\r\nx=1\n"},
        WriteCase{"CommentsAndOddLinesKept", "; note\r\n[ZELM]\r\nno equals\r\n;k=c\r\n", "k", "v",
                  "; note\r\n[ZELM]\r\nno equals\r\n;k=c\r\nk=v\r\n"},
        WriteCase{"FirstOfDuplicateKeys", "[ZELM]\r\nk=1\r\nk=2\r\n", "k", "v",
                  "[ZELM]\r\nk=v\r\nk=2\r\n"},
        WriteCase{"FirstOfDuplicateSections", "[ZELM]\r\na=1\r\n[ZELM]\r\nk=2\r\n", "k", "v",
                  "[ZELM]\r\na=1\r\nk=v\r\n[ZELM]\r\nk=2\r\n"},
        WriteCase{"BomKept", "\xEF\xBB\xBF[ZELM]\r\nk=1\r\n", "k", "v",
                  "\xEF\xBB\xBF[ZELM]\r\nk=v\r\n"},
        WriteCase{"GbkByteForByte", "", "下载文件地址路径"_gbk, "/srv/下载/ZELM.txt"_gbk,
                  "[ZELM]\r\n" + "下载文件地址路径"_gbk + "=" + "/srv/下载/ZELM.txt"_gbk + "\r\n"},
        WriteCase{"InnerBlanksAndSlashKept", "", "k", "/a b/c/", "[ZELM]\r\nk=/a b/c/\r\n"},
        WriteCase{"EmptyValue", "[ZELM]\r\nk=1\r\n", "k", "", "[ZELM]\r\nk=\r\n"},
        // Quotes only where reading would otherwise change the value.
        WriteCase{"TrailingBlankQuoted", "", "k", "/a ", "[ZELM]\r\nk=\"/a \"\r\n"},
        WriteCase{"LeadingTabQuoted", "", "k", "\t/a", "[ZELM]\r\nk=\"\t/a\"\r\n"},
        WriteCase{"QuotedValueQuotedAgain", "", "k", "'a'", "[ZELM]\r\nk=\"'a'\"\r\n"},
        WriteCase{"LoneQuoteUnquoted", "", "k", "\"a", "[ZELM]\r\nk=\"a\r\n"},
        WriteCase{"BinaryJunkBefore", std::string("\x81\0\x1A\n", 4), "k", "v",
                  std::string("\x81\0\x1A\n", 4) + "[ZELM]\r\nk=v\r\n"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

TEST(IniWrite, CreatesAMissingFileWithNoByteOrderMark) {
    TempFolder folder;
    const std::string path = folder.file("ZELM.ini");
    ASSERT_TRUE(writeProfileString(kSection, "k", "v", path));
    ASSERT_TRUE(writeProfileString(kSection, "j", "w", path));
    ASSERT_TRUE(writeProfileString(kSection, "k", "x", path));
    EXPECT_EQ(folder.read("ZELM.ini"), "[ZELM]\r\nk=x\r\nj=w\r\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"ZELM.ini"});
}

// Each of these would break the file's structure or could never be read back as written.
TEST(IniWrite, RefusesEntriesTheFormatCannotHold) {
    struct Case {
        std::string section, key, value;
    };
    const Case cases[] = {
        {"ZELM", "k", "a\r\n[ZELM]\r\nj=forged"},
        {"ZELM", "k", "a\nb"},
        {"ZELM", "k", std::string("a\0b", 3)},
        {"ZELM", "", "v"},
        {"ZELM", "  ", "v"},
        {"", "k", "v"},
        {"ZE]LM", "k", "v"},
        {"ZELM", "a=b", "v"},
        {"ZELM", ";k", "v"},
        {"ZELM", "[k", "v"},
        {"ZELM", "k\x81", "v"},
        {"ZELM\x81", "k", "v"},
    };
    TempFolder folder;
    const std::string before = "[ZELM]\r\nk=old\r\n";
    folder.write("ZELM.ini", before);
    for (const Case& c : cases) {
        EXPECT_FALSE(withProfileString(before, c.section, c.key, c.value)) << c.key << c.value;
        EXPECT_FALSE(writeProfileString(c.section, c.key, c.value, folder.file("ZELM.ini")));
    }
    EXPECT_EQ(folder.read("ZELM.ini"), before);
}

TEST(IniWrite, FailsSilentlyWhereNoFileCanBe) {
    TempFolder folder;
    folder.write("plain", "keep");
    ASSERT_EQ(::mkdir(folder.file("ZELM.ini").c_str(), 0755), 0);
    EXPECT_FALSE(writeProfileString(kSection, "k", "v", folder.file("plain/ZELM.ini")));
    EXPECT_FALSE(writeProfileString(kSection, "k", "v", folder.file("ZELM.ini")));
    EXPECT_EQ(folder.read("plain"), "keep");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"ZELM.ini", "plain"}));
}

} // namespace
} // namespace tarnis
