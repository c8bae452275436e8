#include "platform/file_size.h"

#include "platform/gbk_text.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnis {
namespace {

TEST(FileSize, ReportsTheSizeOfTheEntry) {
    test::TempFolder folder;
    folder.write("empty", "");
    folder.write("five", "12345");
    folder.write(gbkToUtf8("下载.zip"_gbk), "abc");
    ASSERT_EQ(::mkdir(folder.file("sub").c_str(), 0755), 0);

    struct Case {
        std::string gbkPath;
        std::int64_t size;
    };
    const Case cases[] = {
        {"", -1},
        {folder.file("missing"), -1},
        {folder.file("five/through-a-file"), -1},
        {folder.file("empty"), 0},
        {folder.file("five"), 5},
        {folder.path() + "/" + "下载.zip"_gbk, 3},
        {folder.file("sub"), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fileSizeOf(c.gbkPath), c.size) << c.gbkPath;
}

// Sizes past 4 GiB come back whole; the caller decides how to show them.
TEST(FileSize, CarriesSizesBeyondThirtyTwoBits) {
    test::TempFolder folder;
    const std::string path = folder.file("sparse");
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const off_t size = (off_t{5} << 30) + 17;
    const bool sized = ::ftruncate(fd, size) == 0;
    ::close(fd);
    ASSERT_TRUE(sized);
    EXPECT_EQ(fileSizeOf(path), static_cast<std::int64_t>(size));
}

} // namespace
} // namespace tarnis
