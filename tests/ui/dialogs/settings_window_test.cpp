#include "ui/settings_window.h"

#include "app/app_state.h"
#include "modal_answers.h"
#include "platform/gbk_text.h"
#include "settings/settings_store.h"
#include "ui/folder_browser.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace tarnis {
namespace {

using testing::answerMessages;
using testing::child;
using testing::ShownMessage;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const char* const emptyAddressText = "添加的下载地址(URL)不能为空！！";
const char* const badAddressText =
    "添加的下载(URL)地址不正确！！\r\n正确的下载地址格式(例)：\r\nhttp://";
const char* const emptyListText = "下载地址列表没有要删除的项目！";
const char* const noSelectionText = "下载地址列表未选中要删除的项目！";
const char* const okEmptyListText = "没有添加可下载的文件地址!!请重新设置，按F1查看帮助。";
const char* const okNoFolderText = "下载的文件保存到文件夹的路径不能为空！！按F1查看帮助。";

// A program directory of its own for every test, with a name that is not ASCII so that
// every path crossing between GBK and the file system is exercised.
class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir(m_root.path()).mkdir(u("程序目录")));
        m_store = std::make_unique<SettingsStore>(fromQString(m_root.path() + u("/程序目录")));
        appState().urlList.clear();
        appState().saveFolder.clear();
        setFolderBrowser([this](const std::string& prompt) {
            m_prompts.push_back(prompt);
            return m_browserAnswer;
        });
    }

    void TearDown() override {
        setFolderBrowser({});
        appState().urlList.clear();
        appState().saveFolder.clear();
    }

    std::unique_ptr<SettingsWindow> openWindow() {
        auto window = std::make_unique<SettingsWindow>(*m_store);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    static QByteArray fileBytes(const std::string& gbkPath) {
        QFile file(toQString(gbkPath));
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray("<missing>");
        return file.readAll();
    }
    QByteArray listFile() const { return fileBytes(m_store->urlListFilePath()); }
    QByteArray settingsFile() const { return fileBytes(m_store->settingsFilePath()); }

    static QStringList items(const SettingsWindow& window) {
        auto& list = child<QListWidget>(window, "地址列表框");
        QStringList texts;
        for (int row = 0; row < list.count(); ++row)
            texts << list.item(row)->text();
        return texts;
    }

    static void click(const SettingsWindow& window, const char* button) {
        child<QPushButton>(window, button).click();
    }

    static void expectPlainMessage(const std::vector<ShownMessage>& shown, const QString& text) {
        ASSERT_EQ(shown.size(), 1u) << text.toStdString();
        EXPECT_EQ(shown[0].text, text);
        EXPECT_EQ(shown[0].title, u("信息："));
        EXPECT_EQ(shown[0].icon, QMessageBox::NoIcon);
        EXPECT_EQ(shown[0].buttonCount, 1);
        EXPECT_TRUE(shown[0].hasOkButton);
        EXPECT_FALSE(shown[0].hasOwner);
        EXPECT_EQ(shown[0].modality, Qt::ApplicationModal);
    }

    QTemporaryDir m_root;
    std::unique_ptr<SettingsStore> m_store;
    std::string m_browserAnswer;
    std::vector<std::string> m_prompts;
};

struct ControlLayout {
    const char* name;
    const char* kind;
    QRect place;
    const char* text;
};

TEST_F(SettingsWindowTest, WindowAndControlsHaveTheirPlacesSizesAndTexts) {
    auto window = openWindow();
    EXPECT_EQ(window->windowTitle(), u("设置"));
    EXPECT_EQ(window->frameGeometry().size(), QSize(432, 462));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the frame is fixed";
    const QSize screen = window->screen()->geometry().size();
    EXPECT_EQ(window->frameGeometry().topLeft(),
              QPoint((screen.width() - 432) / 2, (screen.height() - 462) / 2));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->autoFillBackground());
    EXPECT_EQ(window->palette().color(QPalette::Window),
              window->style()->standardPalette().color(QPalette::Window))
        << "the dialog face, not the main window's white";

    const ControlLayout layout[] = {
        {"标签1", "QLabel", {12, 9, 84, 15}, "下载地址列表："},
        {"地址列表框", "QListWidget", {10, 31, 406, 217}, nullptr},
        {"标签2", "QLabel", {13, 262, 104, 16}, "请输入下载地址："},
        {"添加地址框", "QLineEdit", {111, 260, 304, 21}, ""},
        {"添加", "QPushButton", {42, 293, 88, 24}, "添加"},
        {"删除", "QPushButton", {170, 293, 88, 24}, "删除"},
        {"清空", "QPushButton", {297, 293, 88, 24}, "清空"},
        {"标签4", "QLabel", {13, 336, 187, 16}, "下载的文件保存到文件夹的路径："},
        {"保存路径框", "QLineEdit", {12, 357, 339, 21}, ""},
        {"浏览", "QPushButton", {359, 355, 56, 24}, "浏览..."},
        {"确定", "QPushButton", {110, 396, 80, 24}, "确定"},
        {"取消", "QPushButton", {232, 396, 80, 24}, "取消"},
    };
    for (const ControlLayout& control : layout) {
        SCOPED_TRACE(control.name);
        auto* widget = window->findChild<QWidget*>(u(control.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(control.kind));
        EXPECT_EQ(widget->geometry(), control.place);
        EXPECT_TRUE(widget->isVisible());
        EXPECT_TRUE(widget->isEnabled());
        if (!control.text)
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), u(control.text));
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text(), u(control.text));
            EXPECT_FALSE(button->isDefault());
            EXPECT_FALSE(button->autoDefault());
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            EXPECT_EQ(edit->text(), u(control.text));
        }
    }

    auto& list = child<QListWidget>(*window, "地址列表框");
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_FALSE(list.isSortingEnabled());
    EXPECT_EQ(list.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(list.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_TRUE(child<QLineEdit>(*window, "保存路径框").isReadOnly());
    EXPECT_FALSE(child<QLineEdit>(*window, "添加地址框").isReadOnly());
    EXPECT_GE(child<QLineEdit>(*window, "添加地址框").maxLength(), 1 << 20)
        << "the address box has no length limit of its own";
    EXPECT_NE(window->findChild<QObject*>(u("汽球提示框1")), nullptr);
}

TEST_F(SettingsWindowTest, ControlsKeepTheirBoxesUnderAStyleSheetWithMinimumSizes) {
    // The program's skin gives push buttons a minimum width wider than the Browse button.
    qApp->setStyleSheet("QPushButton { min-width: 120px; padding: 3px 12px; }"
                        "QLineEdit { min-height: 40px; }");
    auto window = openWindow();
    const std::pair<const char*, QRect> boxes[] = {
        {"浏览", {359, 355, 56, 24}},       {"添加", {42, 293, 88, 24}},
        {"确定", {110, 396, 80, 24}},       {"添加地址框", {111, 260, 304, 21}},
        {"保存路径框", {12, 357, 339, 21}},
    };
    for (const auto& [name, box] : boxes)
        EXPECT_EQ(child<QWidget>(*window, name).geometry(), box) << name;
    qApp->setStyleSheet("QPushButton { min-width: 150px; }");
    testing::processEventsFor(50);
    EXPECT_EQ(child<QWidget>(*window, "浏览").geometry(), QRect(359, 355, 56, 24))
        << "a later change of style keeps the box too";
    qApp->setStyleSheet(QString());
}

TEST_F(SettingsWindowTest, FocusStartsInTheListAndTabWalksTheControlsInOrder) {
    auto window = openWindow();
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), u("地址列表框"));

    const char* const expected[] = {"添加地址框", "添加", "删除", "清空",      "保存路径框",
                                    "浏览",       "确定", "取消", "地址列表框"};
    for (const char* name : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), u(name));
    }
}

TEST_F(SettingsWindowTest, FocusReturnsToTheLastControlAfterAMessageBox) {
    auto window = openWindow();
    auto& deleteButton = child<QPushButton>(*window, "删除");
    deleteButton.setFocus();
    const auto shown = answerMessages([&] { deleteButton.click(); });
    expectPlainMessage(shown, u(emptyListText));
    EXPECT_EQ(window->focusWidget(), &deleteButton);
    // The window manager hands activation back; the offscreen platform has none.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), &deleteButton);
}

TEST_F(SettingsWindowTest, EnterAndF1PressNothingWhereverTheFocusIs) {
    m_store->saveUrlList({"http://a/1.zip"});
    m_store->saveSaveFolder("/tmp");
    m_browserAnswer = "/tmp/other";
    auto window = openWindow();
    child<QLineEdit>(*window, "添加地址框").setText("ftp://not-an-address");
    const char* const focusable[] = {"地址列表框", "添加地址框", "添加", "删除", "清空",
                                     "保存路径框", "浏览",       "确定", "取消"};
    for (const char* name : focusable) {
        SCOPED_TRACE(name);
        auto& control = child<QWidget>(*window, name);
        control.setFocus();
        const auto shown = answerMessages([&] {
            QTest::keyClick(&control, Qt::Key_Return);
            QTest::keyClick(&control, Qt::Key_Enter, Qt::KeypadModifier);
            QTest::keyClick(&control, Qt::Key_F1);
        });
        EXPECT_TRUE(shown.empty());
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), &control) << "Enter does not move the focus";
    }
    EXPECT_EQ(items(*window), QStringList{"http://a/1.zip"});
    EXPECT_TRUE(m_prompts.empty());
    EXPECT_EQ(child<QLineEdit>(*window, "添加地址框").text(), "ftp://not-an-address");
}

TEST_F(SettingsWindowTest, EscAndTheCloseBoxCloseWithoutSaving) {
    m_store->saveUrlList({"http://a/1.zip"});
    const QByteArray listBefore = listFile();
    for (bool useEsc : {true, false}) {
        auto window = openWindow();
        click(*window, "清空");
        if (useEsc)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            window->close();
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(window->result(), QDialog::Rejected);
    }
    EXPECT_EQ(listFile(), listBefore);
    EXPECT_TRUE(appState().urlList.empty());
}

TEST_F(SettingsWindowTest, OpensWithWhatTheFilesHoldNotWithUrlList) {
    m_store->saveUrlList({"http://a/1.zip", "http://b/文件.zip"_gbk});
    m_store->saveSaveFolder(fromQString(u("/data/下载")));
    appState().urlList = {"http://elsewhere/x.zip"};
    auto window = openWindow();
    EXPECT_EQ(items(*window), (QStringList{"http://a/1.zip", u("http://b/文件.zip")}));
    EXPECT_EQ(child<QLineEdit>(*window, "保存路径框").text(), u("/data/下载"));
}

TEST_F(SettingsWindowTest, OpensEmptyWithoutSettingsFiles) {
    auto window = openWindow();
    EXPECT_TRUE(items(*window).isEmpty());
    EXPECT_TRUE(child<QLineEdit>(*window, "保存路径框").text().isEmpty());
    // With no folder, OK always stops at the folder message.
    child<QLineEdit>(*window, "添加地址框").setText("http://a/1.zip");
    click(*window, "添加");
    expectPlainMessage(answerMessages([&] { click(*window, "确定"); }), u(okNoFolderText));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SettingsWindowTest, FolderBoxCanBeCopiedButNotTypedInto) {
    m_store->saveSaveFolder(fromQString(u("/data/下载")));
    auto window = openWindow();
    auto& box = child<QLineEdit>(*window, "保存路径框");
    box.setFocus();
    QTest::keyClicks(&box, "typed");
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.text(), u("/data/下载"));
    box.selectAll();
    EXPECT_EQ(box.selectedText(), u("/data/下载"));
    box.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u("/data/下载"));
}

struct AddCase {
    const char* typed;
    const char* message; // nullptr: accepted
};

TEST_F(SettingsWindowTest, AddAcceptsExactlyTheTextsThatBeginWithHttpScheme) {
    const AddCase cases[] = {
        {"http://", nullptr},
        {"http://www.example.com/a.zip", nullptr},
        {"http://host/file.zip   ", nullptr}, // trailing blanks kept
        {"http://主机/文件.zip", nullptr},
        {"HTTP://host/file.zip", badAddressText},
        {"Http://host/file.zip", badAddressText},
        {" http://host/file.zip", badAddressText},
        {"https://host/file.zip", badAddressText},
        {"ftp://host/file.zip", badAddressText},
        {"http:/", badAddressText},
        {"http:\\\\host/file.zip", badAddressText},
        {"文件http://host", badAddressText},
        {"", emptyAddressText},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.typed);
        auto window = openWindow();
        auto& box = child<QLineEdit>(*window, "添加地址框");
        box.setText(u(c.typed));
        const auto shown = answerMessages([&] { click(*window, "添加"); });
        if (c.message) {
            ASSERT_EQ(shown.size(), 1u);
            if (c.message == badAddressText) {
                EXPECT_TRUE(shown[0].text.startsWith(u(c.message)));
                EXPECT_GT(shown[0].text.size(), u(c.message).size()) << "an example follows";
                EXPECT_TRUE(shown[0].text.endsWith(".zip") || shown[0].text.contains('/'));
            } else {
                expectPlainMessage(shown, u(c.message));
            }
            EXPECT_EQ(box.text(), u(c.typed)) << "the box keeps what was typed";
            EXPECT_TRUE(items(*window).isEmpty());
        } else {
            EXPECT_TRUE(shown.empty());
            EXPECT_EQ(items(*window), QStringList{u(c.typed)});
            EXPECT_TRUE(box.text().isEmpty());
        }
    }
}

TEST_F(SettingsWindowTest, BadAddressMessageIsPlainAndNamesAnExampleFile) {
    auto window = openWindow();
    child<QLineEdit>(*window, "添加地址框").setText("www.example.com/a.zip");
    const auto shown = answerMessages([&] { click(*window, "添加"); });
    ASSERT_EQ(shown.size(), 1u);
    const QString example = shown[0].text.mid(u(badAddressText).size() - 7);
    EXPECT_TRUE(example.startsWith("http://"));
    EXPECT_TRUE(QUrl(example).isValid());
    EXPECT_FALSE(QUrl(example).path().isEmpty());
    expectPlainMessage(shown, shown[0].text);
}

TEST_F(SettingsWindowTest, DuplicatesAreAddedAndSavedInTheirOrderAsTyped) {
    m_store->saveSaveFolder("/tmp");
    auto window = openWindow();
    auto& box = child<QLineEdit>(*window, "添加地址框");
    for (const char* typed :
         {"http://a/1.zip", "http://b/2.zip  ", "http://a/1.zip", "http://c/文件.zip"}) {
        box.setText(u(typed));
        click(*window, "添加");
    }
    EXPECT_EQ(items(*window).size(), 4);
    click(*window, "确定");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    const std::string expected =
        "http://a/1.zip\r\nhttp://b/2.zip  \r\nhttp://a/1.zip\r\nhttp://c/文件.zip\r\n"_gbk;
    EXPECT_EQ(listFile(), QByteArray::fromStdString(expected));
    EXPECT_EQ(appState().urlList,
              (std::vector<std::string>{"http://a/1.zip", "http://b/2.zip  ", "http://a/1.zip",
                                        "http://c/文件.zip"_gbk}));
    // The settings file names the list file: a fresh store reads the same list back.
    EXPECT_EQ(m_store->loadUrlLines(), appState().urlList);
}

TEST_F(SettingsWindowTest, DeleteChecksEmptinessFirstThenTheSelection) {
    auto window = openWindow();
    expectPlainMessage(answerMessages([&] { click(*window, "删除"); }), u(emptyListText));

    auto& box = child<QLineEdit>(*window, "添加地址框");
    for (const char* typed : {"http://a/1", "http://b/2", "http://c/3"}) {
        box.setText(typed);
        click(*window, "添加");
    }
    expectPlainMessage(answerMessages([&] { click(*window, "删除"); }), u(noSelectionText));
    EXPECT_EQ(items(*window).size(), 3);

    auto& list = child<QListWidget>(*window, "地址列表框");
    list.setCurrentRow(1);
    ASSERT_EQ(list.selectedItems().size(), 1);
    EXPECT_TRUE(answerMessages([&] { click(*window, "删除"); }).empty());
    EXPECT_EQ(items(*window), (QStringList{"http://a/1", "http://c/3"}));
    EXPECT_TRUE(list.selectedItems().isEmpty()) << "no neighbour is selected";

    expectPlainMessage(answerMessages([&] { click(*window, "删除"); }), u(noSelectionText));
    EXPECT_EQ(items(*window).size(), 2);
    EXPECT_EQ(listFile(), "<missing>") << "nothing is saved before OK";
}

TEST_F(SettingsWindowTest, ClearThenOkSavesNothing) {
    m_store->saveUrlList({"http://a/1.zip", "http://b/2.zip"});
    m_store->saveSaveFolder("/tmp");
    const QByteArray listBefore = listFile();
    const QByteArray settingsBefore = settingsFile();
    appState().urlList = {"http://keep/me.zip"};
    auto window = openWindow();
    click(*window, "清空");
    EXPECT_TRUE(items(*window).isEmpty());
    expectPlainMessage(answerMessages([&] { click(*window, "确定"); }), u(okEmptyListText));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(listFile(), listBefore);
    EXPECT_EQ(settingsFile(), settingsBefore);
    EXPECT_EQ(appState().urlList, std::vector<std::string>{"http://keep/me.zip"});
}

TEST_F(SettingsWindowTest, OkWithoutFolderSavesTheListKeepsTheWindowAndCancelDoesNotUndo) {
    m_store->saveUrlList({"http://old/1.zip"});
    appState().urlList = {"http://old/1.zip"};
    auto window = openWindow();
    child<QLineEdit>(*window, "添加地址框").setText("http://new/2.zip");
    click(*window, "添加");
    expectPlainMessage(answerMessages([&] { click(*window, "确定"); }), u(okNoFolderText));
    EXPECT_TRUE(window->isVisible());
    const QByteArray expected("http://old/1.zip\r\nhttp://new/2.zip\r\n");
    EXPECT_EQ(listFile(), expected);
    EXPECT_EQ(appState().urlList,
              (std::vector<std::string>{"http://old/1.zip", "http://new/2.zip"}));
    EXPECT_TRUE(appState().saveFolder.empty()) << "OK never writes the folder";

    click(*window, "取消");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(listFile(), expected);
    EXPECT_EQ(appState().urlList.size(), 2u);
}

TEST_F(SettingsWindowTest, BrowseWritesTheFolderAtOnceAndCancelKeepsIt) {
    m_store->saveSaveFolder("/old/folder");
    m_browserAnswer = fromQString(u("/home/用户/下载"));
    auto window = openWindow();
    click(*window, "浏览");
    ASSERT_EQ(m_prompts.size(), 1u);
    EXPECT_EQ(m_prompts[0], "请选择保存文件夹:"_gbk);
    EXPECT_EQ(child<QLineEdit>(*window, "保存路径框").text(), u("/home/用户/下载"));
    EXPECT_EQ(appState().saveFolder, m_browserAnswer);
    EXPECT_EQ(m_store->loadSaveFolder(), m_browserAnswer);
    EXPECT_TRUE(settingsFile().contains(QByteArray::fromStdString(m_browserAnswer)));

    click(*window, "取消");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(appState().saveFolder, m_browserAnswer);
    EXPECT_EQ(m_store->loadSaveFolder(), m_browserAnswer);
    EXPECT_EQ(listFile(), "<missing>") << "Browse writes no list";
}

TEST_F(SettingsWindowTest, CancelledBrowseChangesNothing) {
    for (bool withFolder : {false, true}) {
        SCOPED_TRACE(withFolder);
        if (withFolder)
            m_store->saveSaveFolder("/old/folder");
        appState().saveFolder = withFolder ? "/old/folder" : "";
        const QByteArray settingsBefore = settingsFile();
        m_browserAnswer.clear();
        auto window = openWindow();
        click(*window, "浏览");
        EXPECT_EQ(child<QLineEdit>(*window, "保存路径框").text(),
                  withFolder ? QString("/old/folder") : QString());
        EXPECT_EQ(settingsFile(), settingsBefore);
        EXPECT_EQ(appState().saveFolder, withFolder ? "/old/folder" : "");
    }
}

TEST_F(SettingsWindowTest, RootFolderIsStoredWithItsSeparator) {
    m_browserAnswer = "/";
    auto window = openWindow();
    click(*window, "浏览");
    EXPECT_EQ(child<QLineEdit>(*window, "保存路径框").text(), "/");
    EXPECT_EQ(appState().saveFolder, "/");
    EXPECT_EQ(m_store->loadSaveFolder(), "/");
    // A picked folder makes OK close the window.
    child<QLineEdit>(*window, "添加地址框").setText("http://a/1.zip");
    click(*window, "添加");
    EXPECT_TRUE(answerMessages([&] { click(*window, "确定"); }).empty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SettingsWindowTest, ReopeningAfterCancelShowsTheListFile) {
    m_store->saveUrlList({"http://a/1.zip"});
    {
        auto window = openWindow();
        child<QLineEdit>(*window, "添加地址框").setText("http://b/2.zip");
        click(*window, "添加");
        child<QListWidget>(*window, "地址列表框").setCurrentRow(0);
        click(*window, "删除");
        EXPECT_EQ(items(*window), QStringList{"http://b/2.zip"});
        click(*window, "取消");
    }
    auto window = openWindow();
    EXPECT_EQ(items(*window), QStringList{"http://a/1.zip"});
    EXPECT_EQ(listFile(), "http://a/1.zip\r\n");
}

TEST_F(SettingsWindowTest, ListItemsGoBackToTheFileByteForByte) {
    // A GBK pair that Unicode knows, and one that the code page leaves unassigned.
    const std::string unusual = "http://h/\xB0\xA1\xFE\xFE.zip";
    m_store->saveUrlList({unusual});
    m_store->saveSaveFolder("/tmp");
    auto window = openWindow();
    click(*window, "确定");
    EXPECT_EQ(listFile(), QByteArray::fromStdString(unusual + "\r\n"));
    EXPECT_EQ(appState().urlList, std::vector<std::string>{unusual});
}

TEST_F(SettingsWindowTest, RunSettingsWindowIsModalAndBuiltAfreshEachTime) {
    m_store->saveUrlList({"http://a/1.zip"});
    QWidget mainWindow;
    mainWindow.setWindowTitle("main");
    mainWindow.show();
    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));

    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        // The user clicks in the main window, which is active again.
        mainWindow.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
        QPointer<QWidget> seen;
        const bool ran = testing::whileModal(
            [&](QWidget& modal) {
                seen = &modal;
                EXPECT_TRUE(modal.inherits("tarnis::SettingsWindow"));
                EXPECT_EQ(modal.windowModality(), Qt::ApplicationModal);
                EXPECT_EQ(QGuiApplication::modalWindow(), modal.windowHandle());
                ASSERT_NE(modal.windowHandle(), nullptr);
                EXPECT_EQ(modal.windowHandle()->transientParent(), mainWindow.windowHandle());
                EXPECT_EQ(modal.parentWidget(), nullptr);
                EXPECT_EQ(items(static_cast<SettingsWindow&>(modal)),
                          QStringList{"http://a/1.zip"});
                // Unconfirmed edits die with the window.
                child<QPushButton>(modal, "清空").click();
                QTest::keyClick(&modal, Qt::Key_Escape);
            },
            [&] { runSettingsWindow(*m_store); });
        EXPECT_TRUE(ran);
        EXPECT_TRUE(seen.isNull()) << "the window is destroyed when it closes";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

} // namespace
} // namespace tarnis
