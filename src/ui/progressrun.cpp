#include "ui/progressrun.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
int showAfterMs = 1000;
qint64 updateMs = 50;
} // namespace

void ProgressRun::SetTiming(int showAfter, int update)
{
    showAfterMs = showAfter;
    updateMs = update;
}

ProgressRun::ProgressRun(QWidget* parent, QString word) : parent_(parent), word_(std::move(word))
{
    since_.start();
}

ProgressRun::~ProgressRun() = default;

void ProgressRun::Show(int done, int total)
{
    if (stopped_)
        throw RunStopped(done);
    const qint64 now = since_.elapsed();
    if (now < showAfterMs || (lastUpdate_ >= 0 && now - lastUpdate_ < updateMs))
        return;
    lastUpdate_ = now;
    Update(done, total);
    if (stopped_)
        throw RunStopped(done);
}

void ProgressRun::Update(int done, int total)
{
    if (!dialog_) {
        dialog_ = std::make_unique<QProgressDialog>(parent_);
        dialog_->setObjectName(QStringLiteral("Progress"));
        dialog_->setWindowTitle(QStringLiteral("Pelkorin"));
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setMinimumDuration(0);
        dialog_->setCancelButtonText(QStringLiteral("中止"));
        QObject::connect(dialog_.get(), &QProgressDialog::canceled, [this] { stopped_ = true; });
        dialog_->show();
    }
    dialog_->setMaximum(total);
    dialog_->setValue(done);
    dialog_->setLabelText(word_ + QStringLiteral(" ") + QString::number(done) + QStringLiteral(" / ") +
                          QString::number(total));
    QCoreApplication::processEvents();
}
