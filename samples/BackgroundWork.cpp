#include "samples/BackgroundWork.h"

#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

namespace tz4 {

namespace {

// Progress faster than this is not worth a repaint; a caption that changes is always shown.
constexpr qint64 ReportEveryMs = 40;
constexpr unsigned long PollMs = 10;

// The reporter while a work runs: messages from the work's thread are shown by the reporter
// in force on the owner's thread, which the work waits for.
class ForwardingReporter final : public ErrorReporter {
public:
    ForwardingReporter(ErrorReporter& inner, QObject& home) : inner_(inner), home_(&home) {}

    MessageAnswer showMessage(const QString& text, const QString& title, MessageIcon icon,
                              MessageButtons buttons) override
    {
        if (QThread::currentThread() == home_->thread())
            return inner_.showMessage(text, title, icon, buttons);
        MessageAnswer answer = MessageAnswer::No;
        QMetaObject::invokeMethod(
            home_, [&] { answer = inner_.showMessage(text, title, icon, buttons); }, Qt::BlockingQueuedConnection);
        return answer;
    }

    void stopAsking() override { inner_.stopAsking(); }

private:
    ErrorReporter& inner_;
    QPointer<QObject> home_;
};

} // namespace

BackgroundWork::BackgroundWork(QObject* parent) : QObject(parent) {}

BackgroundWork::~BackgroundWork()
{
    // Whoever listened is going away too.
    blockSignals(true);
    finish();
}

bool BackgroundWork::start(Work work)
{
    if (thread_)
        return false;
    succeeded_ = false;
    failure_.reset();
    lastCaption_.clear();
    lastReport_.invalidate();
    previousReporter_ = &errorReporter();
    forwarder_ = std::make_unique<ForwardingReporter>(*previousReporter_, *this);
    setErrorReporter(forwarder_.get());
    thread_.reset(QThread::create([this, work = std::move(work)] {
        bool ok = false;
        try {
            ok = work([this](const QString& caption, double fraction) { report(caption, fraction); });
        } catch (...) {
            failure_ = currentError();
        }
        succeeded_ = ok && !failure_;
    }));
    connect(thread_.get(), &QThread::finished, this, &BackgroundWork::ended, Qt::QueuedConnection);
    thread_->start();
    return true;
}

// Called on the work's thread: passes on a new caption at once, a moving bar now and then.
void BackgroundWork::report(const QString& caption, double fraction)
{
    const bool newCaption = !caption.isEmpty() && caption != lastCaption_;
    if (!newCaption && fraction < 1 && lastReport_.isValid() && lastReport_.elapsed() < ReportEveryMs)
        return;
    if (!caption.isEmpty())
        lastCaption_ = caption;
    lastReport_.start();
    // Posted to this object, so that progress still queued when the work ends can be dropped.
    QMetaObject::invokeMethod(
        this, [this, caption, fraction] { emit progressed(caption, fraction); }, Qt::QueuedConnection);
}

void BackgroundWork::finish()
{
    // The work may be waiting for an answer from this thread.
    while (thread_ && !thread_->wait(PollMs))
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    ended();
}

void BackgroundWork::ended()
{
    if (!thread_)
        return;
    // The thread has said it is finished; it is at most returning.
    thread_->wait();
    thread_.reset();
    // Another reporter installed meanwhile (a test's) stays.
    if (&errorReporter() == forwarder_.get())
        setErrorReporter(previousReporter_);
    forwarder_.reset();
    // Progress still queued is stale once the work has ended.
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    emit finished();
}

} // namespace tz4
