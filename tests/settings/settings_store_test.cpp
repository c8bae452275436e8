#include "settings/settings_store.h"

#include "platform/gbk_text.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarnis {
namespace {

using namespace std::string_literals;
using test::TempFolder;
using Lines = std::vector<std::string>;

const std::string kListKey = "下载文件地址路径"_gbk;
const std::string kFolderKey = "保存下载文件夹路径"_gbk;

std::string settingsWithList(const std::string& listPath) {
    return "[ZELM]\r\n" + kListKey + "=" + listPath + "\r\n";
}

class SettingsStoreTest : public testing::Test {
protected:
    TempFolder m_folder;
    SettingsStore m_store{m_folder.path()};
};

TEST(SettingsStorePaths, AreBesideTheProgramEvenAtTheRoot) {
    EXPECT_EQ(SettingsStore("/opt/tarnis").settingsFilePath(), "/opt/tarnis/ZELM.ini");
    EXPECT_EQ(SettingsStore("/opt/tarnis").urlListFilePath(), "/opt/tarnis/ZELM.txt");
    EXPECT_EQ(SettingsStore("").settingsFilePath(), "/ZELM.ini");
    EXPECT_EQ(SettingsStore("").urlListFilePath(), "/ZELM.txt");
}

TEST_F(SettingsStoreTest, NothingSavedYetLoadsEmptyAndWritesNothing) {
    EXPECT_EQ(m_store.loadUrlLines(), Lines{});
    EXPECT_EQ(m_store.loadSaveFolder(), "");
    EXPECT_TRUE(m_folder.entries().empty());
}

TEST_F(SettingsStoreTest, SavedListHasExactBytesAndLoadsBack) {
    m_store.saveUrlList({"A", "", "B"});
    EXPECT_EQ(m_folder.read("ZELM.txt"), "A\r\n\r\nB\r\n");
    EXPECT_EQ(m_folder.read("ZELM.ini"), settingsWithList(m_store.urlListFilePath()));
    EXPECT_EQ(m_store.loadUrlLines(), (Lines{"A", "B"}));
}

TEST_F(SettingsStoreTest, EmptyListLeavesAnEmptyFile) {
    m_store.saveUrlList({"A"});
    m_store.saveUrlList({});
    EXPECT_EQ(m_folder.read("ZELM.txt"), "");
    EXPECT_EQ(m_store.loadUrlLines(), Lines{});
}

TEST_F(SettingsStoreTest, SettingsFileHoldsTheKeysInTheOrderFirstWritten) {
    m_store.saveUrlList({"http://127.0.0.1/a"});
    m_store.saveSaveFolder("/data/一"_gbk);
    m_store.saveUrlList({"http://127.0.0.1/b"});
    m_store.saveSaveFolder("/data/二"_gbk);
    EXPECT_EQ(m_folder.read("ZELM.ini"), "[ZELM]\r\n" + kListKey + "=" + m_store.urlListFilePath() +
                                             "\r\n" + kFolderKey + "=" + "/data/二"_gbk + "\r\n");
    EXPECT_EQ(m_folder.entries(), (Lines{"ZELM.ini", "ZELM.txt"})) << "no temporary files left";

    TempFolder other;
    SettingsStore folderFirst(other.path());
    folderFirst.saveSaveFolder("/x");
    folderFirst.saveUrlList({});
    EXPECT_EQ(other.read("ZELM.ini"), "[ZELM]\r\n" + kFolderKey + "=/x\r\n" + kListKey + "=" +
                                          other.file("ZELM.txt") + "\r\n");
}

TEST_F(SettingsStoreTest, FolderIsKeptExactlyAsGiven) {
    // A folder name may end in a blank or be quoted; it still comes back unchanged.
    for (const std::string& folder : {"/home/用户/下载/"_gbk, "/with blanks inside"s,
                                      "/ends in a blank "s, "'/quoted'"s, "rel"s, ""s}) {
        m_store.saveSaveFolder(folder);
        EXPECT_EQ(m_store.loadSaveFolder(), folder);
    }
}

TEST_F(SettingsStoreTest, LongFolderIsReadBackCut) {
    m_store.saveSaveFolder("/" + std::string(20000, 'f'));
    EXPECT_EQ(m_store.loadSaveFolder(), "/" + std::string(10238, 'f'));
}

TEST_F(SettingsStoreTest, ListFileElsewhereIsLoadedAndTheNextSaveComesHome) {
    TempFolder elsewhere;
    elsewhere.write("mine.txt", "http://127.0.0.1/x\r\n");
    m_folder.write("ZELM.ini", settingsWithList(elsewhere.file("mine.txt")));
    EXPECT_EQ(m_store.loadUrlLines(), Lines{"http://127.0.0.1/x"});

    m_store.saveUrlList({"http://127.0.0.1/y"});
    EXPECT_EQ(m_folder.read("ZELM.ini"), settingsWithList(m_store.urlListFilePath()));
    EXPECT_EQ(m_store.loadUrlLines(), Lines{"http://127.0.0.1/y"});
    EXPECT_EQ(elsewhere.read("mine.txt"), "http://127.0.0.1/x\r\n");
}

TEST_F(SettingsStoreTest, RelativeListPathMeansTheProgramDirectory) {
    m_folder.write("list.txt", "A\r\n");
    m_folder.write("ZELM.ini", settingsWithList("list.txt"));
    EXPECT_EQ(m_store.loadUrlLines(), Lines{"A"});
}

TEST_F(SettingsStoreTest, ListFileNamedByAGbkPathIsFound) {
    ASSERT_EQ(::mkdir(m_folder.file("列表").c_str(), 0755), 0);
    m_folder.write("列表/地址.txt", "A\r\n");
    m_folder.write("ZELM.ini", settingsWithList(m_folder.path() + "/列表/地址.txt"_gbk));
    EXPECT_EQ(m_store.loadUrlLines(), Lines{"A"});
}

TEST_F(SettingsStoreTest, ListThatCannotBeOpenedLoadsEmptyAndIsNotCreated) {
    m_folder.write("plain", "x");
    ASSERT_EQ(::mkdir(m_folder.file("dir").c_str(), 0755), 0);
    for (const std::string& named :
         {m_folder.file("missing.txt"), m_folder.file("plain/x.txt"), m_folder.file("dir")}) {
        m_folder.write("ZELM.ini", settingsWithList(named));
        EXPECT_EQ(m_store.loadUrlLines(), Lines{}) << named;
    }
    EXPECT_EQ(m_folder.entries(), (Lines{"ZELM.ini", "dir", "plain"}));
}

// The list is only read, so one the user made read-only loads like any other. Root opens
// anything, so the load runs in a child that has given up root first.
TEST_F(SettingsStoreTest, ReadOnlyListLoads) {
    ASSERT_EQ(::chmod(m_folder.path().c_str(), 0755), 0);
    m_folder.write("ZELM.txt", "A\r\nB\r\n");
    ASSERT_EQ(::chmod(m_folder.file("ZELM.txt").c_str(), 0444), 0);
    m_folder.write("ZELM.ini", settingsWithList(m_folder.file("ZELM.txt")));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        if (::access(m_folder.file("ZELM.txt").c_str(), R_OK) != 0 ||
            ::access(m_folder.file("ZELM.txt").c_str(), W_OK) == 0)
            ::_exit(3); // the file must be readable and truly read-only to prove anything
        ::_exit(m_store.loadUrlLines() == Lines{"A", "B"} ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: list not loaded, 2: could not drop root, 3: setup";
}

TEST_F(SettingsStoreTest, ListStopsAtCtrlZ) {
    m_folder.write("ZELM.txt", "A\r\nB\r\nC\x1A"
                               "D\r\nE\r\n");
    m_folder.write("ZELM.ini", settingsWithList(m_folder.file("ZELM.txt")));
    EXPECT_EQ(m_store.loadUrlLines(), (Lines{"A", "B", "C"}));
}

TEST_F(SettingsStoreTest, LargeListIsReadWhole) {
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += "http://127.0.0.1/file" + std::to_string(i) + (i % 2 ? "\n" : "\r\n");
    m_folder.write("big.txt", bytes);
    m_folder.write("ZELM.ini", settingsWithList(m_folder.file("big.txt")));
    const Lines lines = m_store.loadUrlLines();
    ASSERT_EQ(lines.size(), 200000u);
    EXPECT_EQ(lines.front(), "http://127.0.0.1/file0");
    EXPECT_EQ(lines.back(), "http://127.0.0.1/file199999");
}

// CI runs as root, so "cannot be written" is made real by a program directory that runs
// through a regular file: nothing can be created there by anyone.
TEST(SettingsStoreUnwritable, SavesFailSilentlyAndLeaveNothing) {
    TempFolder folder;
    folder.write("file", "keep");
    SettingsStore store(folder.file("file/program"));
    store.saveUrlList({"A"});
    store.saveSaveFolder("/x");
    EXPECT_EQ(store.loadUrlLines(), Lines{});
    EXPECT_EQ(store.loadSaveFolder(), "");
    EXPECT_EQ(folder.entries(), Lines{"file"});
    EXPECT_EQ(folder.read("file"), "keep");
}

TEST_F(SettingsStoreTest, KeyIsWrittenEvenWhenTheListCannotBe) {
    ASSERT_EQ(::mkdir(m_folder.file("ZELM.txt").c_str(), 0755), 0);
    m_store.saveUrlList({"A"});
    EXPECT_EQ(m_folder.read("ZELM.ini"), settingsWithList(m_store.urlListFilePath()));
    EXPECT_EQ(m_store.loadUrlLines(), Lines{});
    EXPECT_EQ(m_folder.entries(), (Lines{"ZELM.ini", "ZELM.txt"}));
}

TEST_F(SettingsStoreTest, ListIsWrittenEvenWhenTheSettingsCannotBe) {
    ASSERT_EQ(::mkdir(m_folder.file("ZELM.ini").c_str(), 0755), 0);
    m_store.saveUrlList({"A"});
    m_store.saveSaveFolder("/x");
    EXPECT_EQ(m_folder.read("ZELM.txt"), "A\r\n");
    EXPECT_EQ(m_store.loadSaveFolder(), "");
}

TEST_F(SettingsStoreTest, SavingKeepsOtherContentOfTheSettingsFile) {
    const std::string before = "; kept\r\n[Other]\r\na=1\r\n[ZELM]\r\n" + kFolderKey + "=/old\r\n";
    m_folder.write("ZELM.ini", before);
    m_store.saveUrlList({"A"});
    EXPECT_EQ(m_folder.read("ZELM.ini"),
              before + kListKey + "=" + m_store.urlListFilePath() + "\r\n");
    EXPECT_EQ(m_store.loadSaveFolder(), "/old");
}

TEST_F(SettingsStoreTest, BadBytesInTheSettingsFileGiveEmptyValues) {
    m_folder.write("ZELM.ini", "\0\xFF\x81[ZELM\x1A\n=\n\x81]\r\n"s + kListKey + "\r\n");
    EXPECT_EQ(m_store.loadUrlLines(), Lines{});
    EXPECT_EQ(m_store.loadSaveFolder(), "");
    m_store.saveSaveFolder("/x");
    EXPECT_EQ(m_store.loadSaveFolder(), "/x");
}

} // namespace
} // namespace tarnis
