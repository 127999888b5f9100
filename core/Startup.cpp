#include "core/Startup.h"

#include "core/CautionLog.h"
#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/SystemFile.h"
#include "core/SystemParam.h"
#include "core/MessageIds.h"

#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

namespace tz4 {

bool platformSupported(const QOperatingSystemVersion& os, bool isLinux)
{
    if (isLinux)
        return true;
    switch (os.type()) {
    case QOperatingSystemVersion::Windows:
        return os >= QOperatingSystemVersion::Windows10;
    case QOperatingSystemVersion::MacOS:
        return true;
    default:
        return false;
    }
}

std::optional<QVariantList> unsupportedPlatformDetails()
{
#ifdef Q_OS_LINUX
    constexpr bool isLinux = true;
#else
    constexpr bool isLinux = false;
#endif
    if (platformSupported(QOperatingSystemVersion::current(), isLinux))
        return std::nullopt;
    return QVariantList{QSysInfo::productType(), QSysInfo::kernelVersion(), QSysInfo::productVersion()};
}

namespace {

// Only a lock that names its owner is another copy; anything else is a file problem.
bool heldByAnotherCopy(const QLockFile& lock)
{
    qint64 pid = 0;
    QString host, application;
    return lock.error() == QLockFile::LockFailedError && lock.getLockInfo(&pid, &host, &application);
}

Tz4Error lockError(const QLockFile& lock)
{
    const QString path = dataFilePath(QStringLiteral("tz4.lock"));
    if (lock.error() == QLockFile::PermissionError)
        return Tz4Error(err::PermissionDenied, QStringLiteral("Permission denied: ") + path);
    return Tz4Error(err::PathFileAccess, QStringLiteral("Path/File access error: ") + path);
}

} // namespace

Startup::Startup(DatabaseHook createDatabase) : createDatabase_(std::move(createDatabase)) {}

Startup::~Startup() = default;

void Startup::release() { lock_.reset(); }

bool Startup::run(const QString& homeOption)
{
    EnterProcedure here("frmOpen:Form_Load");
    try {
        setDataDirectory(resolveDataDirectory(homeOption));
    } catch (const Tz4Error& error) {
        ShowErrorMessage(QStringLiteral("frmOpen"), QStringLiteral("Form_Load"), error);
        return false;
    }

    // One running copy per data directory; a lock left by a crashed copy is taken over.
    auto lock = std::make_unique<QLockFile>(dataFilePath(QStringLiteral("tz4.lock")));
    if (!lock->tryLock(0)) {
        if (heldByAnotherCopy(*lock))
            showCatalogMessage(msg::AlreadyStarted, msg::AlreadyStartedTitle, MessageIcon::Critical);
        else
            ShowErrorMessage(QStringLiteral("frmOpen"), QStringLiteral("Form_Load"), lockError(*lock));
        return false;
    }
    lock_ = std::move(lock);

    if (const auto details = unsupportedPlatformDetails())
        showCatalogMessage(msg::UnsupportedOs, msg::UnsupportedOsTitle, MessageIcon::Critical, MessageButtons::Ok, *details);

    InitSystemParam();
    if (!ChkSystemFile()) {
        release();
        return false;
    }

    // The log covers one run. It is renewed before the database step so that a failure to
    // create the database stays in it. If it cannot be removed the entries are appended.
    clearCautionLog();
    setErrorLocation(QStringLiteral("frmOpen:Form_Load"));
    WriteCautionLog();

    // The hook creates a missing database and keeps an existing one's indexes current.
    databaseReady_ = createDatabase_ ? createDatabase_(dataDirectory()) : QFileInfo::exists(SystemParam().DatabasePath);
    return true;
}

} // namespace tz4
