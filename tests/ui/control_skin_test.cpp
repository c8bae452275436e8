#include "ui/control_skin.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace tarnis {
namespace {

QImage rendered(QWidget& widget) {
    widget.ensurePolished();
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class ControlSkinTest : public ::testing::Test {
protected:
    void TearDown() override { setControlSkin(0); }
};

TEST_F(ControlSkinTest, SchemesOneToThreeSwitchItOnAndAnythingElseOff) {
    QString sheets[4];
    for (int scheme : {1, 2, 3}) {
        setControlSkin(scheme);
        EXPECT_EQ(controlSkin(), scheme);
        sheets[scheme] = qApp->styleSheet();
        EXPECT_FALSE(sheets[scheme].isEmpty());
        EXPECT_FALSE(sheets[scheme].contains(QLatin1Char('@'))) << "a colour left unnamed";
    }
    EXPECT_NE(sheets[1], sheets[2]);
    EXPECT_NE(sheets[2], sheets[3]);
    for (int scheme : {0, 4, -1, 1000}) {
        setControlSkin(2);
        setControlSkin(scheme);
        EXPECT_EQ(controlSkin(), 0) << scheme;
        EXPECT_TRUE(qApp->styleSheet().isEmpty()) << scheme;
    }
}

TEST_F(ControlSkinTest, OliveButtonsHaveAnOliveOutlineAlsoInMessageBoxesMadeLater) {
    setControlSkin(2);
    QPushButton button(QStringLiteral("下  载"));
    button.resize(81, 24);
    const QImage image = rendered(button);
    EXPECT_EQ(QColor(image.pixel(0, 12)), QColor(0x6e, 0x7b, 0x3c));
    // The face is a light olive gradient, lighter at the top than at the bottom.
    const QColor top(image.pixel(40, 3));
    const QColor bottom(image.pixel(40, 20));
    EXPECT_GT(top.lightness(), bottom.lightness());
    EXPECT_GT(bottom.green(), bottom.blue());

    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), QStringLiteral("x"),
                    QMessageBox::Ok);
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    ok->resize(81, 24);
    EXPECT_EQ(QColor(rendered(*ok).pixel(0, 12)), QColor(0x6e, 0x7b, 0x3c));

    setControlSkin(0);
    EXPECT_NE(QColor(rendered(button).pixel(0, 12)), QColor(0x6e, 0x7b, 0x3c));
}

TEST_F(ControlSkinTest, ListsProgressBarsAndLabelsKeepThePlainLook) {
    QListWidget list;
    list.addItems({QStringLiteral("http://127.0.0.1/a"), QStringLiteral("http://127.0.0.1/b")});
    list.resize(200, 80);
    QProgressBar bar;
    bar.setRange(0, 100);
    bar.setValue(40);
    bar.resize(200, 16);
    QLabel label(QStringLiteral("下载速度:"));
    label.resize(200, 16);
    QWidget* plain[] = {&list, &bar, &label};

    setControlSkin(0);
    QImage before[3];
    for (int i = 0; i < 3; ++i)
        before[i] = rendered(*plain[i]);
    setControlSkin(2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rendered(*plain[i]), before[i]) << plain[i]->metaObject()->className();
}

TEST_F(ControlSkinTest, CheckBoxesShowTheirMarkInTheSchemeAndComeBackPlain) {
    setControlSkin(2);
    QCheckBox checked(QStringLiteral("x"));
    checked.setChecked(true);
    QCheckBox unchecked(QStringLiteral("x"));
    const QImage on = rendered(checked);
    const QImage off = rendered(unchecked);
    // The mark sits in the middle of the indicator box at the left.
    QStyleOptionButton option;
    option.initFrom(&checked);
    const QPoint mark =
        checked.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &checked).center();
    EXPECT_EQ(QColor(on.pixel(mark)), QColor(0x4d, 0x59, 0x26));
    EXPECT_GT(QColor(off.pixel(mark)).lightness(), 200);

    setControlSkin(0);
    EXPECT_NE(rendered(checked), on);
}

} // namespace
} // namespace tarnis
