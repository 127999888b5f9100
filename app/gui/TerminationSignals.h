#pragma once

#include <QObject>

namespace tz4::gui {

// Turns SIGTERM, SIGINT and SIGHUP into an orderly close of every window, so that a program
// stopped from a terminal or by the session still writes its settings file.
class TerminationSignals final : public QObject {
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
};

} // namespace tz4::gui
