#pragma once

#include "batch/batch_view.h"

#include <string>
#include <vector>

namespace tarnis {

// Keeps the state a window would show and a log of every call, texts in UTF-8 so that
// assertions read naturally.
class RecordingBatchView : public BatchView {
public:
    void setStatusText(const std::string& text) override;
    void setProgressPosition(std::int32_t position) override;
    void setDownloadedText(const std::string& text) override;
    void setSaveFolderText(const std::string& text) override;
    void setSpeedText(const std::string& text) override;
    bool isDownloadButtonEnabled() const override { return downloadEnabled; }
    void setDownloadButtonEnabled(bool enabled) override;
    void setTimerPeriods(std::int32_t progressMs, std::int32_t speedMs) override;
    void ensureAnimationPicture() override;
    void setAnimationPlaying(bool playing) override;
    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text, const std::string& title) override;

    std::vector<std::string> calls; // e.g. "setStatusText(等候指令……)"
    std::vector<std::string> messages;
    std::string status, downloaded, saveFolder, speed; // UTF-8
    std::int32_t position = 0;
    bool downloadEnabled = true;
    std::int32_t progressPeriod = 0, speedPeriod = 0;
    bool animationLoaded = false, animationPlaying = false;
    bool answerYes = true;
};

} // namespace tarnis
