#include "recording_batch_view.h"

#include "platform/gbk_text.h"

namespace tarnis {

void RecordingBatchView::setStatusText(const std::string& text) {
    status = gbkToUtf8(text);
    calls.push_back("setStatusText(" + status + ")");
}

void RecordingBatchView::setProgressPosition(std::int32_t value) {
    position = value;
    calls.push_back("setProgressPosition(" + std::to_string(value) + ")");
}

void RecordingBatchView::setDownloadedText(const std::string& text) {
    downloaded = gbkToUtf8(text);
    calls.push_back("setDownloadedText(" + downloaded + ")");
}

void RecordingBatchView::setSaveFolderText(const std::string& text) {
    saveFolder = gbkToUtf8(text);
    calls.push_back("setSaveFolderText(" + saveFolder + ")");
}

void RecordingBatchView::setSpeedText(const std::string& text) {
    speed = gbkToUtf8(text);
    calls.push_back("setSpeedText(" + speed + ")");
}

void RecordingBatchView::setDownloadButtonEnabled(bool enabled) {
    downloadEnabled = enabled;
    calls.push_back(std::string("setDownloadButtonEnabled(") + (enabled ? "true" : "false") + ")");
}

void RecordingBatchView::setTimerPeriods(std::int32_t progressMs, std::int32_t speedMs) {
    progressPeriod = progressMs;
    speedPeriod = speedMs;
    calls.push_back("setTimerPeriods(" + std::to_string(progressMs) + "," +
                    std::to_string(speedMs) + ")");
}

void RecordingBatchView::ensureAnimationPicture() {
    animationLoaded = true;
    calls.push_back("ensureAnimationPicture()");
}

void RecordingBatchView::setAnimationPlaying(bool playing) {
    animationPlaying = playing;
    calls.push_back(std::string("setAnimationPlaying(") + (playing ? "true" : "false") + ")");
}

void RecordingBatchView::showMessage(const std::string& text) {
    messages.push_back(gbkToUtf8(text));
    calls.push_back("showMessage(" + messages.back() + ")");
}

bool RecordingBatchView::askYesNo(const std::string& text, const std::string& title) {
    calls.push_back("askYesNo(" + gbkToUtf8(text) + "," + gbkToUtf8(title) + ")");
    return answerYes;
}

} // namespace tarnis
