#include "SampleFixture.h"

#include "data/SampleOperations.h"
#include "data/UndoJournal.h"
#include "tests/support/SmallTmpfs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

using namespace tz4;
using tz4::test::errorNumberOf;

namespace {

class UndoJournal : public test::SampleDatabase {
protected:
    // Folder 3 holds folder 9 with W 20 and L 21; folder 7 is empty.
    void SetUp() override
    {
        SampleDatabase::SetUp();
        makeTree();
    }

    void makeTree() const
    {
        folder(3, QStringLiteral("Top"));
        folder(9, QStringLiteral("Middle"), 3);
        folder(7, QStringLiteral("Other"));
        record(20, 0, QStringLiteral("Gold"), 9);
        record(21, 2, QStringLiteral("Lamp"), 9);
    }

    QByteArray journal() const
    {
        QFile file(undoJournalPath(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writeJournal(const QByteArray& bytes) const
    {
        QFile file(undoJournalPath(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    // The refusal's text; empty when the undo went through.
    QString refusalOf(const std::function<void()>& action) const
    {
        try {
            action();
        } catch (const Tz4Error& error) {
            return error.description();
        }
        return {};
    }
};

} // namespace

TEST_F(UndoJournal, AJournalCutAtAnyLengthOrChangedInAnyByteUndoesNothing)
{
    const QStringList start = dump();
    MultiDeleteItem(path, {QStringLiteral("3 F"), QStringLiteral("21 L")});
    const QStringList deleted = dump();
    ASSERT_NE(deleted, start);
    const QByteArray whole = journal();
    ASSERT_GT(whole.size(), 50);

    QElapsedTimer took;
    took.start();
    for (qsizetype length = 0; length < whole.size(); ++length) {
        writeJournal(whole.left(length));
        EXPECT_EQ(pendingUndo(path), UndoMode::None) << length;
        const QString refusal = refusalOf([&] { undoLast(path); });
        EXPECT_TRUE(refusal.contains(QStringLiteral("damaged"))) << length << ": " << qPrintable(refusal);
        ASSERT_EQ(dump(), deleted) << "cut at " << length;
    }
    for (const qsizetype at : {qsizetype(8), qsizetype(12), whole.size() / 2, whole.size() - 1}) {
        QByteArray changed = whole;
        changed[at] = char(changed.at(at) ^ 0x20);
        writeJournal(changed);
        EXPECT_TRUE(refusalOf([&] { undoLast(path); }).contains(QStringLiteral("damaged"))) << at;
        ASSERT_EQ(dump(), deleted) << "changed at " << at;
    }
    EXPECT_LT(took.elapsed(), 60000) << "every damaged journal is refused at once";

    writeJournal(whole);
    EXPECT_EQ(undoLast(path), UndoMode::Delete);
    EXPECT_EQ(dump(), start);
}

TEST_F(UndoJournal, AnUndoThatWouldOrphanWhatWasAddedSinceIsRefused)
{
    MultiCopyItem(path, QStringLiteral("7 F"), {QStringLiteral("3 F")}, true);
    const qint32 copy = qint32(count(QStringLiteral("Select Max(SeqNo) From FAT Where Name='Top'")));
    ASSERT_NE(copy, 3);
    // Another program stores into the copy, as a measurement or a new folder would.
    newFolder(path, QStringLiteral("Added later"), QStringLiteral("%1 F").arg(copy));
    const QStringList withAddition = dump();
    const QString refusal = refusalOf([&] { undoLast(path); });
    EXPECT_TRUE(refusal.contains(QStringLiteral("added since"))) << qPrintable(refusal);
    EXPECT_EQ(dump(), withAddition);

    // A correction attached to a copied record is such a dependant too.
    MultiCopyItem(path, QStringLiteral("7 F"), {QStringLiteral("21 L")}, true);
    const qint32 lamp = qint32(count(QStringLiteral("Select Max(SeqNo) From Setting Where Modes=2")));
    attachItem(path, QStringLiteral("%1 L").arg(lamp), QStringLiteral("20 W"));
    const QStringList attached = dump();
    EXPECT_FALSE(refusalOf([&] { undoLast(path); }).isEmpty());
    EXPECT_EQ(dump(), attached);
}

TEST_F(UndoJournal, AJournalThatCannotBeWrittenRefusesTheOperationAndKeepsTheStepBefore)
{
    MultiCopyItem(path, QStringLiteral("7 F"), {QStringLiteral("9 F")}, false);
    const QByteArray moved = journal();
    const QStringList afterMove = dump();

    // An injected failure: something that is no file stands where the journal goes.
    QFile::remove(undoJournalPath(path));
    ASSERT_TRUE(QDir().mkdir(undoJournalPath(path)));
    EXPECT_NE(errorNumberOf([&] { MultiDeleteItem(path, {QStringLiteral("20 W")}); }), 0);
    EXPECT_EQ(dump(), afterMove) << "an operation that could not be undone is not done";
    ASSERT_TRUE(QDir().rmdir(undoJournalPath(path)));
    writeJournal(moved);

    // A real one: the disk is full.
    test::SmallTmpfs disk(512 * 1024);
    TZ4_REQUIRE_TMPFS(disk);
    path = disk.filePath(QStringLiteral("TZ4.mdb"));
    ASSERT_TRUE(MakeDB(path));
    makeTree();
    MultiCopyItem(path, QStringLiteral("7 F"), {QStringLiteral("9 F")}, false);
    const QStringList before = dump();
    disk.fill();
    QString why;
    try {
        MultiDeleteItem(path, {QStringLiteral("3 F")});
    } catch (const Tz4Error& error) {
        why = error.description();
    }
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(dump(), before) << qPrintable(why);
    disk.release();
    EXPECT_EQ(pendingUndo(path), UndoMode::Move) << "the step before is still there";
    EXPECT_EQ(undoLast(path), UndoMode::Move);
    EXPECT_EQ(count(QStringLiteral("Select Parent From FAT Where SeqNo=9")), 3);
}
