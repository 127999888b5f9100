#include "core/CautionLog.h"
#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/MessageCatalog.h"
#include "core/Tz4Error.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace tz4;

namespace {

// Every "~x" mark of a text, in order of appearance; digits and c are what callers rely on.
QStringList placeholders(const QString& text)
{
    QStringList marks;
    for (qsizetype p = text.indexOf(QLatin1Char('~')); p >= 0 && p + 1 < text.size();
         p = text.indexOf(QLatin1Char('~'), p + 2))
        marks << text.mid(p, 2).toLower();
    std::sort(marks.begin(), marks.end());
    return marks;
}

// The "&X" keyboard accelerators of a caption.
QStringList accelerators(const QString& text)
{
    QStringList keys;
    for (const auto& m : QRegularExpression(QStringLiteral("&(.)")).globalMatch(text))
        keys << m.captured(1);
    return keys;
}

class EnglishMessages : public ::testing::Test {
protected:
    void SetUp() override { setLanguage(Language::English); }
};

} // namespace

TEST_F(EnglishMessages, FillsArgumentsAndLineBreaks)
{
    EXPECT_EQ(GetRes(1017, {QStringLiteral("\t"), 5, 10, 51}),
              QStringLiteral("Measure Energy\t5[eV] - \t10[eV]\t51Points"));
    EXPECT_EQ(GetRes(3068, {QStringLiteral("1")}), QStringLiteral("Now Warming Up.\r\nWait1minutes."));
    EXPECT_EQ(GetRes(1006, {QStringLiteral(","), 0.5}), QStringLiteral("Energy[eV],Yield^0.5[cps^0.5]"));
}

TEST_F(EnglishMessages, MissingArgumentsBecomeEmpty)
{
    const QStringList lines = GetRes(4005).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("This OS is not supported by this program."));
    EXPECT_EQ(lines[2], QStringLiteral("PlatForm=,Build=,Version="));
    EXPECT_EQ(GetRes(4005, {2}).split(QStringLiteral("\r\n")).last(), QStringLiteral("PlatForm=2,Build=,Version="));
}

TEST(MessageExpansion, TildeMarks)
{
    EXPECT_EQ(expandMessage(QStringLiteral("a~cb~Cc")), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(expandMessage(QStringLiteral("a~xb~~c~0d")), QStringLiteral("abcd"));
    EXPECT_EQ(expandMessage(QStringLiteral("end~")), QStringLiteral("end"));
    // One digit only: "~10" is argument 1 followed by "0".
    EXPECT_EQ(expandMessage(QStringLiteral("~10~9"), {QStringLiteral("A")}), QStringLiteral("A0"));
}

TEST(MessageExpansion, ArgumentsAreExpandedAgain)
{
    EXPECT_EQ(expandMessage(QStringLiteral("x~1y"), {QStringLiteral("p~cq~2"), QStringLiteral("Z")}),
              QStringLiteral("xp\r\nqZy"));
    // An argument naming itself must still end.
    EXPECT_EQ(expandMessage(QStringLiteral("<~1>"), {QStringLiteral("~1")}), QStringLiteral("<>"));
}

TEST(MessageExpansion, ArgumentsAsText)
{
    EXPECT_EQ(expandMessage(QStringLiteral("~1|~2|~3|~4|~5"), {true, 2.25, QVariant(), 12345678, 0.1f}),
              QStringLiteral("True|2.25||12345678|0.1"));
    tz4::test::ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(expandMessage(QStringLiteral("~1"), {1234.5}), QStringLiteral("1234,5"));
}

TEST(MessageLookup, UnknownIdGivesEmptyTextAndReportsIt)
{
    int reported = 0;
    QString where;
    setMessageFailureHandler([&](const Tz4Error& error) {
        ++reported;
        EXPECT_EQ(error.number(), 326);
        EXPECT_TRUE(error.description().contains(QStringLiteral("9999")));
        where = errorLocation();
    });
    EXPECT_EQ(GetRes(9999, {1}), QString());
    setMessageFailureHandler(nullptr);
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(where, QStringLiteral("modMain:GetRes"));
    EXPECT_FALSE(hasMessage(9999));
    EXPECT_EQ(messageText(9999, Language::English), QString());
}

TEST(MessageLookup, UnknownIdIsLoggedByDefault)
{
    QTemporaryDir home;
    setDataDirectory(home.path());
    EXPECT_EQ(GetRes(9998), QString());
    QFile log(cautionLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(entry.endsWith(QStringLiteral(" : 326 : modMain:GetRes : Resource with identifier '9998' not found\r\n")))
        << entry.toStdString();
}

TEST(MessageLookup, FollowsTheChosenLanguage)
{
    setLanguage(Language::Japanese);
    EXPECT_EQ(GetRes(101), QStringLiteral("JA"));
    EXPECT_EQ(GetRes(217), QStringLiteral("ファイル(&F)"));
    setLanguage(Language::English);
    EXPECT_EQ(GetRes(101), QStringLiteral("EN"));
    EXPECT_EQ(currentLanguage(), Language::English);

    EXPECT_EQ(languageFromCode(QStringLiteral("JA")), Language::Japanese);
    EXPECT_EQ(languageFromCode(QStringLiteral("en")), Language::English);
    EXPECT_FALSE(languageFromCode(QStringLiteral("de")).has_value());
}

TEST(MessageCatalogue, QuotedEnglishTextsAreExact)
{
    const auto en = [](int id) { return messageText(id, Language::English); };
    EXPECT_EQ(en(3066), QStringLiteral("Interruputed. Now another program being processed."));
    EXPECT_EQ(en(1006), QStringLiteral("Energy[eV]~1Yield^~2[cps^~2]"));
    EXPECT_EQ(en(240), QStringLiteral("Repair And Conditoning"));
    EXPECT_EQ(en(1030), QStringLiteral("Not Saported "));
    EXPECT_EQ(en(3080), QStringLiteral("Trouble with \"Plug and Play\""));
    EXPECT_EQ(en(3026), QStringLiteral("[Quantity of light correction coefficient]:Processing (~1eV : ~1nW)"));
    EXPECT_EQ(en(6026), QStringLiteral("Enter the Sample Name."));
    EXPECT_EQ(en(6053), QStringLiteral("Y-Segment of Calibration Line"));
    EXPECT_EQ(en(5001), QStringLiteral("CSV(Comma Delimiter) (*.csv)|*.csv| Text(Tab Delimiter) (*.txt)|*.txt| "
                                       "Text(Space Delimiter) (*.prn)|*.prn| All Files (*.*)|*.*"));
    EXPECT_EQ(en(5034), QStringLiteral("~1Datas Found"));
    EXPECT_EQ(en(7098), QStringLiteral("Template name was changed. ~cNew Entry(Yes) or Rewrite?(No)"));
}

TEST(MessageCatalogue, EveryRangeIsPresent)
{
    const QList<int> ids = messageIds();
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "an id is listed twice";
    const auto countIn = [&](int from, int to) {
        return std::count_if(ids.begin(), ids.end(), [&](int id) { return id >= from && id <= to; });
    };
    EXPECT_TRUE(ids.contains(101));
    EXPECT_EQ(countIn(201, 265), 65);
    EXPECT_EQ(countIn(4001, 4005), 5);
    EXPECT_EQ(countIn(2001, 2006), 6);
    EXPECT_GE(countIn(1001, 1030), 24);
    EXPECT_GE(countIn(3001, 3082), 70);
    EXPECT_GE(countIn(5001, 5095), 27);
    EXPECT_GE(countIn(6001, 6110), 100);
    EXPECT_EQ(countIn(7001, 7098), 98); // the print binding list and grid name every one
}

TEST(MessageCatalogue, JapaneseKeepsPlaceholdersAndAccelerators)
{
    for (int id : messageIds()) {
        const QString en = messageText(id, Language::English);
        const QString ja = messageText(id, Language::Japanese);
        ASSERT_FALSE(en.isEmpty()) << id;
        ASSERT_FALSE(ja.isEmpty()) << id;
        EXPECT_EQ(placeholders(ja).join(u' ').toStdString(), placeholders(en).join(u' ').toStdString()) << id;
        EXPECT_EQ(accelerators(ja).join(u' ').toStdString(), accelerators(en).join(u' ').toStdString()) << id;
        // File-dialog filter lists are split on "|" by position.
        EXPECT_EQ(ja.count(QLatin1Char('|')), en.count(QLatin1Char('|'))) << id;
    }
}

TEST(MessageCatalogue, JapaneseLeavesNoEnglishWords)
{
    // Units, product and platform names, and file-type names stay as they are.
    const QStringList allowed = {QStringLiteral("TZ"),  QStringLiteral("UV"),  QStringLiteral("eV"),
                                 QStringLiteral("nW"),  QStringLiteral("cps"), QStringLiteral("Log"),
                                 QStringLiteral("OS"),  QStringLiteral("Windows"), QStringLiteral("NT"),
                                 QStringLiteral("CSV"), QStringLiteral("txt"), QStringLiteral("prn"),
                                 QStringLiteral("csv"), QStringLiteral("QM"), QStringLiteral("QS"),
                                 QStringLiteral("JA"),  QStringLiteral("V"), QStringLiteral("x"),
                                 QStringLiteral("X"),   QStringLiteral("Y"), QStringLiteral("USB")};
    const QRegularExpression word(QStringLiteral("[A-Za-z]+"));
    for (int id : messageIds()) {
        QString ja = messageText(id, Language::Japanese);
        ja.remove(QRegularExpression(QStringLiteral("~.|&.")));
        for (const auto& m : word.globalMatch(ja))
            EXPECT_TRUE(allowed.contains(m.captured())) << id << ": " << m.captured().toStdString();
    }
}

// The named ids are read from their header, so a name added there without a catalogue entry
// (or with a mistyped number) fails here rather than as an empty message box.
TEST(MessageIds, EveryNamedIdHasATextInBothLanguages)
{
    QFile header(QStringLiteral(TZ4_SOURCE_DIR "/core/MessageIds.h"));
    ASSERT_TRUE(header.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(header.readAll());
    int named = 0;
    for (const auto& m : QRegularExpression(QStringLiteral(R"(constexpr int (\w+) = (\d+);)")).globalMatch(text)) {
        const int id = m.captured(2).toInt();
        ++named;
        EXPECT_FALSE(messageText(id, Language::English).isEmpty()) << m.captured(1).toStdString() << " " << id;
        EXPECT_FALSE(messageText(id, Language::Japanese).isEmpty()) << m.captured(1).toStdString() << " " << id;
    }
    EXPECT_GT(named, 100);
}
