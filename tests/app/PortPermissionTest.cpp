#include "tests/app/HeadlessRun.h"
#include "tests/support/SimulatorPty.h"

#include <QFile>
#include <QStandardPaths>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace tz4;
using tz4::test::HeadlessRun;

namespace {

// The program run as the unprivileged user "nobody", as a lab's operator runs it; the test
// itself must be root (as CI is) to make device nodes and to change user.
class AsUnprivilegedUser : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root: the program runs as another user on a device node the test makes";
        const passwd* user = ::getpwnam("nobody");
        setpriv_ = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (!user || setpriv_.isEmpty())
            GTEST_SKIP() << "needs the user nobody and setpriv (util-linux)";
        uid_ = user->pw_uid;
        primaryGid_ = user->pw_gid;
        ASSERT_TRUE(home.isValid() && nodes.isValid());
        ASSERT_EQ(::chown(QFile::encodeName(home.path()).constData(), uid_, primaryGid_), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(nodes.path()).constData(), 0755), 0);
        if (run({QStringLiteral("--version")}, primaryGid_).exitCode != 0)
            GTEST_SKIP() << "nobody cannot run " << test::builtProgram(QStringLiteral("tz4")).toStdString()
                         << " (a build tree others may not read)";
    }

    // A character device for the simulator's terminal, owned by root and `gid` with `mode`.
    QString deviceNode(const QString& terminal, gid_t gid, mode_t mode)
    {
        struct stat st {};
        if (::stat(QFile::encodeName(terminal).constData(), &st) != 0)
            return {};
        const QString node = nodes.filePath(QStringLiteral("ttyUSB-tz4"));
        const QByteArray path = QFile::encodeName(node);
        if (::mknod(path.constData(), S_IFCHR | mode, st.st_rdev) != 0 || ::chown(path.constData(), 0, gid) != 0
            || ::chmod(path.constData(), mode) != 0)
            return {};
        return node;
    }

    HeadlessRun run(const QStringList& args, gid_t gid) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(setpriv_, QStringList{QStringLiteral("--reuid=%1").arg(uid_), QStringLiteral("--regid=%1").arg(gid),
                                            QStringLiteral("--clear-groups"), QStringLiteral("--"),
                                            test::builtProgram(QStringLiteral("tz4")), QStringLiteral("--home"), home.path()}
                                    + args);
        HeadlessRun result;
        if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QTemporaryDir home;
    QTemporaryDir nodes;
    QString setpriv_;
    uid_t uid_ = 0;
    gid_t primaryGid_ = 0;
};

} // namespace

TEST_F(AsUnprivilegedUser, APortTheUserMayNotOpenSaysToJoinDialoutAndLogInAgain)
{
    const group* dialout = ::getgrnam("dialout");
    if (!dialout)
        GTEST_SKIP() << "no dialout group on this system";
    test::SimulatorPty simulator;
    ASSERT_FALSE(simulator.path().isEmpty());
    const QString node = deviceNode(simulator.path(), dialout->gr_gid, 0660);
    if (node.isEmpty())
        GTEST_SKIP() << "cannot make a device node here (mknod refused)";
    const QByteArray device = node.toUtf8();

    const HeadlessRun english = run({QStringLiteral("--port"), node, QStringLiteral("connect")}, primaryGid_);
    EXPECT_EQ(english.exitCode, 4) << english.err.toStdString();
    EXPECT_TRUE(english.err.contains("Cannot communicate with TZ-4. Check the connection.")) << english.err.toStdString();
    EXPECT_TRUE(english.err.contains("Cause: You have no permission to use the serial port " + device + ".\n"
                                     "Add the user nobody to the group dialout (sudo adduser nobody dialout), "
                                     "then log out and log in again."))
        << english.err.toStdString();
    EXPECT_FALSE(english.err.contains("in use by another program"));

    const HeadlessRun japanese =
        run({QStringLiteral("--lang"), QStringLiteral("ja"), QStringLiteral("--port"), node, QStringLiteral("connect")},
            primaryGid_);
    EXPECT_EQ(japanese.exitCode, 4);
    EXPECT_TRUE(japanese.err.contains("原因: シリアルポート " + device + " を使用する権限がありません。"))
        << japanese.err.toStdString();
    EXPECT_TRUE(japanese.err.contains("ユーザー nobody をグループ dialout に追加し (sudo adduser nobody dialout)"))
        << japanese.err.toStdString();

    // The same is known before any connection is tried.
    const HeadlessRun ports = run({QStringLiteral("--port"), node, QStringLiteral("ports"), QStringLiteral("--json")}, primaryGid_);
    EXPECT_EQ(ports.json().value(QStringLiteral("in_use")).toObject().value(QStringLiteral("state")).toString(),
              QStringLiteral("no-permission"));
}

// The group shows in the user database at once, in the processes of a session only after the
// next login.
TEST_F(AsUnprivilegedUser, AUserWhoJoinedTheGroupDuringTheSessionIsToldOnlyToLogInAgain)
{
    test::SimulatorPty simulator;
    ASSERT_FALSE(simulator.path().isEmpty());
    const group* own = ::getgrgid(primaryGid_);
    ASSERT_NE(own, nullptr);
    const QByteArray groupName = own->gr_name;
    const QString node = deviceNode(simulator.path(), primaryGid_, 0660);
    if (node.isEmpty())
        GTEST_SKIP() << "cannot make a device node here (mknod refused)";
    const gid_t otherGid = primaryGid_ == 1 ? 2 : 1;

    const HeadlessRun ports = run({QStringLiteral("--port"), node, QStringLiteral("ports")}, otherGid);
    EXPECT_EQ(ports.exitCode, 0) << ports.err.toStdString();
    EXPECT_TRUE(ports.err.contains("You have no permission to use the serial port " + node.toUtf8()
                                   + " yet: the user nobody was added to the group " + groupName
                                   + " after this session began.\nLog out and log in again."))
        << ports.err.toStdString();
}
