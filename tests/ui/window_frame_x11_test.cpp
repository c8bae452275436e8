// The main window's outer frame under a real window manager: a virtual X screen (Xvfb) of
// a known size with icewm on it, the xcb platform, and the window as the program opens it.
// The frame sizes exist only there; the offscreen platform draws no frame at all.
#include "app/app_state.h"
#include "modal_box_answerer.h"
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <sys/prctl.h>

// The suppressions for what the xcb platform's libraries raise under AddressSanitizer; an
// ASAN_OPTIONS of the environment adds to this and does not replace it.
extern "C" const char* __asan_default_options() {
    return "suppressions=" TARNIS_ASAN_SUPPRESSIONS;
}

namespace tarnis {
namespace {

constexpr int screenWidth = 1024;
constexpr int screenHeight = 768;

// Starts Xvfb on the first free display from :70 on and a window manager on it, and the
// application on that display. Skips the tests when the tools are not installed.
class VirtualScreen : public ::testing::Environment {
public:
    static inline QString skipReason;

    void SetUp() override {
        // The X server and the window manager end with the test process, even when it
        // is killed or aborts.
        for (QProcess* process : {&m_xvfb, &m_windowManager})
            process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString icewm = QStandardPaths::findExecutable(QStringLiteral("icewm"));
        if (xvfb.isEmpty() || icewm.isEmpty()) {
            skipReason = QStringLiteral("Xvfb and icewm are needed (tools/install-deps.sh --test)");
            return;
        }
        for (int display = 70; display < 100 && m_display.isEmpty(); ++display) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
                continue;
            m_xvfb.start(xvfb, {QStringLiteral(":%1").arg(display), QStringLiteral("-screen"),
                                QStringLiteral("0"),
                                QStringLiteral("%1x%2x24").arg(screenWidth).arg(screenHeight),
                                QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
            if (!m_xvfb.waitForStarted(5000))
                break;
            QDeadlineTimer deadline(10000);
            while (!deadline.hasExpired() && m_xvfb.state() != QProcess::NotRunning &&
                   !QFileInfo::exists(socket))
                QThread::msleep(20);
            if (m_xvfb.state() == QProcess::Running && QFileInfo::exists(socket)) {
                m_display = QStringLiteral(":%1").arg(display);
            } else {
                // Taken by another server meanwhile: try the next display.
                stop(m_xvfb);
            }
        }
        if (m_display.isEmpty()) {
            skipReason = QStringLiteral("no virtual X display could be started");
            return;
        }
        qputenv("DISPLAY", m_display.toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        m_windowManager.setProcessEnvironment(environment);
        m_windowManager.start(icewm, {});
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void TearDown() override {
        m_app.reset();
        stop(m_windowManager);
        stop(m_xvfb);
    }

private:
    // Asked to end first, so the X server removes its lock file.
    static void stop(QProcess& process) {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(2000);
        }
    }

    QProcess m_xvfb;
    QProcess m_windowManager;
    QString m_display;
    int m_argc = 1;
    char m_name[24] = "window_frame_x11_test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const screen =
    ::testing::AddGlobalTestEnvironment(new VirtualScreen);

TEST(WindowFrameUnderWindowManager, OuterSizeHoldsWithTheFrameAndTheWindowIsCentred) {
    if (!VirtualScreen::skipReason.isEmpty())
        GTEST_SKIP() << VirtualScreen::skipReason.toStdString();
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    const std::string directory = program.path().toStdString();
    startUp();
    {
        MainWindow window(directory, directory + "/tarnis");
        window.show();
        // The frame is known once the window manager has decorated the window.
        ASSERT_TRUE(test::waitUntil(
            [&] {
                return window.frameGeometry().height() > window.height() &&
                       window.frameGeometry().size() == QSize(391, 276);
            },
            20000))
            << "frame " << window.frameGeometry().width() << "x" << window.frameGeometry().height()
            << ", client " << window.width() << "x" << window.height();
        EXPECT_TRUE(test::waitUntil([&] {
            return window.frameGeometry().topLeft() ==
                   QPoint((screenWidth - 391) / 2, (screenHeight - 276) / 2);
        })) << window.frameGeometry().x()
            << "," << window.frameGeometry().y();
        EXPECT_EQ(window.minimumSize(), window.maximumSize());
        // The controls keep their client positions inside the smaller client area.
        const auto* about = window.findChild<QPushButton*>(QStringLiteral("关于"));
        EXPECT_EQ(about->geometry(), QRect(284, 205, 81, 24));
        EXPECT_TRUE(window.rect().contains(about->geometry()));
    }
    shutdown();
}

} // namespace
} // namespace tarnis
