#include "core/MessageTexts.h"

// Sample manager texts.

namespace tz4 {

namespace {
const MessageText kTexts[] = {
    {5001, "CSV(Comma Delimiter) (*.csv)|*.csv| Text(Tab Delimiter) (*.txt)|*.txt| Text(Space Delimiter) (*.prn)|*.prn| All Files (*.*)|*.*",
     "CSV(カンマ区切り) (*.csv)|*.csv| テキスト(タブ区切り) (*.txt)|*.txt| テキスト(スペース区切り) (*.prn)|*.prn| すべてのファイル (*.*)|*.*"},
    {5004, "Import",
     "インポート"},
    {5005, "Export",
     "エクスポート"},
    {5007, "Delete all data in trash. OK?",
     "ごみ箱内のデータをすべて削除します。よろしいですか?"},
    {5012, "Already started",
     "新規測定はすでに開始されています"},
    {5014, "Delete Directory",
     "フォルダの削除"},
    {5016, "Delete Data",
     "データの削除"},
    {5019, "Create Folder",
     "フォルダの作成"},
    {5020, "Folder is created only under folder.",
     "フォルダはフォルダの下にのみ作成できます。"},
    {5034, "~1Datas Found",
     "~1件のデータが見つかりました"},
    {5036, "Result Search",
     "検索結果"},
    {5037, "Seaching Conditions",
     "検索条件"},
    {5038, "Seaching Conditions are not appropriate.",
     "検索条件が正しくありません。"},
    {5045, "Return(&U)",
     "元に戻す(&U)"},
    {5046, "Return(Move)(&U)",
     "元に戻す(移動)(&U)"},
    {5047, "Return(Copy)(&U)",
     "元に戻す(コピー)(&U)"},
    {5048, "Return(Delete)(&U)",
     "元に戻す(削除)(&U)"},
    {5054, "Now Deleted(Import Data)",
     "削除処理中"},
    {5057, "Repair And Conditoning",
     "修復と最適化"},
    {5070, "Measure Form",
     "測定ウィンドウ"},
    {5078, "Unit Photon",
     "単位光子数"},
    {5081, "Notes1",
     "備考1"},
    {5082, "Notes2",
     "備考2"},
    {5083, "Notes3",
     "備考3"},
    {5093, "This data cannot be saved.",
     "このデータは保存できません。"},
    {5094, "The folder of reseiver side is the sub folder of sender side.",
     "移動先のフォルダは移動元のフォルダのサブフォルダです。"},
    {5095, "Error of File movement and copy.",
     "ファイルの移動・コピーエラー"},
};
} // namespace

std::span<const MessageText> sampleManagerMessageTexts() { return kTexts; }

} // namespace tz4
