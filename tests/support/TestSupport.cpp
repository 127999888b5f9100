#include "tests/support/TestSupport.h"

namespace tz4::test {

namespace {

QDir binaryDir()
{
    const QByteArray dir = qgetenv("TZ4_BINARY_DIR");
    return QDir(dir.isEmpty() ? QStringLiteral(TZ4_BINARY_DIR) : QString::fromLocal8Bit(dir));
}

} // namespace

QString builtProgram(const QString& name)
{
    return binaryDir().filePath(QStringLiteral("app/") + name);
}

QString builtHelper(const QString& name)
{
    return binaryDir().filePath(QStringLiteral("tests/") + name);
}

} // namespace tz4::test
