// A tick must never hold up typing: 10,000 ticks on a shown window, timing
// the handler alone and the handler with its repaint, and the resident memory
// the process gains over the run (it should be flat: a tick keeps nothing).
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <fstream>

#include "window/DesktopPlatform.h"
#include "window/qt/MainWindowQt.h"
#include "window/qt/PictureBoxQt.h"

namespace {

constexpr int ticks = 10'000;

long residentKiB() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A window as start-up leaves it: shown, Picture1 scaled 1000 x 1000.
struct ShownWindow {
    qadrill::DesktopPlatform platform;
    qadrill::MainWindow window{platform};
    ShownWindow() {
        auto* picture1 = window.findChild<qadrill::PictureBox*>("Picture1");
        picture1->setScaleHeight(1000);
        picture1->setScaleWidth(1000);
        window.show();
        QCoreApplication::processEvents();
    }
};

void runTicks(benchmark::State& state, bool withRepaint) {
    ShownWindow shown;
    const long before = residentKiB();
    double slowestMs = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        shown.window.tmr_pend_exp_Timer();
        if (withRepaint) QCoreApplication::processEvents();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        slowestMs = std::max(slowestMs, took.count());
    }
    state.counters["slowest_ms"] = slowestMs;
    state.counters["rss_growth_KiB"] = double(residentKiB() - before);
}

void BM_TickHandler(benchmark::State& state) { runTicks(state, false); }
void BM_TickAndRepaint(benchmark::State& state) { runTicks(state, true); }

BENCHMARK(BM_TickHandler)->Iterations(ticks)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickAndRepaint)->Iterations(ticks)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
