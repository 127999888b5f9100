#include "tests/support/TestSupport.h"

namespace tz4::test {

QString builtProgram(const QString& name)
{
    const QByteArray dir = qgetenv("TZ4_BINARY_DIR");
    return QDir(dir.isEmpty() ? QStringLiteral(TZ4_BINARY_DIR) : QString::fromLocal8Bit(dir))
        .filePath(QStringLiteral("app/") + name);
}

} // namespace tz4::test
