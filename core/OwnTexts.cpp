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
