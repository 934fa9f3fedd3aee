// Deleting 100,000 selected files through the window, against a bare loop of unlink over
// the same number of files in the same folder. "ratio" is the window's time over the bare
// loop's, summed over the iterations; it may be at most 1.1.
#include "bench/benchsupport.h"
#include "filelist/widgets/namelistview.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {
constexpr int kFiles = 100000;
using Clock = std::chrono::steady_clock;

void MakeFiles(const std::string& folder)
{
    char name[64];
    for (int i = 0; i < kFiles; ++i) {
        std::snprintf(name, sizeof name, "/d%06d.jpg", i);
        const int fd = open((folder + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0)
            throw std::runtime_error("cannot create bench files");
        close(fd);
    }
}

double BareUnlinkLoop(const std::string& folder)
{
    const auto start = Clock::now();
    char name[64];
    for (int i = 0; i < kFiles; ++i) {
        std::snprintf(name, sizeof name, "d%06d.jpg", i);
        const std::string path = folder + "/" + name;
        benchmark::DoNotOptimize(unlink(path.c_str()));
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Clicks "はい(&Y)" of the question as soon as it is open.
void AnswerYesWhenAsked(QObject* owner)
{
    auto* timer = new QTimer(owner);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !box->defaultButton())
            return;
        box->defaultButton()->click();
        timer->stop();
        timer->deleteLater();
    });
    timer->start();
}

void BM_DeleteAllVersusBareUnlink(benchmark::State& state)
{
    const std::string folder = MakeBenchFolder("delete", 0, "", "");
    Windows w = StartOn(folder);
    TMain* m = w.Main.get();
    m->show();
    double window = 0, bare = 0;
    long left = 0;
    for (auto _ : state) {
        MakeFiles(folder);
        bare += BareUnlinkLoop(folder);

        MakeFiles(folder);
        Control<QPushButton>(m, "Button11")->click();
        Control<QPushButton>(m, "Button3")->click();
        AnswerYesWhenAsked(m);
        const auto start = Clock::now();
        Control<QPushButton>(m, "Button8")->click();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        window += seconds;
        state.SetIterationTime(seconds);
        left += Control<NameListView>(m, "oldfile")->rowCount();
    }
    state.counters["window_s"] = window;
    state.counters["bare_s"] = bare;
    ReportRatio(state, window, bare, 1.1);
    state.counters["left"] = static_cast<double>(left); // files the window failed to delete
}
BENCHMARK(BM_DeleteAllVersusBareUnlink)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace
