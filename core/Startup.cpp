#include "core/Startup.h"

#include "core/CautionLog.h"
#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/SystemFile.h"
#include "core/SystemParam.h"

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
        qint64 pid = 0;
        QString host, application;
        // Only a lock that names its owner is another copy; anything else is a file problem.
        if (lock->error() == QLockFile::LockFailedError && lock->getLockInfo(&pid, &host, &application))
            showCatalogMessage(4003, 4001, MessageIcon::Critical);
        else
            ShowErrorMessage(QStringLiteral("frmOpen"), QStringLiteral("Form_Load"),
                             Tz4Error(lock->error() == QLockFile::PermissionError ? err::PermissionDenied : 75,
                                      (lock->error() == QLockFile::PermissionError ? QStringLiteral("Permission denied: ")
                                                                                   : QStringLiteral("Path/File access error: "))
                                          + dataFilePath(QStringLiteral("tz4.lock"))));
        return false;
    }
    lock_ = std::move(lock);

    if (const auto details = unsupportedPlatformDetails())
        showCatalogMessage(4005, 4004, MessageIcon::Critical, MessageButtons::Ok, *details);

    InitSystemParam();
    if (!ChkSystemFile()) {
        release();
        return false;
    }

    // The hook creates a missing database and keeps an existing one's indexes current.
    databaseReady_ = createDatabase_ ? createDatabase_(dataDirectory()) : QFileInfo::exists(SystemParam().DatabasePath);

    // The log covers one run. Removal is immediate here; if it fails the entries are appended.
    clearCautionLog();
    // The steps above entered procedures of their own; the first entry names the start-up.
    setErrorLocation(QStringLiteral("frmOpen:Form_Load"));
    WriteCautionLog();
    return true;
}

} // namespace tz4
