#include "platform/program_directory.h"

#include "platform/gbk_text.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnis {
namespace {

struct CutCase {
    const char* name;
    std::string programFile;
    std::string directory;
};

class ProgramDirectoryCut : public testing::TestWithParam<CutCase> {};

TEST_P(ProgramDirectoryCut, CutsAtTheLastSeparatorWalkingCharacters) {
    EXPECT_EQ(directoryOfProgramFile(GetParam().programFile), GetParam().directory);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProgramDirectoryCut,
    testing::Values(CutCase{"Plain", "/opt/tarnis/tarnis", "/opt/tarnis"},
                    CutCase{"AtTheRoot", "/tarnis", ""}, CutCase{"NoSeparator", "tarnis", ""},
                    CutCase{"ChineseFolders", "/home/用户/下载器/tarnis"_gbk,
                            "/home/用户/下载器"_gbk},
                    // 0x81 takes the '/' after it as its second byte: not a separator.
                    CutCase{"LeadByteBeforeSlash", "/opt/a\x81/b", "/opt"},
                    CutCase{"TrailBackslashInName", "/opt/\x81\x5C/tarnis", "/opt/\x81\x5C"},
                    CutCase{"LoneLeadAtEnd", "/opt/x\x81", "/opt"}),
    [](const testing::TestParamInfo<CutCase>& info) { return info.param.name; });

TEST(ProgramDirectory, IsTheFolderOfTheRunningProgram) {
    const std::string file = programFilePath();
    const std::string directory = programDirectory();
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file.substr(0, directory.size() + 1), directory + "/");
    EXPECT_NE(file.find("tarnis_platform_tests"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(gbkToUtf8(directory)));
    EXPECT_NE(directory.back(), '/');
}

class EnterProgramDirectory : public testing::Test {
protected:
    EnterProgramDirectory() : m_saved(std::filesystem::current_path()) {}
    ~EnterProgramDirectory() override { std::filesystem::current_path(m_saved); }

private:
    std::filesystem::path m_saved;
};

TEST_F(EnterProgramDirectory, MakesItTheCurrentDirectory) {
    test::TempFolder folder;
    const std::string chinese = folder.file(gbkToUtf8("程序"_gbk));
    ASSERT_EQ(::mkdir(chinese.c_str(), 0755), 0);
    EXPECT_TRUE(enterProgramDirectory(folder.path() + "/" + "程序"_gbk));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(chinese));
}

TEST_F(EnterProgramDirectory, EmptyDirectoryMeansTheRoot) {
    EXPECT_TRUE(enterProgramDirectory(""));
    EXPECT_EQ(std::filesystem::current_path(), "/");
}

TEST_F(EnterProgramDirectory, FolderThatIsNotThereLeavesTheCurrentDirectory) {
    test::TempFolder folder;
    folder.write("file", "x");
    const auto before = std::filesystem::current_path();
    EXPECT_FALSE(enterProgramDirectory(folder.file("file/sub")));
    EXPECT_EQ(std::filesystem::current_path(), before);
}

} // namespace
} // namespace tarnis
