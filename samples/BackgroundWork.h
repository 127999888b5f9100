#pragma once

#include "core/Tz4Error.h"
#include "data/OperationProgress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QThread;

namespace tz4 {

class ErrorReporter;

// Long database work (import, export, repair) on a thread of its own, so that the windows stay
// responsive while it runs. Its progress arrives on the owner's thread as signals; a message
// box it raises is shown on the owner's thread while the work waits for the answer. One work
// at a time.
class BackgroundWork : public QObject {
    Q_OBJECT

public:
    // Returns false when it failed and has said so itself; throws Tz4Error for a failure the
    // owner is to report.
    using Work = std::function<bool(const OperationProgress& progress)>;

    explicit BackgroundWork(QObject* parent = nullptr);
    // A work still running is finished first.
    ~BackgroundWork() override;

    bool running() const { return bool(thread_); }
    // Starts `work`; false (and nothing starts) while another runs.
    bool start(Work work);
    // Waits until the running work has ended, answering its messages meanwhile; finished()
    // has been emitted when it returns.
    void finish();

    // After finished(): whether the work succeeded, and the failure it threw.
    bool succeeded() const { return succeeded_; }
    const std::optional<Tz4Error>& failure() const { return failure_; }

signals:
    void progressed(const QString& caption, double fraction);
    void finished();

private:
    void ended();
    void report(const QString& caption, double fraction);

    std::unique_ptr<QThread> thread_;
    std::unique_ptr<ErrorReporter> forwarder_;
    ErrorReporter* previousReporter_ = nullptr;
    bool succeeded_ = false;
    std::optional<Tz4Error> failure_;
    // Written by the work's thread only.
    QElapsedTimer lastReport_;
    QString lastCaption_;
};

} // namespace tz4
