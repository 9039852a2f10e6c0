#include "editor/work_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace tesselor {

namespace {
constexpr int kTickMs = 100;
constexpr int kQuietTicks = 3; // work shorter than this shows no bar
} // namespace

WorkProgress::WorkProgress(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    setObjectName("WorkProgress");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    lblWork = new QLabel(this);
    lblWork->setObjectName("lblWork");
    layout->addWidget(lblWork);
    pbWork = new QProgressBar(this);
    pbWork->setObjectName("pbWork");
    pbWork->setRange(0, 100);
    pbWork->setFixedWidth(140);
    layout->addWidget(pbWork);
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("btnCancel");
    layout->addWidget(btnCancel);
    hide();
    timer_->setInterval(kTickMs);
    connect(timer_, &QTimer::timeout, this, &WorkProgress::showProgress);
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        const std::function<void()> cancelled = cancelled_;
        if (!isBusy())
            return;
        cancel();
        if (cancelled)
            cancelled();
    });
}

WorkProgress::~WorkProgress() {
    cancel();
}

void WorkProgress::begin(const QString& caption, std::shared_ptr<Shared> shared, QFutureWatcherBase* watcher,
                         std::function<void()> cancelled) {
    shared_ = std::move(shared);
    running_ = watcher;
    caption_ = caption;
    cancelled_ = std::move(cancelled);
    ticks_ = 0;
    timer_->start();
}

bool WorkProgress::end(const std::shared_ptr<Shared>& shared) {
    if (shared != shared_)
        return false;
    shared_.reset();
    running_ = nullptr;
    cancelled_ = nullptr;
    timer_->stop();
    hide();
    return true;
}

void WorkProgress::cancel() {
    if (running_)
        shared_->stop = true;
    finish();
}

void WorkProgress::finish() {
    if (!running_)
        return;
    running_->waitForFinished();
    // The watcher's own finished signal is still to come; it finds other work running, or none.
    end(shared_);
}

void WorkProgress::showProgress() {
    if (!shared_ || ++ticks_ < kQuietTicks)
        return;
    const int pass = shared_->pass;
    lblWork->setText(pass == 0 ? caption_ : caption_ + ", pass " + QString::number(pass + 1));
    pbWork->setValue(shared_->percent);
    // Room for the whole caption, which the row would otherwise squeeze.
    lblWork->setMinimumWidth(lblWork->sizeHint().width());
    show();
}

} // namespace tesselor
