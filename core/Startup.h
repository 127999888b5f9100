#pragma once

#include <QOperatingSystemVersion>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>

class QLockFile;

namespace tz4 {

// True for the platforms the program runs on without a warning: Linux, Windows 10 and later,
// macOS.
bool platformSupported(const QOperatingSystemVersion& os, bool isLinux);

// The arguments of message 4005 (platform, build, version) when this platform is not
// supported; nothing when it is.
std::optional<QVariantList> unsupportedPlatformDetails();

// The road from program start to the main window, without windows: one running copy per data
// directory, the platform check, default system parameters, the settings file validated, the
// database created when missing and a fresh Caution.log. The instance lock is held until the
// object is destroyed.
class Startup {
public:
    // `createDatabase` makes the database in the given directory when it is missing; true when
    // the database is usable.
    using DatabaseHook = std::function<bool(const QString& dataDir)>;

    explicit Startup(DatabaseHook createDatabase = {});
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    // Runs the steps for the data directory named by `homeOption` (see DataDirectory). False
    // when the program must end: a copy already runs, the directory cannot be made, or the
    // settings file is invalid; the reason has been shown through the reporter.
    bool run(const QString& homeOption = {});

    bool databaseReady() const { return databaseReady_; }

    // Lets another copy start: the lock is given up before this object goes away.
    void release();

private:
    DatabaseHook createDatabase_;
    std::unique_ptr<QLockFile> lock_;
    bool databaseReady_ = false;
};

} // namespace tz4
