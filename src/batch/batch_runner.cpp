#include "batch/batch_runner.h"

#include "app/app_state.h"
#include "batch/address_trim.h"
#include "batch/progress_texts.h"
#include "download/download_event.h"
#include "platform/gbk_text.h"

namespace tarnis {

void startBatch(BatchView& view) {
    AppState& state = appState();
    view.ensureAnimationPicture();
    view.setAnimationPlaying(true);
    state.isDownloading = 1;
    view.setTimerPeriods(100, 1000);
    view.setDownloadButtonEnabled(false);
    state.currentIndex = 1;
    state.taskFinished = 0;
    startCurrentTask();
}

void startCurrentTask() {
    AppState& state = appState();
    const std::string& entry = state.urlList[static_cast<std::size_t>(state.currentIndex - 1)];
    state.currentUrl = trimAddress(entry);

    DownloadTask& task = state.taskTemplate;
    task.mode = kDownloadMode;
    task.url = state.currentUrl;
    task.speedLimit = 0;
    task.stopWait = 1000;
    task.connectionCount = 1;
    task.savePath = state.saveFolder + "/";
    task.connectTimeout = 5000;
    task.sendTimeout = 5001;
    task.receiveTimeout = 10000;
    task.receiveBlockSize = 10240;
    task.eventCallback = &onDownloadEvent;

    // A refused task (an address the component cannot handle, or one that is blank after
    // trimming) never delivers TaskEnded; count it as ended so the next tick moves on
    // instead of waiting forever.
    const bool accepted = !state.currentUrl.empty() && state.downloader->addTask(task);
    if (!accepted)
        state.taskFinished = 1;
}

std::int32_t onDownloadEvent(std::int32_t code, std::int32_t, std::int64_t value, std::int64_t,
                             std::int32_t) {
    AppState& state = appState();
    if (code == static_cast<std::int32_t>(DownloadEvent::TotalSize))
        state.currentFileSize = static_cast<double>(value);
    else if (code == static_cast<std::int32_t>(DownloadEvent::TaskEnded))
        state.taskFinished = 1;
    return static_cast<std::int32_t>(FileExistsAnswer::ChooseFreeName);
}

void onProgressTick(BatchView& view) {
    AppState& state = appState();
    if (!view.isDownloadButtonEnabled())
        refreshProgressTexts(view);
    if (state.taskFinished != 1)
        return;

    if (static_cast<std::size_t>(state.currentIndex) < state.urlList.size()) {
        state.taskFinished = 0;
        state.currentIndex += 1;
        startCurrentTask();
        return;
    }

    view.setStatusText("等候指令……"_gbk);
    state.taskFinished = 0;
    view.setTimerPeriods(0, 0);
    state.isDownloading = 0;
    view.ensureAnimationPicture();
    view.setAnimationPlaying(false);
    view.setDownloadButtonEnabled(true);
    view.showMessage("下载完毕!"_gbk);
}

} // namespace tarnis
