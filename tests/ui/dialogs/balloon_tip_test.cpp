#include "ui/balloon_tip.h"

#include "modal_answers.h"
#include "platform/gbk_text.h"
#include "settings/settings_store.h"
#include "ui/settings_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace tarnis {
namespace {

using testing::child;
using testing::waitUntil;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void pointerEnters(QWidget& target, QPoint where = QPoint(5, 5)) {
    QEnterEvent enter(where, where, target.mapToGlobal(where));
    QApplication::sendEvent(&target, &enter);
}

void pointerLeaves(QWidget& target) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&target, &leave);
}

class BalloonTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_window = std::make_unique<SettingsWindow>(m_store);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_tips = m_window->findChild<BalloonTip*>(u("汽球提示框1"));
        ASSERT_NE(m_tips, nullptr);
    }

    QTemporaryDir m_dir;
    SettingsStore m_store{m_dir.path().toStdString()};
    std::unique_ptr<SettingsWindow> m_window;
    BalloonTip* m_tips = nullptr;
};

TEST_F(BalloonTipTest, SettingsWindowAttachesItsFourTips) {
    const std::string addressTip = m_tips->tipText(child<QLineEdit>(*m_window, "添加地址框"));
    const std::string prefix = "输入要下载的文件地址(URL)\r\n例:\r\nhttp://"_gbk;
    EXPECT_EQ(addressTip.substr(0, prefix.size()), prefix);
    EXPECT_GT(addressTip.size(), prefix.size()) << "an example address follows";
    EXPECT_EQ(addressTip.find_first_of("\r\n", prefix.size()), std::string::npos);
    EXPECT_EQ(m_tips->tipText(child<QPushButton>(*m_window, "添加")),
              "将输入的下载地址添加到下载地址列表"_gbk);
    EXPECT_EQ(m_tips->tipText(child<QPushButton>(*m_window, "删除")),
              "删除下载地址列表中选中的一行"_gbk);
    EXPECT_EQ(m_tips->tipText(child<QPushButton>(*m_window, "清空")), "清空下载地址列表"_gbk);
    for (const char* untipped : {"地址列表框", "确定", "取消", "浏览", "保存路径框"})
        EXPECT_TRUE(m_tips->tipText(child<QWidget>(*m_window, untipped)).empty()) << untipped;
}

TEST_F(BalloonTipTest, AttachingAgainReplacesTheTextOfThatArea) {
    auto& button = child<QPushButton>(*m_window, "确定");
    attachTip(*m_tips, button, "first", -1);
    attachTip(*m_tips, button, "left half", -1, QRect(0, 0, 40, 24));
    attachTip(*m_tips, button, "second", -1);
    EXPECT_EQ(m_tips->tipText(button), "second");
    EXPECT_EQ(m_tips->tipText(button, QRect(0, 0, 40, 24)), "left half");
}

TEST_F(BalloonTipTest, TipShowsAfterTheRestDelayAndHidesAfterItsTime) {
    auto& box = child<QLineEdit>(*m_window, "添加地址框");
    QElapsedTimer clock;
    clock.start();
    pointerEnters(box);
    testing::processEventsFor(BalloonTip::showDelayMs / 2);
    EXPECT_EQ(m_tips->visibleTip(), nullptr) << "not before the pointer has rested";

    ASSERT_TRUE(waitUntil([&] { return m_tips->visibleTip() != nullptr; }));
    EXPECT_GE(clock.elapsed(), BalloonTip::showDelayMs - 20);
    QWidget* tip = m_tips->visibleTip();
    clock.restart();

    // Broken into lines at CR LF, drawn black on pale yellow inside a black frame.
    const QStringList lines = m_tips->visibleTipText().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], u("输入要下载的文件地址(URL)"));
    EXPECT_EQ(lines[1], u("例:"));
    EXPECT_TRUE(lines[2].startsWith("http://"));
    EXPECT_FALSE(m_tips->visibleTipText().contains('\r'));
    EXPECT_TRUE(tip->isWindow());
    EXPECT_EQ(tip->windowType(), Qt::ToolTip);
    const QFontInfo font(tip->font());
    EXPECT_EQ(font.pointSize(), 10);
    EXPECT_TRUE(font.family() == "Verdana" || font.family() == "DejaVu Sans")
        << font.family().toStdString();
    const QImage picture = tip->grab().toImage();
    ASSERT_FALSE(picture.isNull());
    const int w = picture.width();
    const int h = picture.height();
    EXPECT_GT(h, 2 * QFontMetrics(tip->font()).height()) << "three lines tall";
    for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1),
                          QPoint(w / 2, 0), QPoint(0, h / 2)})
        EXPECT_EQ(picture.pixelColor(corner), QColor(Qt::black)) << corner.x() << "," << corner.y();
    EXPECT_EQ(picture.pixelColor(1, 1), QColor(255, 255, 225));
    EXPECT_EQ(picture.pixelColor(w - 2, h - 2), QColor(255, 255, 225));

    testing::processEventsFor(BalloonTip::hideDelayMs / 2);
    EXPECT_NE(m_tips->visibleTip(), nullptr) << "still shown half way";
    ASSERT_TRUE(waitUntil([&] { return m_tips->visibleTip() == nullptr; }, 10000));
    EXPECT_GE(clock.elapsed(), BalloonTip::hideDelayMs - 20);

    // Once hidden it stays hidden while the pointer stays on the control.
    testing::processEventsFor(BalloonTip::showDelayMs + 200);
    EXPECT_EQ(m_tips->visibleTip(), nullptr);
}

TEST_F(BalloonTipTest, LeavingOrClickingHidesTheTipAtOnce) {
    auto& button = child<QPushButton>(*m_window, "清空");
    pointerEnters(button);
    ASSERT_TRUE(waitUntil([&] { return m_tips->visibleTip() != nullptr; }));
    EXPECT_EQ(m_tips->visibleTipText(), u("清空下载地址列表"));
    pointerLeaves(button);
    EXPECT_EQ(m_tips->visibleTip(), nullptr);

    // A pointer that leaves before the delay shows nothing.
    pointerEnters(button);
    testing::processEventsFor(BalloonTip::showDelayMs / 3);
    pointerLeaves(button);
    testing::processEventsFor(BalloonTip::showDelayMs + 200);
    EXPECT_EQ(m_tips->visibleTip(), nullptr);

    pointerEnters(button);
    ASSERT_TRUE(waitUntil([&] { return m_tips->visibleTip() != nullptr; }));
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(m_tips->visibleTip(), nullptr);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST_F(BalloonTipTest, ControlWithoutTipShowsNothing) {
    auto& list = child<QWidget>(*m_window, "地址列表框");
    pointerEnters(list);
    testing::processEventsFor(BalloonTip::showDelayMs + 200);
    EXPECT_EQ(m_tips->visibleTip(), nullptr);
}

} // namespace
} // namespace tarnis
