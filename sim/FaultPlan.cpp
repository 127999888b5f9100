#include "sim/FaultPlan.h"

#include <stdexcept>

namespace tz4::sim {

namespace {

struct KindName {
    FaultPlan::Kind kind;
    const char* name;
};

constexpr KindName kKindNames[] = {
    {FaultPlan::Kind::NoReply, "no-reply"},           {FaultPlan::Kind::Garbage, "garbage"},
    {FaultPlan::Kind::Split, "split"},                {FaultPlan::Kind::Merge, "merge"},
    {FaultPlan::Kind::Error, "error"},                {FaultPlan::Kind::DoorOpen, "door-open"},
    {FaultPlan::Kind::DiagFail, "diag-fail"},         {FaultPlan::Kind::DetectorFail, "detector-fail"},
    {FaultPlan::Kind::HighBackground, "high-background"}, {FaultPlan::Kind::SpanEmpty, "span-empty"},
};

} // namespace

FaultPlan FaultPlan::parse(const QStringList& faults)
{
    FaultPlan plan;
    for (const QString& entry : faults) {
        QString text = entry.trimmed();
        Fault fault{Kind::NoReply, 0, {}};
        if (const int at = text.indexOf(QLatin1Char('@')); at >= 0) {
            fault.command = text.mid(at + 1).toLatin1().toUpper();
            text.truncate(at);
            if (fault.command.isEmpty())
                throw std::invalid_argument(("fault without a command after '@': " + entry).toStdString());
        }
        QString name = text;
        bool hasNumber = false;
        if (const int colon = text.indexOf(QLatin1Char(':')); colon >= 0) {
            name = text.left(colon);
            bool ok = false;
            fault.number = text.mid(colon + 1).toInt(&ok);
            if (!ok || fault.number < 0 || fault.number > 99)
                throw std::invalid_argument(("fault number must be 0..99: " + entry).toStdString());
            hasNumber = true;
        }
        bool known = false;
        for (const KindName& k : kKindNames)
            if (name == QLatin1String(k.name)) {
                fault.kind = k.kind;
                known = true;
            }
        if (!known)
            throw std::invalid_argument(("unknown fault: " + entry).toStdString());
        if (hasNumber != (fault.kind == Kind::Error))
            throw std::invalid_argument(("only error takes a number (error:N): " + entry).toStdString());
        plan.add(fault);
    }
    return plan;
}

bool FaultPlan::has(Kind kind) const
{
    for (const Fault& f : faults_)
        if (f.kind == kind)
            return true;
    return false;
}

bool FaultPlan::applies(Kind kind, const QByteArray& command) const
{
    for (const Fault& f : faults_)
        if (f.kind == kind && (f.command.isEmpty() || command.startsWith(f.command)))
            return true;
    return false;
}

std::optional<int> FaultPlan::errorFor(const QByteArray& command) const
{
    for (const Fault& f : faults_)
        if (f.kind == Kind::Error && (f.command.isEmpty() || command.startsWith(f.command)))
            return f.number;
    return std::nullopt;
}

QStringList FaultPlan::kindNames()
{
    QStringList names;
    for (const KindName& k : kKindNames)
        names << QString::fromLatin1(k.name);
    return names;
}

} // namespace tz4::sim
