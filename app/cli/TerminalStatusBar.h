#pragma once

#include "mainwin/StatusBar.h"

#include <QString>

#include <cstdio>

namespace tz4::cli {

// The status bar drawn as one line on standard error: redrawn in place on a terminal, one line
// per new caption otherwise (so logs and pipes stay readable).
class TerminalStatusBar final : public StatusBar {
public:
    explicit TerminalStatusBar(std::FILE* stream = stderr);
    ~TerminalStatusBar() override;

    void Refresh() override { draw(); }
    // Ends the line in place so that following output starts on a fresh line.
    void finishLine();

protected:
    void changed() override { draw(); }

private:
    void draw();

    std::FILE* stream_;
    bool terminal_;
    bool lineOpen_ = false;
    QString lastCaption_;
};

} // namespace tz4::cli
