#include "core/SystemParam.h"

#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"

namespace tz4 {

SystemParamRecord& SystemParam()
{
    static SystemParamRecord record;
    return record;
}

void InitSystemParam()
{
    EnterProcedure here("modMain:InitSystemParam");
    SystemParamRecord& p = SystemParam();
    p = SystemParamRecord{};
    p.DatabasePath = dataFilePath(QStringLiteral("TZ4.mdb"));
    p.DateTimeFormat = QStringLiteral(R"(mm"/"dd"/"yy hh":"nn":"ss)");
    resizeDataForms();
}

void resizeDataForms()
{
    SystemParam().DataForms.resize(SystemParam().MaxDataForms + 1);
}

bool DebugMode() { return SystemParam().DebugMode; }

} // namespace tz4
