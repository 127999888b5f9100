#include "samples/SampleTexts.h"

#include <QRegularExpression>

namespace tz4 {

namespace {

struct Texts {
    const char* english;
    const char* japanese;
};

Texts texts(SampleText id)
{
    switch (id) {
    case SampleText::ItemGone:
        return {"~1 is no longer in the database: another program has changed it. The lists have been read again.",
                "~1 はデータベースにありません。別のプログラムが変更しました。一覧を読み直しました。"};
    case SampleText::NameEmpty:
        return {"A name cannot be empty. The old name stays.", "名前を空にはできません。元の名前のままです。"};
    case SampleText::NameWithBreaks:
        return {"A name cannot hold tabs or line breaks. The old name stays.",
                "名前にタブや改行は使えません。元の名前のままです。"};
    case SampleText::NotADate:
        return {"'~1' is no date. Type a date such as 2026-12-31.", "「~1」は日付ではありません。2026-12-31 のように入力してください。"};
    case SampleText::NotAWholeNumber:
        return {"'~1' is no whole number above 0.", "「~1」は 0 より大きい整数ではありません。"};
    case SampleText::ReplaceFile:
        return {"~1 already exists. Replace it?", "~1 はすでに存在します。置き換えますか?"};
    case SampleText::StillWorking:
        return {"The sample manager is still working. Try again when the status bar shows it has finished.",
                "データ管理はまだ処理中です。ステータスバーで終了を確認してから、もう一度実行してください。"};
    case SampleText::ExchangeFiles:
        return {"Exchange files (*.mdb)", "交換ファイル (*.mdb)"};
    case SampleText::AllFiles:
        return {"All Files (*)", "すべてのファイル (*)"};
    case SampleText::SearchDateLimit:
        return {"Date", "日付"};
    case SampleText::SearchFrom:
        return {"From", "開始日"};
    case SampleText::SearchTo:
        return {"To", "終了日"};
    case SampleText::SearchPastMonths:
        return {"Past Months", "過去の月数"};
    case SampleText::SearchPastDays:
        return {"Past Days", "過去の日数"};
    case SampleText::SearchKind:
        return {"Kind", "種類"};
    case SampleText::SearchNoLimit:
        return {"Any date", "指定なし"};
    case SampleText::SearchRange:
        return {"From - To", "期間指定"};
    case SampleText::SearchMonths:
        return {"Past months", "過去の月数"};
    case SampleText::SearchDays:
        return {"Past days", "過去の日数"};
    case SampleText::SearchAllKinds:
        return {"All kinds", "すべて"};
    case SampleText::RecordKind:
        return {"Kind", "種類"};
    case SampleText::FolderPath:
        return {"Folder", "フォルダ"};
    case SampleText::CalibrationMember:
        return {"Calibration Data ~1", "校正データ ~1"};
    case SampleText::NothingToPaste:
        return {"Cut or copy items first.", "先に項目を切り取るかコピーしてください。"};
    }
    return {"", ""};
}

} // namespace

QString sampleText(SampleText id, Language language, const QVariantList& arguments)
{
    const Texts t = texts(id);
    return expandMessage(QString::fromUtf8(language == Language::Japanese ? t.japanese : t.english), arguments);
}

QString sampleText(SampleText id, const QVariantList& arguments) { return sampleText(id, currentLanguage(), arguments); }

QString captionText(int catalogueId)
{
    static const QRegularExpression accelerator(QStringLiteral("\\(&.\\)$"));
    return GetRes(catalogueId).remove(accelerator).remove(QLatin1Char('&'));
}

} // namespace tz4
