#include "samples/StatusBarHold.h"

#include "mainwin/MainControl.h"
#include "mainwin/StatusBar.h"

namespace tz4 {

StatusBarHold::StatusBarHold(MainControl* main, const QString& caption) : main_(main)
{
    if (!main_ || main_->status().Locked() != 0)
        return;
    StatusBar& bar = main_->status();
    bar.setLocked(Owner);
    bar.setMin(0);
    bar.setMax(100);
    bar.setValue(0);
    bar.setCaption(caption);
    bar.Refresh();
    held_ = true;
}

StatusBarHold::~StatusBarHold()
{
    if (!held_)
        return;
    main_->showRestingStatus();
    main_->status().setLocked(0);
    main_->status().Refresh();
}

void StatusBarHold::show(const QString& caption, double fraction)
{
    if (!held_ || main_->status().Locked() != Owner)
        return;
    StatusBar& bar = main_->status();
    if (!caption.isEmpty())
        bar.setCaption(caption);
    if (fraction >= 0)
        bar.setValue(float(qBound(0.0, fraction, 1.0) * 100));
}

OperationProgress StatusBarHold::progress(bool repaint)
{
    return [this, repaint](const QString& caption, double fraction) {
        show(caption, fraction);
        if (repaint && held_)
            main_->status().Refresh();
    };
}

} // namespace tz4
