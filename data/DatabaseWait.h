#pragma once

#include <QString>

#include <chrono>
#include <functional>

namespace tz4 {

// What every connection of this process does when another process holds the database: it
// waits up to the time-out, tells the user once the wait outlasts a moment, and gives up
// early when a stop (Ctrl-C, SIGTERM) was asked for. A stop also ends any statement that runs.
// Process-wide; the program sets it once at start.
class DatabaseWait {
public:
    using Notice = std::function<void(const QString& text)>;

    // Long enough for another program's export, import or repair to end.
    static constexpr std::chrono::milliseconds DefaultTimeOut{60000};
    // A wait shorter than this is not worth a word.
    static constexpr std::chrono::milliseconds NoticeAfter{500};

    static std::chrono::milliseconds timeOut();
    static void setTimeOut(std::chrono::milliseconds timeOut);

    // Called with the text to show when a wait outlasts NoticeAfter; none by default.
    static void setNotice(Notice notice);
    static void notify(const QString& text);

    // The question whether a stop was asked for; none by default.
    static void setStopRequest(std::function<bool()> stopRequested);
    static bool stopRequested();

    // For its lifetime, waits are no longer than `limit`: for work not worth a long wait.
    class ShortWait {
    public:
        explicit ShortWait(std::chrono::milliseconds limit);
        ~ShortWait();
        ShortWait(const ShortWait&) = delete;
        ShortWait& operator=(const ShortWait&) = delete;

    private:
        std::chrono::milliseconds previous_;
    };

    // For its lifetime, work that must finish although a stop was asked for (a finished
    // measurement written to a file) is not stopped.
    class StopDeferred {
    public:
        StopDeferred();
        ~StopDeferred();
        StopDeferred(const StopDeferred&) = delete;
        StopDeferred& operator=(const StopDeferred&) = delete;

    private:
        std::function<bool()> deferred_;
    };

    // Waits while the database is busy: true to try again, false to give up. `since` is the
    // start of this wait, kept by the caller.
    static bool waitOnce(int attempt, std::chrono::steady_clock::time_point& since);
};

} // namespace tz4
