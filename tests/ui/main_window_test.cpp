#include "app/app_state.h"
#include "download/download_component.h"
#include "fake_download_component.h"
#include "modal_box_answerer.h"
#include "platform/gbk_text.h"
#include "settings/settings_store.h"
#include "ui/animation_box.h"
#include "ui/control_skin.h"
#include "ui/help_file.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <memory>
#include <string>
#include <vector>

namespace tarnis {
namespace {

using test::FakeDownloadComponent;
using test::ModalBoxAnswerer;
using test::SeenBox;
using test::waitUntil;

const std::string listMessage = "没有找到可下载的文件地址!!请重新设置，按F1查看帮助。"_gbk;
const std::string folderMessage =
    "下载的文件保存到文件夹的路径不能为空！！请重新设置，按F1查看帮助。"_gbk;
const std::string exitQuestion =
    "当前正在下载文件!!\r\n如果退出,将结束当前下载任务,是否真的退出?"_gbk;

template <typename T>
T* control(const QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromUtf8(name));
}

QMessageBox::StandardButton answerNo(const SeenBox&) {
    return QMessageBox::No;
}
QMessageBox::StandardButton answerYes(const SeenBox&) {
    return QMessageBox::Yes;
}
QMessageBox::StandardButton answerOk(const SeenBox&) {
    return QMessageBox::Ok;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        auto component = std::make_unique<FakeDownloadComponent>();
        m_component = component.get();
        startUp(std::move(component));
    }
    void TearDown() override {
        m_window.reset();
        shutdown();
    }

    std::string directory() const { return fromQString(m_dir.path()); }
    SettingsStore store() const { return SettingsStore(directory()); }

    void recordSettings(const std::vector<std::string>& urls, const std::string& folder) {
        recordSettingsIn(directory(), urls, folder);
    }
    static void recordSettingsIn(const std::string& programDirectory,
                                 const std::vector<std::string>& urls, const std::string& folder) {
        const SettingsStore store(programDirectory);
        if (!urls.empty())
            store.saveUrlList(urls);
        if (!folder.empty())
            store.saveSaveFolder(folder);
    }

    MainWindow& openWindow() { return openWindowIn(directory()); }
    MainWindow& openWindowIn(const std::string& programDirectory) {
        m_window = std::make_unique<MainWindow>(programDirectory, programDirectory + "/tarnis");
        m_window->show();
        return *m_window;
    }

    // Runs the program's event loop with `action` as its first event, as main() would;
    // answers the exit code, or -1 when the loop did not end in time.
    int runEventLoop(const std::function<void()>& action) {
        QTimer start;
        start.setSingleShot(true);
        QObject::connect(&start, &QTimer::timeout, action);
        start.start(0);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
        giveUp.start(20000);
        return QApplication::exec();
    }

    QTemporaryDir m_dir;
    FakeDownloadComponent* m_component = nullptr;
    std::unique_ptr<MainWindow> m_window;
};

// ---- Layout ----

struct ControlCase {
    const char* name;
    QRect geometry;
    const char* text; // UTF-8 here, compared as GBK; null for controls without text
};

const ControlCase controlCases[] = {
    {"图片框1", {16, 9, 360, 47}, nullptr},        {"标签", {13, 67, 323, 17}, "等候指令……"},
    {"进度条", {11, 92, 365, 16}, nullptr},        {"下载速度", {16, 118, 280, 16}, "下载速度:"},
    {"已经下载", {16, 140, 280, 16}, "已经下载:"}, {"下载保存", {16, 162, 360, 16}, "下载保存到:"},
    {"下载", {26, 205, 81, 24}, "下  载"},         {"设置", {112, 205, 81, 24}, "设  置"},
    {"取消", {198, 205, 81, 24}, "退  出"},        {"关于", {284, 205, 81, 24}, "关于"},
};

TEST_F(MainWindowTest, EveryControlStandsAtItsPlaceWithItsStartText) {
    const MainWindow& window = openWindow();
    for (const ControlCase& c : controlCases) {
        SCOPED_TRACE(c.name);
        const auto* widget = control<QWidget>(window, c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(), &window);
        EXPECT_EQ(widget->geometry(), c.geometry);
        EXPECT_TRUE(widget->isEnabled());
        EXPECT_TRUE(widget->isVisible());
        if (!c.text)
            continue;
        QString shown;
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            shown = label->text();
        else if (const auto* button = qobject_cast<const QPushButton*>(widget))
            shown = button->text();
        EXPECT_EQ(fromQString(shown), tarnis::literals::operator""_gbk(c.text, strlen(c.text)));
    }
}

TEST_F(MainWindowTest, WindowHasItsTitleFixedSizeCloseBoxOnlyAndIsCentred) {
    const MainWindow& window = openWindow();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarnis1.0"));
    // The offscreen platform draws no frame, so the whole outer size is client area.
    EXPECT_EQ(window.frameGeometry().size(), QSize(391, 276));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QSize screen = window.screen()->geometry().size();
    EXPECT_EQ(window.frameGeometry().topLeft(),
              QPoint((screen.width() - 391) / 2, (screen.height() - 276) / 2));
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(window.autoFillBackground());
}

TEST_F(MainWindowTest, LabelsShowOneLineOfPlainTextLeftAndCentred) {
    MainWindow& window = openWindow();
    for (const char* name : {"标签", "下载速度", "已经下载", "下载保存"}) {
        SCOPED_TRACE(name);
        const auto* label = control<QLabel>(window, name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_FALSE(label->wordWrap());
        EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }
    // An "&" in a folder name is a character, not a mnemonic.
    window.setSaveFolderText("下载保存到：/home/a&b"_gbk);
    EXPECT_EQ(control<QLabel>(window, "下载保存")->text(), QStringLiteral("下载保存到：/home/a&b"));
}

TEST_F(MainWindowTest, TabMovesThroughTheButtonsInOrderAndDownloadIsTheDefault) {
    MainWindow& window = openWindow();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto* download = control<QPushButton>(window, "下载");
    EXPECT_EQ(QApplication::focusWidget(), download);
    const char* order[] = {"设置", "取消", "关于", "下载", "设置"};
    for (const char* name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(window, name)) << name;
    }
    EXPECT_TRUE(download->isDefault());
    for (const char* name : {"设置", "取消", "关于"}) {
        EXPECT_FALSE(control<QPushButton>(window, name)->isDefault()) << name;
        EXPECT_FALSE(control<QPushButton>(window, name)->autoDefault()) << name;
    }
    for (const char* name : {"图片框1", "进度条"})
        EXPECT_EQ(control<QWidget>(window, name)->focusPolicy(), Qt::NoFocus) << name;
}

TEST_F(MainWindowTest, FocusComesBackToTheControlThatHadItWhenTheWindowIsActivatedAgain) {
    MainWindow& window = openWindow();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* about = control<QPushButton>(window, "关于");
    about->setFocus();

    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), about);
}

TEST_F(MainWindowTest, ProgressBarIsASmoothRangeThatClamps) {
    MainWindow& window = openWindow();
    auto* bar = control<QProgressBar>(window, "进度条");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_FALSE(bar->isTextVisible());
    const struct {
        std::int32_t set;
        int shown;
    } cases[] = {{57, 57}, {-5, 0},        {100, 100},      {250, 100},
                 {0, 0},   {INT32_MIN, 0}, {INT32_MAX, 100}};
    for (const auto& c : cases) {
        window.setProgressPosition(c.set);
        EXPECT_EQ(bar->value(), c.shown) << c.set;
    }
}

// ---- Start ----

TEST_F(MainWindowTest, CreationSwitchesTheSkinOnSetsNetworkOptionsAndLoadsTheSettings) {
    setControlSkin(0);
    setNetworkOptions(1, 2, 3);
    recordSettings({"http://127.0.0.1/a.bin"_gbk, "http://127.0.0.1/目录/b.bin"_gbk},
                   "/tmp/下载"_gbk);
    openWindow();
    EXPECT_EQ(controlSkin(), 2);
    EXPECT_FALSE(qApp->styleSheet().isEmpty());
    const NetworkOptions options = networkOptions();
    EXPECT_EQ(options.receiveBufferSize, 10240);
    EXPECT_EQ(options.retryWait, 1);
    EXPECT_EQ(options.retryCount, 5);
    const std::vector<std::string> expected{"http://127.0.0.1/a.bin"_gbk,
                                            "http://127.0.0.1/目录/b.bin"_gbk};
    EXPECT_EQ(appState().urlList, expected);
    EXPECT_EQ(appState().saveFolder, "/tmp/下载"_gbk);
}

TEST_F(MainWindowTest, WithNoSettingsFilesTheListAndFolderStayEmpty) {
    openWindow();
    EXPECT_TRUE(appState().urlList.empty());
    EXPECT_TRUE(appState().saveFolder.empty());
}

TEST_F(MainWindowTest, TimersAreStoppedAtStartAndFollowThePeriodRule) {
    MainWindow& window = openWindow();
    auto* progress = window.findChild<QTimer*>(QStringLiteral("时钟"));
    auto* speed = window.findChild<QTimer*>(QStringLiteral("时钟1"));
    ASSERT_NE(progress, nullptr);
    ASSERT_NE(speed, nullptr);
    EXPECT_FALSE(progress->isActive());
    EXPECT_FALSE(speed->isActive());

    window.setTimerPeriods(10000, 20000);
    EXPECT_TRUE(progress->isActive());
    EXPECT_EQ(progress->interval(), 10000);
    EXPECT_EQ(speed->interval(), 20000);

    // The same period again keeps the running timer's phase.
    QTest::qWait(60);
    window.setTimerPeriods(10000, 20000);
    EXPECT_LE(progress->remainingTime(), 9990);

    // Another period starts it over; a negative one stops it like 0.
    window.setTimerPeriods(30000, -1);
    EXPECT_GT(progress->remainingTime(), 20000);
    EXPECT_FALSE(speed->isActive());
    window.setTimerPeriods(0, 0);
    EXPECT_FALSE(progress->isActive());
    EXPECT_FALSE(speed->isActive());
}

// ---- The picture ----

TEST_F(MainWindowTest, PictureShowsTheAnimationStillCentredAndPlaysOnRequest) {
    MainWindow& window = openWindow();
    auto* picture = control<AnimationBox>(window, "图片框1");
    ASSERT_NE(picture, nullptr);
    ASSERT_TRUE(picture->hasPicture());
    EXPECT_EQ(picture->pictureSize(), QSize(270, 40));
    EXPECT_EQ(picture->pictureRect(), QRect(45, 3, 270, 40));
    ASSERT_EQ(picture->frameCount(), 13);
    EXPECT_EQ(picture->frameDelay(0), 200);
    for (int frame = 1; frame <= 11; ++frame)
        EXPECT_EQ(picture->frameDelay(frame), 120) << frame;
    EXPECT_EQ(picture->frameDelay(12), 500);
    EXPECT_FALSE(picture->isPlaying());
    EXPECT_EQ(picture->currentFrame(), 0);

    window.ensureAnimationPicture(); // already there: nothing changes
    EXPECT_EQ(picture->frameCount(), 13);

    window.setAnimationPlaying(true);
    EXPECT_TRUE(picture->isPlaying());
    EXPECT_TRUE(waitUntil([&] { return picture->currentFrame() >= 2; }));
    window.setAnimationPlaying(false);
    EXPECT_FALSE(picture->isPlaying());
    EXPECT_EQ(picture->currentFrame(), 0);
}

// Two 1 x 1 frames, both with a delay of 0 and no further GIF extension than that.
const unsigned char zeroDelayGif[] = {
    'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255,
    // frame 1
    0x21, 0xF9, 4, 0, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0,
    // frame 2
    0x21, 0xF9, 4, 0, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 1, 0, 0x3B};

TEST_F(MainWindowTest, PictureShowsZeroDelaysForFiftyMilliseconds) {
    const QString path = m_dir.filePath("zero.gif");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(zeroDelayGif), sizeof zeroDelayGif);
    file.close();
    AnimationBox box;
    ASSERT_TRUE(box.load(path));
    ASSERT_EQ(box.frameCount(), 2);
    EXPECT_EQ(box.frameDelay(0), 50);
    EXPECT_EQ(box.frameDelay(1), 50);
}

TEST_F(MainWindowTest, PictureLargerThanTheBoxIsScaledDownKeepingItsShape) {
    const QString path = m_dir.filePath("wide.png");
    QImage wide(720, 80, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    ASSERT_TRUE(wide.save(path));
    AnimationBox box;
    box.resize(360, 47);
    ASSERT_TRUE(box.load(path));
    EXPECT_EQ(box.pictureRect(), QRect(0, 3, 360, 40));
    EXPECT_FALSE(box.load(m_dir.filePath("missing.gif")));
    EXPECT_FALSE(box.hasPicture());
}

// ---- Download ----

struct MissingSettingsCase {
    const char* name;
    bool list;
    bool folder;
    const std::string* message;
};

TEST_F(MainWindowTest, DownloadWithoutListOrFolderTellsTheUserAndStartsNothing) {
    const MissingSettingsCase cases[] = {
        {"neither", false, false, &listMessage},
        {"folder only", false, true, &listMessage},
        {"list only", true, false, &folderMessage},
    };
    for (const MissingSettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        appState().urlList.clear();
        appState().saveFolder.clear();
        QTemporaryDir programDirectory;
        const std::string where = fromQString(programDirectory.path());
        recordSettingsIn(where,
                         c.list ? std::vector<std::string>{"http://127.0.0.1/a"}
                                : std::vector<std::string>{},
                         c.folder ? where : std::string());
        MainWindow& window = openWindowIn(where);
        ModalBoxAnswerer answerer(answerOk);
        control<QPushButton>(window, "下载")->click();
        ASSERT_EQ(answerer.seen().size(), 1u);
        const SeenBox& box = answerer.seen().front();
        EXPECT_EQ(fromQString(box.text), *c.message);
        EXPECT_EQ(fromQString(box.title), "信息："_gbk);
        EXPECT_EQ(box.icon, QMessageBox::NoIcon);
        EXPECT_EQ(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_TRUE(box.applicationModal);
        EXPECT_FALSE(box.hasOwner);
        EXPECT_TRUE(window.isDownloadButtonEnabled());
        EXPECT_EQ(appState().isDownloading, 0);
        EXPECT_TRUE(m_component->addedUrls.empty());
    }
}

TEST_F(MainWindowTest, EnterStartsABatchWhicheverButtonHasTheFocusAndNotASecondOne) {
    recordSettings({"http://127.0.0.1/a.bin", "http://127.0.0.1/b.bin"}, directory());
    MainWindow& window = openWindow();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* settings = control<QPushButton>(window, "设置");
    settings->setFocus();
    ModalBoxAnswerer answerer(answerOk);
    QTest::keyClick(settings, Qt::Key_Return);

    EXPECT_FALSE(window.isDownloadButtonEnabled());
    EXPECT_EQ(appState().isDownloading, 1);
    EXPECT_EQ(m_component->addedUrls, std::vector<std::string>{"http://127.0.0.1/a.bin"});
    EXPECT_EQ(window.findChild<QTimer*>(QStringLiteral("时钟"))->interval(), 100);
    EXPECT_TRUE(window.findChild<QTimer*>(QStringLiteral("时钟"))->isActive());
    EXPECT_EQ(window.findChild<QTimer*>(QStringLiteral("时钟1"))->interval(), 1000);
    EXPECT_TRUE(control<AnimationBox>(window, "图片框1")->isPlaying());

    // During the batch Enter does nothing, wherever the focus is.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::qWait(20);
    EXPECT_EQ(m_component->addedUrls.size(), 1u);
    EXPECT_TRUE(answerer.seen().empty());
}

TEST_F(MainWindowTest, EscWhileIdleClosesAtOnceWithoutAQuestion) {
    MainWindow& window = openWindow();
    ModalBoxAnswerer answerer(answerNo);
    const int exitCode =
        runEventLoop([&] { QTest::keyClick(window.focusWidget(), Qt::Key_Escape); });
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(answerer.seen().empty());
}

enum class LeaveBy { Esc, CloseBox, ExitButton };

void leave(MainWindow& window, LeaveBy way) {
    switch (way) {
    case LeaveBy::Esc:
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window,
                        Qt::Key_Escape);
        break;
    case LeaveBy::CloseBox:
        window.windowHandle()->close();
        break;
    case LeaveBy::ExitButton:
        control<QPushButton>(window, "取消")->click();
        break;
    }
}

class LeaveDuringBatchTest : public MainWindowTest, public ::testing::WithParamInterface<LeaveBy> {
protected:
    MainWindow& startRunningBatch() {
        recordSettings({"http://127.0.0.1/slow.bin"}, directory());
        MainWindow& window = openWindow();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        window.onDownloadClicked();
        EXPECT_EQ(appState().isDownloading, 1);
        return window;
    }
};

TEST_P(LeaveDuringBatchTest, AnswerNoAsksOnceAndKeepsTheBatchRunning) {
    MainWindow& window = startRunningBatch();
    ModalBoxAnswerer answerer(answerNo);
    leave(window, GetParam());
    ASSERT_EQ(answerer.seen().size(), 1u);
    const SeenBox& box = answerer.seen().front();
    EXPECT_EQ(fromQString(box.text), exitQuestion);
    EXPECT_EQ(fromQString(box.title), "提示:"_gbk);
    EXPECT_EQ(box.icon, QMessageBox::Question);
    EXPECT_EQ(box.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.defaultButton, QMessageBox::Yes);
    EXPECT_TRUE(box.applicationModal);
    EXPECT_FALSE(box.hasOwner);

    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(appState().isDownloading, 1);
    EXPECT_TRUE(m_component->busy());
    EXPECT_TRUE(window.findChild<QTimer*>(QStringLiteral("时钟"))->isActive());
    EXPECT_TRUE(window.findChild<QTimer*>(QStringLiteral("时钟1"))->isActive());
}

TEST_P(LeaveDuringBatchTest, AnswerYesAsksOnceAndEndsTheProgramWithCodeZero) {
    MainWindow& window = startRunningBatch();
    ModalBoxAnswerer answerer(answerYes);
    const int exitCode = runEventLoop([&] { leave(window, GetParam()); });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(answerer.seen().size(), 1u);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.findChild<QTimer*>(QStringLiteral("时钟"))->isActive());
    // Shutdown, which runs once the loop has ended, stops the running download.
    FakeDownloadComponent* component = m_component;
    ASSERT_TRUE(component->busy());
    appState().downloader->destroy();
    EXPECT_EQ(component->destroyedRunning, 1);
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, LeaveDuringBatchTest,
                         ::testing::Values(LeaveBy::Esc, LeaveBy::CloseBox, LeaveBy::ExitButton),
                         [](const ::testing::TestParamInfo<LeaveBy>& info) {
                             switch (info.param) {
                             case LeaveBy::Esc:
                                 return "Esc";
                             case LeaveBy::CloseBox:
                                 return "CloseBox";
                             case LeaveBy::ExitButton:
                                 return "ExitButton";
                             }
                             return "";
                         });

TEST_F(MainWindowTest, EnterInTheExitQuestionAnswersYes) {
    recordSettings({"http://127.0.0.1/slow.bin"}, directory());
    MainWindow& window = openWindow();
    window.onDownloadClicked();
    int questions = 0;
    QTimer pressEnter;
    QObject::connect(&pressEnter, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible() && !box->property("pressed").toBool()) {
            box->setProperty("pressed", true);
            ++questions;
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    pressEnter.start(5);
    EXPECT_EQ(runEventLoop([&] { window.onExitClicked(); }), 0);
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, TheBatchGoesOnWhileTheExitQuestionIsOpen) {
    recordSettings({"http://127.0.0.1/a.bin", "http://127.0.0.1/b.bin"}, directory());
    MainWindow& window = openWindow();
    window.onDownloadClicked();
    // While the question waits, the first task ends and the tick starts the second one.
    ModalBoxAnswerer answerer([&](const SeenBox& box) {
        if (box.icon != QMessageBox::Question)
            return QMessageBox::Ok;
        m_component->endTask();
        EXPECT_TRUE(waitUntil([&] { return m_component->addedUrls.size() == 2; }));
        return QMessageBox::No;
    });
    window.onExitClicked();
    EXPECT_EQ(m_component->addedUrls.size(), 2u);
    EXPECT_TRUE(window.isVisible());
}

// ---- Help ----

TEST(HelpFile, IsNamedAfterTheProgramFile) {
    const struct {
        const char* program;
        const char* help;
    } cases[] = {
        {"/opt/tarnis/tool.exe", "/opt/tarnis/tool.hlp"},
        {"/opt/tarnis/tarnis", "/opt/tarnis/tarnis.hlp"},
        {"/opt/v1.2/tarnis", "/opt/v1.2/tarnis.hlp"},
        {"/opt/a.b.c", "/opt/a.b.hlp"},
        {"/opt/.tarnis", "/opt/.tarnis.hlp"},
        {"tool.", "tool.hlp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(helpFilePathFor(c.program), c.help) << c.program;
    // A trail byte equal to '.' belongs to its double-byte character: no extension here.
    const std::string name = std::string("/opt/x") + "\x81\x2E" + "y";
    EXPECT_EQ(helpFilePathFor(name), name + ".hlp");
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

TEST_F(MainWindowTest, F1OpensTheHelpFileBesideTheProgramWhenThereIsOne) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    MainWindow& window = openWindow();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(window.helpFile(), directory() + "/tarnis.hlp");

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_TRUE(catcher.opened.empty());

    QFile help(m_dir.filePath("tarnis.hlp"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    auto* about = control<QPushButton>(window, "关于");
    about->setFocus();
    QTest::keyClick(about, Qt::Key_F1);
    ASSERT_EQ(catcher.opened.size(), 1u);
    EXPECT_EQ(catcher.opened.front(), QUrl::fromLocalFile(m_dir.filePath("tarnis.hlp")));
    EXPECT_EQ(QApplication::focusWidget(), about);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

} // namespace
} // namespace tarnis

#include "main_window_test.moc"
