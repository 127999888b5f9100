#include "app/cli/TerminalStatusBar.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace tz4::cli {

TerminalStatusBar::TerminalStatusBar(std::FILE* stream) : stream_(stream), terminal_(isatty(fileno(stream)) == 1) {}

TerminalStatusBar::~TerminalStatusBar() { finishLine(); }

void TerminalStatusBar::finishLine()
{
    if (lineOpen_) {
        std::fputc('\n', stream_);
        std::fflush(stream_);
        lineOpen_ = false;
    }
}

void TerminalStatusBar::draw()
{
    if (Caption().isEmpty())
        return;
    if (!terminal_) {
        if (Caption() == lastCaption_)
            return;
        lastCaption_ = Caption();
        std::fprintf(stream_, "%s\n", qUtf8Printable(Caption()));
        std::fflush(stream_);
        return;
    }
    const double span = double(Max()) - Min();
    const double part = span > 0 ? std::clamp((double(Value()) - Min()) / span, 0.0, 1.0) : 0.0;
    constexpr int Width = 24;
    const int filled = int(std::lround(part * Width));
    const QString bar = QString(filled, QLatin1Char('#')) + QString(Width - filled, QLatin1Char('-'));
    std::fprintf(stream_, "\r\033[K[%s] %3d%% %s", qUtf8Printable(bar), int(std::lround(part * 100)),
                 qUtf8Printable(Caption()));
    std::fflush(stream_);
    lineOpen_ = true;
}

} // namespace tz4::cli
