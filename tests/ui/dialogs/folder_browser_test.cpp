#include "ui/folder_browser.h"

#include "modal_answers.h"
#include "platform/gbk_text.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarnis {
namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Runs the real folder dialog and lets `answer` act on it.
std::string runDialog(const std::function<void(QFileDialog&)>& answer) {
    std::string chosen = "<not run>";
    const bool ran = testing::whileModal(
        [&](QWidget& modal) {
            auto* dialog = qobject_cast<QFileDialog*>(&modal);
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        },
        [&] { chosen = browseForFolder("请选择保存文件夹:"_gbk); });
    EXPECT_TRUE(ran);
    return chosen;
}

TEST(FolderBrowserTest, DialogShowsFoldersOnlyWithANameFieldModalToTheProgram) {
    runDialog([](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), u("请选择保存文件夹:"));
        EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
        EXPECT_TRUE(dialog.testOption(QFileDialog::ShowDirsOnly));
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
        auto* nameField = dialog.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(nameField, nullptr);
        EXPECT_TRUE(nameField->isVisible());
        dialog.reject();
    });
}

TEST(FolderBrowserTest, AnswersThePickedFolderAsGbkWithoutTrailingSeparator) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(QDir(root.path()).mkdir(u("保存")));
    const QString folder = root.path() + u("/保存");
    const std::string chosen = runDialog([&](QFileDialog& dialog) {
        dialog.setDirectory(folder);
        static_cast<QDialog&>(dialog).accept(); // as the Choose button does
    });
    EXPECT_EQ(chosen, fromQString(folder));
    EXPECT_NE(chosen.back(), '/');
}

TEST(FolderBrowserTest, TheRootIsReachableAndKeepsItsSeparator) {
    const std::string chosen = runDialog([](QFileDialog& dialog) {
        dialog.setDirectory(QDir::rootPath());
        static_cast<QDialog&>(dialog).accept(); // as the Choose button does
    });
    EXPECT_EQ(chosen, "/");
}

TEST(FolderBrowserTest, CancelAnswersEmptyText) {
    EXPECT_EQ(runDialog([](QFileDialog& dialog) { dialog.reject(); }), "");
}

TEST(FolderBrowserTest, NormalizedPathsCutTrailingSeparatorsButTheRootsOwn) {
    const std::pair<const char*, const char*> cases[] = {
        {"/", "/"}, {"//", "/"}, {"/home/a/", "/home/a"}, {"/home/a", "/home/a"}, {"", ""}};
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(normalizedFolderPath(given), expected) << given;
}

TEST(FolderBrowserTest, AnInstalledBrowserAnswersInsteadOfTheDialog) {
    std::string prompt;
    setFolderBrowser([&](const std::string& asked) {
        prompt = asked;
        return std::string("/picked");
    });
    EXPECT_EQ(browseForFolder("p"), "/picked");
    EXPECT_EQ(prompt, "p");
    setFolderBrowser({});
}

} // namespace
} // namespace tarnis
