#pragma once

#include "bitmap/pixel_rows.h"

#include <QFutureWatcher>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tesselor {

// Work on a worker thread while the window stays responsive, shown as a caption, a progress bar and
// Cancel. One piece of work at a time: starting another stops the one running first. The bar appears
// only for work that lasts, so that a small image does not flicker it.
class WorkProgress : public QWidget {
    Q_OBJECT
public:
    explicit WorkProgress(QWidget* parent = nullptr);
    ~WorkProgress() override;

    // Runs work(progress) on a worker thread, the rows it reads reporting to progress. Then, here:
    // done(result), or failed(message) when it threw; cancelled() when the user pressed Cancel, nothing
    // when other work or the owner's end cancelled it.
    template <class Result>
    void start(const QString& caption, std::function<Result(const Progress&)> work,
               std::function<void(Result)> done, std::function<void(const std::string&)> failed,
               std::function<void()> cancelled = {});

    // Stops the running work and waits until it has; its result is dropped.
    void cancel();
    // Waits until the running work is done; its result is dropped.
    void finish();
    bool isBusy() const { return running_ != nullptr; }

    QLabel* lblWork;
    QProgressBar* pbWork;
    QPushButton* btnCancel;

private:
    struct Shared {
        std::atomic<bool> stop{false};
        std::atomic<int> pass{0};
        std::atomic<int> percent{0}; // of the pass
    };
    template <class Result> struct Outcome {
        std::optional<Result> result;
        std::string failure;
        bool cancelled = false;
    };

    void begin(const QString& caption, std::shared_ptr<Shared> shared, QFutureWatcherBase* watcher,
               std::function<void()> cancelled);
    // True when the finished work is the one running (not one cancelled before); it ends it.
    bool end(const std::shared_ptr<Shared>& shared);
    void showProgress();

    std::shared_ptr<Shared> shared_;
    QFutureWatcherBase* running_ = nullptr;
    std::function<void()> cancelled_;
    QTimer* timer_;
    QString caption_;
    int ticks_ = 0;
};

template <class Result>
void WorkProgress::start(const QString& caption, std::function<Result(const Progress&)> work,
                         std::function<void(Result)> done, std::function<void(const std::string&)> failed,
                         std::function<void()> cancelled) {
    cancel();
    auto shared = std::make_shared<Shared>();
    auto* watcher = new QFutureWatcher<Outcome<Result>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, shared, done, failed] {
        watcher->deleteLater();
        Outcome<Result> outcome = watcher->future().takeResult();
        if (!end(shared) || outcome.cancelled)
            return;
        if (outcome.result)
            done(std::move(*outcome.result));
        else
            failed(outcome.failure);
    });
    begin(caption, shared, watcher, std::move(cancelled));
    watcher->setFuture(QtConcurrent::run([shared, work = std::move(work)] {
        Outcome<Result> outcome;
        const Progress progress = [&shared](int pass, long long part, long long total) {
            shared->pass = pass;
            shared->percent = static_cast<int>(100 * part / std::max(total, 1LL));
            return !shared->stop;
        };
        try {
            outcome.result = work(progress);
        } catch (const Cancelled&) {
            outcome.cancelled = true;
        } catch (const std::bad_alloc&) {
            outcome.failure = "There is not enough memory for this command";
        } catch (const std::exception& error) {
            outcome.failure = error.what();
        }
        return outcome;
    }));
}

} // namespace tesselor
