#include "app/app_state.h"

namespace tarnis {

AppState& appState() {
    // Never destroyed: a component thread that ends during process exit may still
    // record its TaskEnded here.
    static AppState* state = new AppState;
    return *state;
}

DownloadTask startTaskTemplate() {
    // The record's own defaults are the start values the program hands the component.
    return DownloadTask{};
}

void startUp(std::unique_ptr<DownloadComponent> downloader) {
    AppState& state = appState();
    state.downloader = std::move(downloader);
    state.urlList.clear();
    state.saveFolder.clear();
    state.currentIndex = 0;
    state.taskFinished = 0;
    state.isDownloading = 0;
    state.currentFileSize = 0.0;
    state.currentUrl.clear();
    state.taskTemplate = startTaskTemplate();
}

void shutdown() {
    AppState& state = appState();
    if (state.downloader) {
        state.downloader->destroy();
        // Releasing the component joins its threads, so after this no callback can run.
        state.downloader.reset();
    }
    state.saveFolder.clear();
    state.urlList.clear();
    state.urlList.shrink_to_fit();
    state.currentUrl.clear();
    state.taskTemplate = startTaskTemplate();
}

} // namespace tarnis
