#pragma once
// The progress dialog of a long run: shown once the run has lasted a second, updated at most
// every 50 ms (events are processed only then, so a run of 100,000 files barely notices it),
// and its "中止" makes the next Show throw RunStopped.
#include "base/runstopped.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

class ProgressRun {
public:
    ProgressRun(QWidget* parent, QString word);
    ~ProgressRun();
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;

    // done of total files; throws RunStopped{done} when "中止" was pressed.
    void Show(int done, int total);
    std::function<void(int, int)> Callback() { return [this](int n, int t) { Show(n - 1, t); }; }

    // Tests make the dialog show at once and take every event.
    static void SetTiming(int showAfterMs, int updateMs);

private:
    void Update(int done, int total);

    QWidget* parent_;
    QString word_;
    QElapsedTimer since_;
    qint64 lastUpdate_ = -1;
    std::unique_ptr<QProgressDialog> dialog_;
    bool stopped_ = false;
};

// The box that closes a stopped run.
inline QString StoppedText(int done)
{
    return QStringLiteral("中止しました: ") + QString::number(done) + QStringLiteral("個のファイルを処理しました");
}
