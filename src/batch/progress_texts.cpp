#include "batch/progress_texts.h"

#include "app/app_state.h"
#include "platform/file_size.h"
#include "platform/gbk_text.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace tarnis {
namespace {

double percentOf(std::int64_t done, double total) {
    const double fraction = static_cast<double>(done) / total;
    return fraction * 100;
}

// The bar takes an integer; a stale total from the previous file can make the percentage
// huge, and an unknown total makes it infinite or NaN, neither of which fits an integer.
std::int32_t barPosition(double rounded) {
    if (!std::isfinite(rounded))
        return 0;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::fmax(lowest, std::fmin(highest, rounded)));
}

// The fixed texts, converted to GBK once rather than on every tick.
struct FixedTexts {
    std::string statusPrefix = "正在下载...已完成："_gbk;
    std::string downloadedPrefix = "已经下载："_gbk;
    std::string localSizePrefix = "KB(文件总大小："_gbk;
    std::string saveFolderPrefix = "下载保存到："_gbk;
    std::string speedPrefix = "下载速度："_gbk;
    std::string speedSuffix = "KB/1秒"_gbk;
};

const FixedTexts& texts() {
    static const FixedTexts fixed;
    return fixed;
}

double kilobytes(std::int64_t bytes) {
    return roundNumber(static_cast<double>(bytes) / 1024);
}

} // namespace

double roundNumber(double x) {
    if (x == 0 || std::isnan(x))
        return x;
    const double nudged = std::fabs(x) + 1e-12;
    double whole = 0;
    const double fraction = std::modf(nudged, &whole);
    const double magnitude = fraction >= 0.5 ? whole + 1 : whole;
    return std::copysign(magnitude, x);
}

std::string realToText(double x) {
    if (x == 0)
        return "0";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.13g", x);
    return buffer;
}

void refreshProgressTexts(BatchView& view) {
    AppState& state = appState();
    DownloadComponent& downloader = *state.downloader;
    const double total = state.currentFileSize;

    if (std::fabs(total) > 1e-7) {
        const double percent = percentOf(downloader.doneLength(), total);
        view.setStatusText(texts().statusPrefix + realToText(roundNumber(percent)) + "%");
    } else {
        view.setStatusText(texts().statusPrefix + "0%");
    }

    view.setProgressPosition(barPosition(roundNumber(percentOf(downloader.doneLength(), total))));

    // A missing file (-1) rounds to negative zero, which shows as 0.
    const double localKilobytes = kilobytes(fileSizeOf(downloader.localFilePath()));
    const auto totalKilobytes = static_cast<long long>(localKilobytes);
    const double doneKilobytes = kilobytes(downloader.doneLength());
    view.setDownloadedText(texts().downloadedPrefix + realToText(doneKilobytes) +
                           texts().localSizePrefix + std::to_string(totalKilobytes) + "KB)");

    view.setSaveFolderText(texts().saveFolderPrefix + state.saveFolder);
}

void onSpeedTick(BatchView& view) {
    if (view.isDownloadButtonEnabled())
        return;
    const std::int64_t bytes = appState().downloader->speed();
    view.setSpeedText(texts().speedPrefix + realToText(kilobytes(bytes)) + texts().speedSuffix);
}

} // namespace tarnis
