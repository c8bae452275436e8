#pragma once

#include "batch/batch_view.h"
#include "settings/settings_store.h"

#include <QTimer>
#include <QWidget>

#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarnis {

class AnimationBox;

// The window the user works in: an animation, the status line, the progress bar, three
// information lines and the buttons Download, Settings, Exit and About. It keeps no batch
// state of its own (that lives in appState()); the enabled state of the Download button is
// the sign that a batch runs. Every control carries its design name as objectName.
class MainWindow : public QWidget, public BatchView {
    Q_OBJECT

public:
    static constexpr int outerWidth = 391;
    static constexpr int outerHeight = 276;

    // programDirectory: where the settings files live (GBK, no trailing separator);
    // programFile: the program file, which names the help file beside it (GBK).
    MainWindow(std::string programDirectory, std::string programFile);
    ~MainWindow() override;

    // BatchView
    void setStatusText(const std::string& text) override;
    void setProgressPosition(std::int32_t position) override;
    void setDownloadedText(const std::string& text) override;
    void setSaveFolderText(const std::string& text) override;
    void setSpeedText(const std::string& text) override;
    bool isDownloadButtonEnabled() const override;
    void setDownloadButtonEnabled(bool enabled) override;
    void setTimerPeriods(std::int32_t progressMs, std::int32_t speedMs) override;
    void ensureAnimationPicture() override;
    void setAnimationPlaying(bool playing) override;
    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text, const std::string& title) override;

    // Handlers
    void onMainCreated();
    void onDownloadClicked();
    void onSettingsButtonClicked();
    void onAboutButtonClicked();
    void onExitClicked();
    bool onMainCloseRequest();
    void onMainDestroyed();
    void onHelpRequested();

    // Asks before leaving while a batch runs; true when the window may go.
    bool confirmExit();

    const std::string& helpFile() const { return m_helpFile; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    // Enter, Esc and F1 belong to the window whichever control has the focus.
    bool handleWindowKey(int key);
    // Destroys the window without a further close request.
    void destroyWindow();

    SettingsStore m_store;
    std::string m_helpFile;

    AnimationBox* m_picture = nullptr;  // 图片框1
    QLabel* m_status = nullptr;         // 标签
    QProgressBar* m_progress = nullptr; // 进度条
    QLabel* m_speed = nullptr;          // 下载速度
    QLabel* m_downloaded = nullptr;     // 已经下载
    QLabel* m_saveFolder = nullptr;     // 下载保存
    QPushButton* m_download = nullptr;  // 下载
    QPushButton* m_settings = nullptr;  // 设置
    QPushButton* m_exit = nullptr;      // 取消
    QPushButton* m_about = nullptr;     // 关于
    QTimer m_progressTimer;             // 时钟
    QTimer m_speedTimer;                // 时钟1

    bool m_closeConfirmed = false;
    bool m_destroyed = false;
};

} // namespace tarnis
