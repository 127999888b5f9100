#include "instrument/PortAccess.h"

#include "core/MessageIds.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>
#endif

namespace tz4 {

namespace {

// The group Debian gives serial devices.
const char* const SerialGroup = "dialout";

#ifdef Q_OS_UNIX
QString userName()
{
    if (const passwd* user = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(user->pw_name);
    return QString::number(::geteuid());
}

// The group whose members may read and write the device; a device only its owner may use
// (or root's) gets the usual serial group named instead.
const group* deviceGroup(const QString& path)
{
    struct stat st {};
    const bool groupUses = ::stat(QFile::encodeName(path).constData(), &st) == 0 && st.st_gid != 0
        && (st.st_mode & S_IRGRP) != 0 && (st.st_mode & S_IWGRP) != 0;
    if (groupUses)
        if (const group* owner = ::getgrgid(st.st_gid))
            return owner;
    return ::getgrnam(SerialGroup);
}

bool listedInGroup(const group& g)
{
    const passwd* user = ::getpwuid(::geteuid());
    if (!user)
        return false;
    if (user->pw_gid == g.gr_gid)
        return true;
    for (char** member = g.gr_mem; member && *member; ++member)
        if (qstrcmp(*member, user->pw_name) == 0)
            return true;
    return false;
}

bool processHasGroup(gid_t gid)
{
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int got = ::getgroups(count, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[size_t(i)] == gid)
            return true;
    return false;
}
#endif

} // namespace

CatalogText permissionProblem(const QString& path)
{
#ifdef Q_OS_UNIX
    const QString user = userName();
    const group* g = deviceGroup(path);
    const QString groupName = g ? QString::fromLocal8Bit(g->gr_name) : QLatin1String(SerialGroup);
    if (g && listedInGroup(*g) && !processHasGroup(g->gr_gid))
        return {msg::PortNoPermissionUntilLogin, {path, groupName, user}};
    return {msg::PortNoPermission,
            {path, groupName, user, QStringLiteral("sudo adduser %1 %2").arg(user, groupName)}};
#else
    // Windows denies a port that another program holds; there are no groups to join.
    return {msg::PortBusy, {path}};
#endif
}

} // namespace tz4
