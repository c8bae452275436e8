// The pictures are drawn at build time, so a rebuild must not change them: the generator run
// again into an empty folder writes the very bytes the build wrote.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace tarnis::test {
namespace {

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarnis-gifgen-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

TEST(Generator, WritesTheSameBytesOnEveryRun) {
    const TemporaryFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string command =
        std::string("'") + TARNIS_GIFGEN + "' '" + folder.path().string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const std::filesystem::path built = std::filesystem::path(TARNIS_ICON).parent_path();
    for (const char* name : {"transfer_animation.gif", "about_animation.gif", "tarnis_icon.png"}) {
        const std::string again = readAll(folder.path() / name);
        EXPECT_FALSE(again.empty()) << name;
        EXPECT_TRUE(again == readAll(built / name)) << name << " differs from the build's";
    }
    // Nothing else, such as a half-written file, is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              3);
}

TEST(Generator, FailsWithoutWritingWhenTheFolderCannotBeMade) {
    const TemporaryFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::filesystem::path blocker = folder.path() / "a-file";
    std::ofstream(blocker) << "not a folder";
    const std::string command = std::string("'") + TARNIS_GIFGEN + "' '" +
                                (blocker / "generated").string() + "' 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_EQ(readAll(blocker), "not a folder");
}

} // namespace
} // namespace tarnis::test
