#include "data/DatabaseWait.h"

#include "core/OwnTexts.h"

#include <algorithm>
#include <thread>

namespace tz4 {

namespace {

std::chrono::milliseconds waitTimeOut = DatabaseWait::DefaultTimeOut;
DatabaseWait::Notice waitNotice;
std::function<bool()> stopQuestion;

} // namespace

std::chrono::milliseconds DatabaseWait::timeOut() { return waitTimeOut; }

void DatabaseWait::setTimeOut(std::chrono::milliseconds timeOut) { waitTimeOut = std::max(timeOut, std::chrono::milliseconds(0)); }

void DatabaseWait::setNotice(Notice notice) { waitNotice = std::move(notice); }

void DatabaseWait::notify(const QString& text)
{
    if (waitNotice)
        waitNotice(text);
}

void DatabaseWait::setStopRequest(std::function<bool()> stopRequested) { stopQuestion = std::move(stopRequested); }

bool DatabaseWait::stopRequested() { return stopQuestion && stopQuestion(); }

DatabaseWait::ShortWait::ShortWait(std::chrono::milliseconds limit) : previous_(waitTimeOut)
{
    waitTimeOut = std::min(waitTimeOut, limit);
}

DatabaseWait::ShortWait::~ShortWait() { waitTimeOut = previous_; }

DatabaseWait::StopDeferred::StopDeferred() : deferred_(std::move(stopQuestion)) { stopQuestion = nullptr; }

DatabaseWait::StopDeferred::~StopDeferred() { stopQuestion = std::move(deferred_); }

bool DatabaseWait::waitOnce(int attempt, std::chrono::steady_clock::time_point& since)
{
    using namespace std::chrono;
    const auto now = steady_clock::now();
    if (attempt == 0)
        since = now;
    if (stopRequested())
        return false;
    const auto waited = duration_cast<milliseconds>(now - since);
    if (waited >= waitTimeOut)
        return false;
    // Said once per wait, when it has lasted long enough for a person to wonder.
    static thread_local steady_clock::time_point told;
    if (waited >= NoticeAfter && told != since) {
        told = since;
        const auto seconds = duration_cast<std::chrono::seconds>(waitTimeOut + milliseconds(999)).count();
        notify(ownText(OwnText::DatabaseBusy, {qint64(seconds)}));
    }
    // Short steps first, so a lock held for a moment costs a moment; then a tenth of a second.
    static constexpr int steps[] = {1, 2, 5, 10, 20, 50};
    const milliseconds step(attempt < int(std::size(steps)) ? steps[attempt] : 100);
    std::this_thread::sleep_for(std::min(step, waitTimeOut - waited));
    return true;
}

} // namespace tz4
