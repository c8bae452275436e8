// Downloads one address with the download component and prints how long it took, for the
// side-by-side runs of bench/run.sh.
//   tarnis_fetch [--connections N] [--buffer BYTES] [--block BYTES] [--out FOLDER] URL

#include "download/download_component.h"
#include "download/download_event.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::atomic<bool> g_ended{false};
std::atomic<std::int64_t> g_total{-1};
std::atomic<std::int64_t> g_endValue{0};

std::int32_t onEvent(std::int32_t code, std::int32_t, std::int64_t value, std::int64_t,
                     std::int32_t) {
    if (code == static_cast<std::int32_t>(tarnis::DownloadEvent::TotalSize))
        g_total = value;
    if (code == static_cast<std::int32_t>(tarnis::DownloadEvent::TaskEnded)) {
        g_endValue = value;
        g_ended = true;
    }
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: tarnis_fetch [--connections N] [--buffer BYTES] "
                         "[--block BYTES] [--out FOLDER] URL\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int connections = 1;
    int buffer = 0; // 0 keeps the component's default
    int block = 20480;
    std::string out = ".";
    std::string url;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--connections" && hasValue)
            connections = std::atoi(argv[++i]);
        else if (arg == "--buffer" && hasValue)
            buffer = std::atoi(argv[++i]);
        else if (arg == "--block" && hasValue)
            block = std::atoi(argv[++i]);
        else if (arg == "--out" && hasValue)
            out = argv[++i];
        else if (url.empty() && arg.rfind("--", 0) != 0)
            url = arg;
        else
            return usage();
    }
    if (url.empty())
        return usage();

    tarnis::setNetworkOptions(buffer, 1, 5);
    auto component = tarnis::makeDownloadComponent();
    tarnis::DownloadTask task;
    task.mode = tarnis::kDownloadMode;
    task.url = url; // ASCII addresses read the same in GBK
    task.savePath = out + "/";
    task.connectionCount = connections;
    task.receiveBlockSize = block;
    task.eventCallback = &onEvent;

    const auto start = std::chrono::steady_clock::now();
    if (!component->addTask(task)) {
        std::fprintf(stderr, "tarnis_fetch: the address was refused\n");
        return 1;
    }
    while (!g_ended)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::int64_t bytes = g_endValue;
    const bool complete = g_total >= 0 && bytes == g_total;
    std::printf("%.3f s  %lld bytes  %.1f MiB/s%s\n", seconds, static_cast<long long>(bytes),
                static_cast<double>(bytes) / (1024.0 * 1024.0) / seconds,
                complete ? "" : "  (incomplete)");
    return complete ? 0 : 1;
}
