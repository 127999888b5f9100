#pragma once

#include <QObject>

namespace tz4::gui {

// Turns SIGTERM, SIGINT and SIGHUP into an orderly close of every window, so that a program
// stopped from a terminal or by the session still writes its settings file.
class TerminationSignals final : public QObject {
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // True once a termination signal has arrived.
    static bool requested();
};

} // namespace tz4::gui
