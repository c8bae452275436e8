#include "platform/atomic_file.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarnis {
namespace {

using test::TempFolder;
using Entries = std::vector<std::string>;

TEST(AtomicFile, CreatesAndReplacesWholly) {
    TempFolder folder;
    const std::string path = folder.file("list.txt");
    ASSERT_TRUE(saveFileAtomically(path, "a long first content\r\n"));
    EXPECT_EQ(folder.read("list.txt"), "a long first content\r\n");
    ASSERT_TRUE(saveFileAtomically(path, "short"));
    EXPECT_EQ(folder.read("list.txt"), "short");
    ASSERT_TRUE(saveFileAtomically(path, ""));
    EXPECT_EQ(folder.read("list.txt"), "");
    EXPECT_EQ(folder.entries(), Entries{"list.txt"}) << "no temporary file is left behind";
}

TEST(AtomicFile, KeepsTheModeOfTheFileItReplaces) {
    TempFolder folder;
    folder.write("settings", "old");
    ASSERT_EQ(::chmod(folder.file("settings").c_str(), 0640), 0);
    ASSERT_TRUE(saveFileAtomically(folder.file("settings"), "new"));
    struct stat entry {};
    ASSERT_EQ(::stat(folder.file("settings").c_str(), &entry), 0);
    EXPECT_EQ(entry.st_mode & 0777, 0640u);
}

TEST(AtomicFile, ALinkStaysALinkAndItsTargetIsReplaced) {
    TempFolder folder;
    folder.write("real", "old");
    ASSERT_EQ(::symlink(folder.file("real").c_str(), folder.file("link").c_str()), 0);
    ASSERT_TRUE(saveFileAtomically(folder.file("link"), "new"));
    EXPECT_EQ(folder.read("real"), "new");
    struct stat entry {};
    ASSERT_EQ(::lstat(folder.file("link").c_str(), &entry), 0);
    EXPECT_TRUE(S_ISLNK(entry.st_mode));
    EXPECT_EQ(folder.entries(), (Entries{"link", "real"}));
}

// Runs as root in CI, where permission bits stop nothing: a path that runs through a regular
// file, or a folder standing where the file should be, cannot be written by anyone.
TEST(AtomicFile, FailsWithoutTouchingAnythingWhenThePlaceCannotHoldAFile) {
    TempFolder folder;
    folder.write("plain", "keep");
    ASSERT_EQ(::mkdir(folder.file("dir").c_str(), 0755), 0);
    folder.write("dir/inside", "x");

    EXPECT_FALSE(saveFileAtomically(folder.file("plain/ZELM.txt"), "new"));
    EXPECT_FALSE(saveFileAtomically(folder.file("dir"), "new"));
    EXPECT_FALSE(saveFileAtomically("", "new"));

    EXPECT_EQ(folder.read("plain"), "keep");
    EXPECT_EQ(folder.read("dir/inside"), "x");
    EXPECT_EQ(folder.entries(), (Entries{"dir", "plain"}));
}

// A full disk, made real with a file-size limit (which binds root too): the write of the
// new content fails part way, and the old file must still be there, whole.
TEST(AtomicFile, AFailedWriteKeepsThePreviousFileWhole) {
    TempFolder folder;
    const std::string old = "http://127.0.0.1/one\r\nhttp://127.0.0.1/two\r\n";
    folder.write("ZELM.txt", old);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool savedOk = saveFileAtomically(folder.file("ZELM.txt"), std::string(64 * 1024, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(savedOk);
    EXPECT_EQ(folder.read("ZELM.txt"), old);
    EXPECT_EQ(folder.entries(), Entries{"ZELM.txt"});
}

// Permission bits bind only an unprivileged user, so under root the save runs in a child
// that has given up root first.
TEST(AtomicFile, AReadOnlyFileKeepsItsContent) {
    TempFolder folder;
    ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0); // only the file itself is locked
    folder.write("locked", "keep");
    ASSERT_EQ(::chmod(folder.file("locked").c_str(), 0444), 0);
    const std::string path = folder.file("locked");

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        if (::access(path.c_str(), R_OK) != 0) // the folder must be reachable to prove anything
            ::_exit(3);
        ::_exit(saveFileAtomically(path, "new") ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: the save went through, 2: could not drop root, 3: file not reachable";
    EXPECT_EQ(folder.read("locked"), "keep");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"locked"});
}

} // namespace
} // namespace tarnis
