#include "core/CautionLog.h"
#include "data/DatabaseSchema.h"
#include "data/PrintTemplateImport.h"
#include "data/SqliteDatabase.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tz4;

namespace {

class PrintTemplateImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MakeDB(database()));
        clearCautionLog();
    }

    QString database() const { return dir_.filePath(QStringLiteral("TZ4.mdb")); }

    // Imports `content` as the template file; `stored` receives the lines the import stored.
    bool import(const QByteArray& content)
    {
        const QString file = dir_.filePath(QStringLiteral("PrintFormat.Dat"));
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
        out.close();
        return ImportPrintData(database(), file, &stored);
    }

    int stored = -1;

    QStringList keys(const char* table)
    {
        SqliteDatabase db(database());
        SqliteStatement st = db.prepare(QStringLiteral("SELECT SeqNo FROM %1 ORDER BY SeqNo").arg(QLatin1String(table)));
        QStringList out;
        while (st.next())
            out << st.value(0).toString();
        return out;
    }

    static QString cautionLog()
    {
        QFile log(cautionLogPath());
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

private:
    QTemporaryDir dir_;
};

QByteArray printsLine(const QByteArray& seqNo)
{
    return seqNo + "\t'Report'\t#12/01/26 09:00:00#\t0\tTrue\t20\t42\t170\t110\t'Arial'\t9\tTrue\t20\t175\t170\t100\t3\t'Arial'\t7\tTrue\t\r\n";
}

QByteArray labelLine(const QByteArray& seqNo)
{
    return seqNo + "\t1\t'Sample'\t'Sample Name : '\t''\t''\tTrue\t2\t20\t22\t'Arial'\t10\tFalse\tFalse\t\r\n";
}

} // namespace

TEST(PrintTemplates, LineValuesFollowTheTabRule)
{
    EXPECT_EQ(printDataValues(QStringLiteral("1\t'Default'\t''\t")),
              (QStringList{QStringLiteral("1"), QStringLiteral("'Default'"), QStringLiteral("NULL")}));
    EXPECT_EQ(printDataValues(QStringLiteral("''\t\t5")), (QStringList{QStringLiteral("''"), QStringLiteral("NULL")}));
}

TEST_F(PrintTemplateImport, StoresOneRowPerLineUnderEachSection)
{
    EXPECT_TRUE(import("[Prints]\r\n" + printsLine("1") + printsLine("2") + "[PRTLABEL]\r\n" + labelLine("7") +
                       "no tab: not a row\r\n"));
    EXPECT_EQ(keys("Prints"), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(keys("PrtLabel"), QStringList{QStringLiteral("7")});
    EXPECT_EQ(stored, 3);
    EXPECT_EQ(cautionLog(), QString());
}

TEST_F(PrintTemplateImport, RefusesWholeALineThatWouldStoreSeveralRowsAndNamesIt)
{
    // The last value closes the row and opens another: one line, two rows.
    QByteArray twoRows = labelLine("8");
    twoRows.replace("False\tFalse\t", "False\tFalse),(9,1,'x','','','',True,2,20,22,'Arial',10,False,False\t");
    EXPECT_FALSE(import("[PRTLABEL]\r\n" + labelLine("7") + twoRows + labelLine("10")));
    EXPECT_EQ(keys("PrtLabel"), (QStringList{QStringLiteral("7"), QStringLiteral("10")}))
        << "the lines before and after stay, nothing of the refused line does";
    EXPECT_EQ(stored, 2);
    const QString log = cautionLog();
    EXPECT_TRUE(log.contains(QStringLiteral("PrintFormat.Dat line 3 holds 2 rows"))) << log.toStdString();
}

TEST_F(PrintTemplateImport, SkipsAFailingLineAndKeepsTheOthers)
{
    // A duplicate key and a broken literal.
    EXPECT_FALSE(import("[PRINTS]\r\n" + printsLine("1") + printsLine("1") + printsLine("'x") + printsLine("3")));
    EXPECT_EQ(keys("Prints"), (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
    EXPECT_EQ(stored, 2);
    EXPECT_FALSE(cautionLog().isEmpty());
}

TEST_F(PrintTemplateImport, StoresNothingFromAFileItCannotRead)
{
    EXPECT_FALSE(ImportPrintData(database(), QStringLiteral("/nonexistent/PrintFormat.Dat"), &stored));
    EXPECT_EQ(stored, 0);
    EXPECT_TRUE(keys("Prints").isEmpty());
}

// Files of Japanese installations are in the Windows code page; captions arrive intact either way.
TEST_F(PrintTemplateImport, ReadsJapaneseCaptionsInUtf8AndInShiftJis)
{
    const QString title = QStringLiteral("仕事関数レポート");
    const QString fore = QStringLiteral("試料名 : ");
    const QString halfWidth = QStringLiteral("ﾃﾝﾌﾟﾚｰﾄ");
    const QString text = QStringLiteral("[PRINTS]\r\n") + QString::fromUtf8(printsLine("1")).replace(
                             QStringLiteral("'Report'"), QLatin1Char('\'') + title + QLatin1Char('\''))
        + QStringLiteral("[PRTLABEL]\r\n")
        + QString::fromUtf8(labelLine("7"))
              .replace(QStringLiteral("'Sample Name : '"), QLatin1Char('\'') + fore + QLatin1Char('\''))
              .replace(QStringLiteral("'Sample'"), QLatin1Char('\'') + halfWidth + QLatin1Char('\''));
    QStringEncoder shiftJis("Shift_JIS");
    ASSERT_TRUE(shiftJis.isValid());
    const QByteArray encoded = shiftJis.encode(text);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(encoded);
    ASSERT_TRUE(utf8.hasError()) << "these bytes must not pass for UTF-8";

    for (const QByteArray& bytes : {text.toUtf8(), encoded}) {
        SqliteDatabase(database()).exec(QStringLiteral("DELETE FROM Prints; DELETE FROM PrtLabel;"));
        ASSERT_TRUE(import(bytes));
        SqliteDatabase db(database());
        SqliteStatement prints = db.prepare(QStringLiteral("SELECT TemplateName FROM Prints"));
        ASSERT_TRUE(prints.next());
        EXPECT_EQ(prints.toText(0), title);
        SqliteStatement label = db.prepare(QStringLiteral("SELECT F_Cap, Caption FROM PrtLabel"));
        ASSERT_TRUE(label.next());
        EXPECT_EQ(label.toText(0), fore);
        EXPECT_EQ(label.toText(1), halfWidth);
    }
    EXPECT_EQ(decodePrintFormat(encoded), text);
}
