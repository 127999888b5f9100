#pragma once

#include "mainwin/StatusBar.h"

#include <QWidget>

namespace tz4::gui {

// The status bar of the main window: a progress bar with its caption drawn over it. The
// caption stays readable where the bar has filled by switching to the bar's contrast colour.
class uclTz4DataBar final : public QWidget, public StatusBar {
    Q_OBJECT

public:
    explicit uclTz4DataBar(QWidget* parent = nullptr);

    void Refresh() override;
    QSize sizeHint() const override;

    // The filled share of the bar, 0 to 1.
    double filledFraction() const;

protected:
    void changed() override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tz4::gui
