#include "download/local_file.h"
#include "download/write_buffer.h"

#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tarnis {
namespace {

using test::readWholeFile;
using test::TempDir;
using test::writeWholeFile;

class LocalFileTest : public ::testing::Test {
protected:
    TempDir m_dir;
    TempDir m_outside;
    LocalFolder m_folder{m_dir.path()};
};

TEST_F(LocalFileTest, CreatesOnlyNewFiles) {
    writeWholeFile(m_dir.file("taken.bin"), "old");
    LocalFile file;
    EXPECT_EQ(file.createNew(m_folder, "taken.bin"), LocalFile::OpenResult::NameTaken);
    EXPECT_EQ(readWholeFile(m_dir.file("taken.bin")), "old");
    EXPECT_EQ(file.createNew(m_folder, "new.bin"), LocalFile::OpenResult::Opened);
    EXPECT_EQ(m_folder.entrySize("taken.bin").value_or(-1), 3);
    EXPECT_FALSE(m_folder.entrySize("missing.bin"));
}

TEST_F(LocalFileTest, NeverWritesThroughAPlantedLink) {
    const std::string target = m_outside.file("victim.txt");
    writeWholeFile(target, "precious");
    ASSERT_EQ(::symlink(target.c_str(), m_dir.file("link.bin").c_str()), 0);
    ASSERT_EQ(::symlink(m_outside.file("absent").c_str(), m_dir.file("dangling.bin").c_str()), 0);

    LocalFile file;
    EXPECT_EQ(file.createNew(m_folder, "link.bin"), LocalFile::OpenResult::NameTaken);
    EXPECT_EQ(file.createNew(m_folder, "dangling.bin"), LocalFile::OpenResult::NameTaken);
    EXPECT_EQ(file.openExisting(m_folder, "link.bin"), LocalFile::OpenResult::Failed);
    EXPECT_EQ(file.openExisting(m_folder, "dangling.bin"), LocalFile::OpenResult::Failed);
    EXPECT_EQ(readWholeFile(target), "precious");
    EXPECT_FALSE(std::filesystem::exists(m_outside.file("absent")));
}

TEST_F(LocalFileTest, AllocatesWritesAndCuts) {
    LocalFile file;
    ASSERT_EQ(file.createNew(m_folder, "data.bin"), LocalFile::OpenResult::Opened);
    ASSERT_TRUE(file.allocate(1 << 20));
    EXPECT_EQ(std::filesystem::file_size(m_dir.file("data.bin")), 1u << 20);
    ASSERT_TRUE(file.writeAt("abc", 3, 0));
    file.cutTo(3);
    file.close();
    EXPECT_EQ(readWholeFile(m_dir.file("data.bin")), "abc");
}

TEST_F(LocalFileTest, RefusesASizeTheDiskCannotHold) {
    LocalFile file;
    ASSERT_EQ(file.createNew(m_folder, "huge.bin"), LocalFile::OpenResult::Opened);
    EXPECT_FALSE(file.allocate(std::int64_t{1} << 60));
    EXPECT_FALSE(file.error().empty());
    file.discardCreated(m_folder);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("huge.bin")));
}

TEST_F(LocalFileTest, ReusedFileIsResizedToTheNewDownload) {
    writeWholeFile(m_dir.file("old.bin"), std::string(1000, 'x'));
    LocalFile file;
    ASSERT_EQ(file.openExisting(m_folder, "old.bin"), LocalFile::OpenResult::Opened);
    ASSERT_TRUE(file.allocate(10));
    file.close();
    EXPECT_EQ(readWholeFile(m_dir.file("old.bin")), std::string(10, '\0'));
}

TEST_F(LocalFileTest, WriteBufferKeepsEveryByteInItsPlace) {
    LocalFile file;
    ASSERT_EQ(file.createNew(m_folder, "buffered.bin"), LocalFile::OpenResult::Opened);
    ASSERT_TRUE(file.allocate(40));
    WriteBuffer buffer(8);
    ASSERT_TRUE(buffer.append(file, "abc", 3, 0));
    ASSERT_TRUE(buffer.append(file, "def", 3, 3));
    ASSERT_TRUE(buffer.append(file, "ghijklmnop", 10, 6)); // larger than the buffer
    ASSERT_TRUE(buffer.append(file, "XY", 2, 30));         // another run
    ASSERT_TRUE(buffer.append(file, "qr", 2, 16));
    ASSERT_TRUE(buffer.flush(file));
    file.close();
    std::string expected =
        "abcdefghijklmnopqr" + std::string(12, '\0') + "XY" + std::string(8, '\0');
    EXPECT_EQ(readWholeFile(m_dir.file("buffered.bin")), expected);
}

} // namespace
} // namespace tarnis
