#include "core/OwnTexts.h"

namespace tz4 {

namespace {

struct Texts {
    const char* english;
    const char* japanese;
};

Texts texts(OwnText id)
{
    switch (id) {
    case OwnText::UnusableSettings:
        return {"The settings file holds values the instrument cannot use:",
                "設定ファイルに装置で使用できない値があります:"};
    case OwnText::FailedCommands:
        return {"The instrument reported ~1 failed command(s):", "装置からコマンドの失敗が ~1 件報告されました:"};
    case OwnText::StoppedAnswering:
        return {"The instrument stopped answering", "装置が応答しなくなりました"};
    case OwnText::NothingStored:
        return {". Nothing was stored.", "。データは保存されていません。"};
    case OwnText::NotConnected:
        return {"TZ-4 is not connected. Choose Connect in the Measurement menu of the main window first.",
                "TZ-4 が接続されていません。先にメインウィンドウの「測定」メニューで「接続」を選んでください。"};
    case OwnText::NoRegressionLine:
        return {"This record has no regression line yet. Set the Regression Line range on the graph first.",
                "このデータにはまだ回帰直線がありません。先にグラフで回帰直線の範囲を設定してください。"};
    case OwnText::WarmUpOver:
        return {"Warm-up finished: choose Measurement > Connect to go on",
                "ウォームアップが終わりました。「測定」>「接続」で続けてください"};
    case OwnText::False:
        return {"False", "いいえ"};
    case OwnText::True:
        return {"True", "はい"};
    case OwnText::NoName:
        return {"None", "なし"};
    case OwnText::InitSystem:
        return {"Init System", "システム初期化"};
    case OwnText::FileNotWritten:
        return {"~1 could not be written: ~2", "~1 に書き込めませんでした: ~2"};
    case OwnText::StoreFirst:
        return {"Store this measurement first: the difference is made from a stored record, which keeps its analysis.",
                "先にこの測定データを保存してください。差分は保存済みのデータから作られ、元のデータの解析結果はそのまま残ります。"};
    case OwnText::StoredAtTopLevel:
        return {"The folder ~1 was deleted while the record was measured; the record was stored at the top level",
                "測定中にフォルダ ~1 が削除されたため、データは最上位に保存されました"};
    case OwnText::StoreAgain:
        return {"The database did not take the measurement (~1). It is kept in this window.\nTry to store it again? (No writes it to an exchange file in ~2, which tz4 import reads in.)",
                "データベースに測定データを保存できませんでした(~1)。データはこのウィンドウに残っています。\nもう一度保存しますか?(「いいえ」を選ぶと ~2 に交換ファイルとして書き出します。tz4 import で読み込めます。)"};
    case OwnText::WrittenToFile:
        return {"The database did not take the record (~1). It was written to ~2; tz4 import reads it in",
                "データベースにデータを保存できませんでした(~1)。データは ~2 に書き出されました。tz4 import で読み込めます"};
    case OwnText::CorrectionLeftOut:
        return {"The correcting record ~1 could not be read (~2); the file holds the record without it",
                "補正データ ~1 を読めませんでした(~2)。ファイルには補正なしで書き出されました"};
    case OwnText::CauseLabel:
        return {"Cause: ", "原因: "};
    case OwnText::ChangedElsewhere:
        return {"Record ~1 was changed by another window or program meanwhile (~2). This change was not stored; the window now shows the record as it is stored.",
                "データ ~1 は他のウィンドウまたはプログラムで変更されました(~2)。この変更は保存されていません。ウィンドウには保存されている内容を表示します。"};
    case OwnText::NotWrittenBack:
        return {"The change to record ~1 could not be stored: ~2", "データ ~1 の変更を保存できませんでした: ~2"};
    case OwnText::DatabaseBusy:
        return {"The database is in use by another program; waiting for it (at most ~1 s)",
                "データベースは他のプログラムが使用中です。待機しています(最大 ~1 秒)"};
    }
    return {"", ""};
}

} // namespace

QString ownText(OwnText id, Language language, const QVariantList& arguments)
{
    const Texts t = texts(id);
    return expandMessage(QString::fromUtf8(language == Language::Japanese ? t.japanese : t.english), arguments);
}

QString ownText(OwnText id, const QVariantList& arguments)
{
    return ownText(id, currentLanguage(), arguments);
}

} // namespace tz4
