#include "ui/about_window.h"

#include "modal_answers.h"
#include "platform/gbk_text.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace tarnis {
namespace {

using testing::child;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::unique_ptr<AboutWindow> openWindow() {
    auto window = std::make_unique<AboutWindow>();
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
}

TEST(AboutWindowTest, WindowAndControlsHaveTheirPlacesSizesAndTexts) {
    auto window = openWindow();
    EXPECT_EQ(window->windowTitle(), u("关于"));
    EXPECT_EQ(window->frameGeometry().size(), QSize(398, 114));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const QSize screen = window->screen()->geometry().size();
    EXPECT_EQ(window->frameGeometry().topLeft(),
              QPoint((screen.width() - 398) / 2, (screen.height() - 114) / 2));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(window->autoFillBackground());
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::white));

    auto& picture = child<QLabel>(*window, "图片框1");
    EXPECT_EQ(picture.geometry(), QRect(14, 15, 56, 56));
    EXPECT_TRUE(picture.hasScaledContents()) << "stretched, aspect ratio not kept";
    ASSERT_NE(picture.movie(), nullptr);
    EXPECT_TRUE(picture.movie()->isValid());
    EXPECT_EQ(picture.movie()->state(), QMovie::Running);
    EXPECT_EQ(picture.movie()->fileName(), ":/about_animation.gif");

    auto& text = child<QLabel>(*window, "标签1");
    EXPECT_EQ(text.geometry(), QRect(86, 11, 194, 62));
    EXPECT_TRUE(text.wordWrap());
    EXPECT_EQ(text.textFormat(), Qt::PlainText);
    EXPECT_EQ(text.alignment(), Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(text.text(), toQString(aboutText()).replace("\r\n", "\n"));

    auto& ok = child<QPushButton>(*window, "按钮1");
    EXPECT_EQ(ok.geometry(), QRect(296, 32, 80, 24));
    EXPECT_EQ(ok.text(), u("确定"));
    EXPECT_FALSE(ok.isDefault());
    EXPECT_FALSE(ok.autoDefault());
    EXPECT_EQ(QApplication::focusWidget(), &ok);
}

TEST(AboutWindowTest, ButtonKeepsItsBoxUnderAStyleSheetWithMinimumSizes) {
    qApp->setStyleSheet("QPushButton { min-width: 150px; min-height: 40px; }");
    auto window = openWindow();
    EXPECT_EQ(child<QWidget>(*window, "按钮1").geometry(), QRect(296, 32, 80, 24));
    qApp->setStyleSheet(QString());
}

TEST(AboutWindowTest, AboutTextHasItsFiveLinesEachEndingInCrLf) {
    const std::string text = aboutText();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the last line ends in CR LF too";
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Tarnis1.0");
    const std::string author = "作者:"_gbk;
    EXPECT_EQ(lines[1].substr(0, author.size()), author);
    EXPECT_GT(lines[1].size(), author.size());
    EXPECT_FALSE(lines[2].empty());
    EXPECT_TRUE(lines[3].empty());
    EXPECT_TRUE(lines[4].empty());
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

TEST(AboutWindowTest, EnterDoesNothingAndTheButtonCloses) {
    auto window = openWindow();
    auto& ok = child<QPushButton>(*window, "按钮1");
    QTest::keyClick(&ok, Qt::Key_Return);
    QTest::keyClick(&ok, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&ok, Qt::Key_F1);
    EXPECT_TRUE(window->isVisible());
    QTest::mouseClick(&ok, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST(AboutWindowTest, EscAndTheCloseBoxClose) {
    for (bool useEsc : {true, false}) {
        auto window = openWindow();
        if (useEsc)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            window->close();
        EXPECT_FALSE(window->isVisible());
    }
}

TEST(AboutWindowTest, RunAboutWindowIsModalAndReturnsWhenClosed) {
    QWidget mainWindow;
    mainWindow.show();
    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    QPointer<QWidget> seen;
    const bool ran = testing::whileModal(
        [&](QWidget& modal) {
            seen = &modal;
            EXPECT_TRUE(modal.inherits("tarnis::AboutWindow"));
            EXPECT_EQ(modal.windowModality(), Qt::ApplicationModal);
            EXPECT_EQ(QGuiApplication::modalWindow(), modal.windowHandle());
            EXPECT_EQ(modal.windowHandle()->transientParent(), mainWindow.windowHandle());
            child<QPushButton>(modal, "按钮1").click();
        },
        [] { runAboutWindow(); });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(seen.isNull());
}

TEST(AboutWindowTest, PictureIsDrawnSqueezedToTheBox) {
    auto window = openWindow();
    auto& picture = child<QLabel>(*window, "图片框1");
    ASSERT_TRUE(testing::waitUntil([&] { return !picture.movie()->currentPixmap().isNull(); }));
    const QImage drawn = picture.grab().toImage();
    EXPECT_EQ(drawn.size() / drawn.devicePixelRatio(), QSize(56, 56));
    EXPECT_EQ(picture.movie()->currentPixmap().size(), QSize(101, 80));
}

// The GIF's own blocks, read from the embedded file.
struct GifFacts {
    bool gif89a = false;
    int width = 0;
    int height = 0;
    int globalPaletteSize = 0;
    int loopCount = -1; // -1: no looping block
    int frames = 0;
    std::vector<int> delaysCs;
};

GifFacts readGif(const QByteArray& bytes) {
    GifFacts facts;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    if (size < 13)
        return facts;
    facts.gif89a = bytes.startsWith("GIF89a");
    facts.width = data[6] | data[7] << 8;
    facts.height = data[8] | data[9] << 8;
    std::size_t at = 13;
    if (data[10] & 0x80) {
        facts.globalPaletteSize = 1 << ((data[10] & 7) + 1);
        at += 3 * static_cast<std::size_t>(facts.globalPaletteSize);
    }
    auto skipSubBlocks = [&] {
        while (at < size && data[at] != 0)
            at += data[at] + 1u;
        ++at;
    };
    while (at < size) {
        const std::uint8_t kind = data[at++];
        if (kind == 0x3B)
            break;
        if (kind == 0x21 && at < size) {
            const std::uint8_t label = data[at++];
            if (label == 0xF9 && at + 5 < size) {
                facts.delaysCs.push_back(data[at + 2] | data[at + 3] << 8);
            } else if (label == 0xFF && at + 16 < size &&
                       bytes.mid(static_cast<qsizetype>(at) + 1, 11) == "NETSCAPE2.0") {
                facts.loopCount = data[at + 14] | data[at + 15] << 8;
            }
            skipSubBlocks();
        } else if (kind == 0x2C && at + 9 <= size) {
            ++facts.frames;
            const std::uint8_t flags = data[at + 8];
            at += 9;
            if (flags & 0x80)
                at += 3u * (1u << ((flags & 7) + 1));
            ++at; // LZW minimum code size
            skipSubBlocks();
        } else {
            break;
        }
    }
    return facts;
}

TEST(AboutWindowTest, AboutAnimationIsA101By80LoopingGifOf36FramesOf90Ms) {
    QFile file(":/about_animation.gif");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const GifFacts facts = readGif(bytes);
    EXPECT_TRUE(facts.gif89a);
    EXPECT_EQ(facts.width, 101);
    EXPECT_EQ(facts.height, 80);
    EXPECT_EQ(facts.globalPaletteSize, 256);
    EXPECT_EQ(facts.loopCount, 0) << "repeats forever";
    EXPECT_EQ(facts.frames, 36);
    ASSERT_EQ(facts.delaysCs.size(), 36u);
    for (int delay : facts.delaysCs)
        EXPECT_EQ(delay, 9);

    // Qt reads the same file the same way.
    QImageReader reader(":/about_animation.gif");
    EXPECT_EQ(reader.imageCount(), 36);
    EXPECT_EQ(reader.size(), QSize(101, 80));
    QImage first = reader.read();
    EXPECT_FALSE(first.isNull());
    EXPECT_EQ(reader.nextImageDelay(), 90);
}

} // namespace
} // namespace tarnis
