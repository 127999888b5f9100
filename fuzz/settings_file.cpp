// "TZ4Sys.ini" as any bytes: the validation and the loading pass, then the file the program
// writes back must pass its own validation and load to the same settings.

#include "fuzz/FuzzSupport.h"

#include "core/DataDirectory.h"
#include "core/SerialProperties.h"
#include "core/SystemFile.h"
#include "core/SystemParam.h"

#include <QFile>
#include <QTemporaryDir>

using namespace tz4;

namespace {

struct Loaded {
    SystemParamRecord param;
    SerialSettings serial;
    bool complete = false;
};

QString describe(const Loaded& l)
{
    const SystemParamRecord& p = l.param;
    // The model and unit lines are written with their constant values, whatever was read.
    return QStringLiteral("forms %1 graphs %2 font '%3' %4 print %5 debug %6 device '%7' "
                          "port %8 baud %9 bits %10 stop %11 parity %12")
        .arg(p.MaxDataForms).arg(p.MaxMultiGraph)
        .arg(p.DisplayFont.name).arg(p.DisplayFont.size, 0, 'g', 17).arg(p.EditablePrint).arg(p.DebugMode)
        .arg(p.SerialDevice).arg(l.serial.CommPort()).arg(l.serial.BaudRate()).arg(l.serial.DataBits())
        .arg(l.serial.StopBits()).arg(l.serial.ParityBits());
}

Loaded load()
{
    InitSystemParam();
    Loaded l;
    l.complete = GetSystemFile(l.serial);
    l.param = SystemParam();
    return l;
}

void write(const QByteArray& content)
{
    QFile file(systemFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static fuzz::SilentReporter reporter;
    setErrorReporter(&reporter);
    static QTemporaryDir home;
    setDataDirectory(home.path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 8192)
        return 0;
    write(fuzz::bytes(data, size));
    fuzz::trimCautionLog();
    InitSystemParam();
    ChkSystemFile();
    const Loaded first = load();
    const SystemParamRecord& p = first.param;
    const QString loaded = describe(first);
    // Whatever the file holds, what the program runs with is a usable setting.
    FUZZ_CHECK(p.MaxDataForms >= 1 && p.MaxDataForms <= 999, loaded);
    FUZZ_CHECK(p.DataForms.size() == p.MaxDataForms + 1, loaded);
    FUZZ_CHECK(p.MaxMultiGraph >= 1 && p.MaxMultiGraph <= 9999, loaded);
    FUZZ_CHECK(p.DisplayFont.size > 0 && p.DisplayFont.size < 20, loaded);
    FUZZ_CHECK(p.BodyType == 1 || p.BodyType == 2, loaded);
    FUZZ_CHECK(first.serial.BaudRate() > 0 && first.serial.BaudRate() % 300 == 0, loaded);
    FUZZ_CHECK(first.serial.DataBits() == 7 || first.serial.DataBits() == 8, loaded);
    FUZZ_CHECK(first.serial.StopBits() == 1 || first.serial.StopBits() == 2, loaded);
    FUZZ_CHECK(first.serial.ParityBits() >= 0 && first.serial.ParityBits() <= 2, loaded);

    // The written file holds exactly what was loaded; a second run starts where this one ended.
    SystemParam() = first.param;
    FUZZ_CHECK(SetSystemFile(first.serial), QStringLiteral("write failed"));
    InitSystemParam();
    FUZZ_CHECK(ChkSystemFile(), QStringLiteral("own file refused after loading ") + loaded);
    const Loaded second = load();
    FUZZ_CHECK(second.complete, QStringLiteral("own file stopped loading after ") + loaded);
    FUZZ_CHECK(describe(second) == loaded, loaded + QStringLiteral("\n  came back as\n  ") + describe(second));
    return 0;
}
