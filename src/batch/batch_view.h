#pragma once

#include <cstdint>
#include <string>

namespace tarnis {

// What the batch runner and the progress texts need of the main window. All texts are GBK.
// The enabled state of the download button is the sign that a batch runs.
class BatchView {
public:
    virtual ~BatchView() = default;

    virtual void setStatusText(const std::string& text) = 0;
    virtual void setProgressPosition(std::int32_t position) = 0;
    virtual void setDownloadedText(const std::string& text) = 0;
    virtual void setSaveFolderText(const std::string& text) = 0;
    virtual void setSpeedText(const std::string& text) = 0;
    virtual bool isDownloadButtonEnabled() const = 0;
    virtual void setDownloadButtonEnabled(bool enabled) = 0;
    // Period of the progress timer, then of the speed timer, in ms; 0 stops a timer.
    virtual void setTimerPeriods(std::int32_t progressMs, std::int32_t speedMs) = 0;
    // Loads the transfer animation into the picture box when it holds no picture.
    virtual void ensureAnimationPicture() = 0;
    virtual void setAnimationPlaying(bool playing) = 0;
    // Modal box, title "信息：", one OK button; returns when the user closed it.
    virtual void showMessage(const std::string& text) = 0;
    // Modal Yes/No question, Yes the default; true on Yes.
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
};

} // namespace tarnis
