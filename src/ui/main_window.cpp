#include "ui/main_window.h"

#include "app/app_state.h"
#include "batch/batch_runner.h"
#include "batch/progress_texts.h"
#include "download/download_component.h"
#include "platform/gbk_text.h"
#include "ui/about_window.h"
#include "ui/animation_box.h"
#include "ui/control_skin.h"
#include "ui/help_file.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"
#include "ui/settings_window.h"
#include "ui/timer_period.h"
#include "ui/window_frame.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <utility>

namespace tarnis {
namespace {

const QString transferAnimation = QStringLiteral(":/transfer_animation.gif");

// A thin sunken frame around a smooth bar; the bar is the window's own, not the skin's.
const QString progressBarSheet = QStringLiteral(
    "QProgressBar { border: 1px solid; border-color: #808080 #e3e3e3 #e3e3e3 #808080;"
    " background: white; }"
    "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 #4d86d9, stop:1 #2a5caa); }");

QLabel* makeLabel(QWidget* parent, const char* name, QRect geometry, const std::string& text) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(geometry);
    // Plain text, so an "&" in a folder name is shown as it stands and marks no mnemonic.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setWordWrap(false);
    label->setText(toQString(text));
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, QRect geometry,
                        const std::string& text) {
    auto* button = new QPushButton(toQString(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

} // namespace

MainWindow::MainWindow(std::string programDirectory, std::string programFile)
    : m_store(std::move(programDirectory)), m_helpFile(helpFilePathFor(programFile)),
      m_progressTimer(this), m_speedTimer(this) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Tarnis1.0"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);

    createControls();
    fixOuterFrame(*this, outerWidth, outerHeight);
    onMainCreated();
}

MainWindow::~MainWindow() {
    m_progressTimer.stop();
    m_speedTimer.stop();
}

void MainWindow::createControls() {
    m_picture = new AnimationBox(this);
    m_picture->setObjectName(QStringLiteral("图片框1"));
    m_picture->setGeometry(16, 9, 360, 47);

    m_status = makeLabel(this, "标签", {13, 67, 323, 17}, "等候指令……"_gbk);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("进度条"));
    m_progress->setGeometry(11, 92, 365, 16);
    m_progress->setOrientation(Qt::Horizontal);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setFocusPolicy(Qt::NoFocus);
    m_progress->setStyleSheet(progressBarSheet);

    m_speed = makeLabel(this, "下载速度", {16, 118, 280, 16}, "下载速度:"_gbk);
    m_downloaded = makeLabel(this, "已经下载", {16, 140, 280, 16}, "已经下载:"_gbk);
    m_saveFolder = makeLabel(this, "下载保存", {16, 162, 360, 16}, "下载保存到:"_gbk);

    m_download = makeButton(this, "下载", {26, 205, 81, 24}, "下  载"_gbk);
    m_settings = makeButton(this, "设置", {112, 205, 81, 24}, "设  置"_gbk);
    m_exit = makeButton(this, "取消", {198, 205, 81, 24}, "退  出"_gbk);
    m_about = makeButton(this, "关于", {284, 205, 81, 24}, "关于"_gbk);
    m_download->setDefault(true);
    setTabOrder(m_download, m_settings);
    setTabOrder(m_settings, m_exit);
    setTabOrder(m_exit, m_about);
    m_download->setFocus(Qt::OtherFocusReason);

    connect(m_download, &QPushButton::clicked, this, [this] { onDownloadClicked(); });
    connect(m_settings, &QPushButton::clicked, this, [this] { onSettingsButtonClicked(); });
    connect(m_exit, &QPushButton::clicked, this, [this] { onExitClicked(); });
    connect(m_about, &QPushButton::clicked, this, [this] { onAboutButtonClicked(); });

    m_progressTimer.setObjectName(QStringLiteral("时钟"));
    m_speedTimer.setObjectName(QStringLiteral("时钟1"));
    // Precise, so a period holds to the millisecond and a kept period keeps its phase
    // exactly; the two timers are the only ones and tick at most ten times a second.
    m_progressTimer.setTimerType(Qt::PreciseTimer);
    m_speedTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_progressTimer, &QTimer::timeout, this, [this] { onProgressTick(*this); });
    connect(&m_speedTimer, &QTimer::timeout, this, [this] { onSpeedTick(*this); });

    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

// ---- BatchView ----

void MainWindow::setStatusText(const std::string& text) {
    m_status->setText(toQString(text));
    m_status->repaint();
}

void MainWindow::setProgressPosition(std::int32_t position) {
    m_progress->setValue(std::clamp(position, m_progress->minimum(), m_progress->maximum()));
}

void MainWindow::setDownloadedText(const std::string& text) {
    m_downloaded->setText(toQString(text));
}

void MainWindow::setSaveFolderText(const std::string& text) {
    m_saveFolder->setText(toQString(text));
}

void MainWindow::setSpeedText(const std::string& text) {
    m_speed->setText(toQString(text));
}

bool MainWindow::isDownloadButtonEnabled() const {
    return m_download->isEnabled();
}

void MainWindow::setDownloadButtonEnabled(bool enabled) {
    m_download->setEnabled(enabled);
}

void MainWindow::setTimerPeriods(std::int32_t progressMs, std::int32_t speedMs) {
    setTimerPeriod(m_progressTimer, progressMs);
    setTimerPeriod(m_speedTimer, speedMs);
}

void MainWindow::ensureAnimationPicture() {
    if (!m_picture->hasPicture())
        m_picture->load(transferAnimation);
}

void MainWindow::setAnimationPlaying(bool playing) {
    m_picture->setPlaying(playing);
}

void MainWindow::showMessage(const std::string& text) {
    showPlainMessage(text);
}

bool MainWindow::askYesNo(const std::string& text, const std::string& title) {
    return askYesNoQuestion(text, title);
}

// ---- Handlers ----

void MainWindow::onMainCreated() {
    setControlSkin(2);
    setNetworkOptions(10240, 1, 5);
    m_picture->load(transferAnimation);
    m_picture->setPlaying(false);
    AppState& state = appState();
    for (std::string& line : m_store.loadUrlLines())
        state.urlList.push_back(std::move(line));
    state.saveFolder = m_store.loadSaveFolder();
}

void MainWindow::onDownloadClicked() {
    const AppState& state = appState();
    if (state.urlList.empty()) {
        showMessage("没有找到可下载的文件地址!!请重新设置，按F1查看帮助。"_gbk);
        return;
    }
    if (state.saveFolder.empty()) {
        showMessage("下载的文件保存到文件夹的路径不能为空！！请重新设置，按F1查看帮助。"_gbk);
        return;
    }
    startBatch(*this);
}

void MainWindow::onSettingsButtonClicked() {
    runSettingsWindow(m_store);
}

void MainWindow::onAboutButtonClicked() {
    runAboutWindow();
}

bool MainWindow::confirmExit() {
    if (appState().isDownloading != 1)
        return true;
    return askYesNo("当前正在下载文件!!\r\n如果退出,将结束当前下载任务,是否真的退出?"_gbk,
                    "提示:"_gbk);
}

void MainWindow::onExitClicked() {
    if (confirmExit())
        destroyWindow();
}

bool MainWindow::onMainCloseRequest() {
    return confirmExit();
}

void MainWindow::onMainDestroyed() {
    m_progressTimer.stop();
    m_speedTimer.stop();
    m_picture->setPlaying(false);
    QCoreApplication::exit(0);
}

void MainWindow::onHelpRequested() {
    openHelpFile(m_helpFile);
}

// ---- Events ----

void MainWindow::destroyWindow() {
    m_closeConfirmed = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_destroyed) {
        event->accept();
        return;
    }
    if (!m_closeConfirmed && !onMainCloseRequest()) {
        event->ignore();
        return;
    }
    event->accept();
    m_destroyed = true;
    onMainDestroyed();
}

bool MainWindow::handleWindowKey(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_download->isEnabled())
            onDownloadClicked();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_F1:
        onHelpRequested();
        return true;
    default:
        return false;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (handleWindowKey(key->key()))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && handleWindowKey(event->key())) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tarnis
