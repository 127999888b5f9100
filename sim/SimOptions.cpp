#include "sim/SimOptions.h"

#include "sim/FaultPlan.h"

#include <cmath>
#include <stdexcept>

namespace tz4::sim {

bool SimOptions::hasFault(const QString& name) const
{
    for (const QString& f : faults)
        if (f == name || f.startsWith(name + QLatin1Char(':')))
            return true;
    return false;
}

namespace {

std::optional<QString> takeValue(QStringList& args, int i, QString& value)
{
    if (i + 1 >= args.size())
        return QStringLiteral("%1 needs a value").arg(args[i]);
    value = args[i + 1];
    args.remove(i, 2);
    return std::nullopt;
}

} // namespace

std::optional<QString> takeSimOptions(QStringList& args, SimOptions& options)
{
    for (int i = 0; i < args.size();) {
        const QString name = args[i];
        if (name == QLatin1String("--sim-cold")) {
            options.cold = true;
            args.removeAt(i);
            continue;
        }
        const bool known = name == QLatin1String("--sim-work-function") || name == QLatin1String("--sim-power-number")
                           || name == QLatin1String("--sim-speed") || name == QLatin1String("--sim-seed")
                           || name == QLatin1String("--sim-fault");
        if (!known) {
            ++i;
            continue;
        }
        QString value;
        if (auto error = takeValue(args, i, value))
            return error;
        bool ok = false;
        if (name == QLatin1String("--sim-work-function")) {
            options.workFunction = value.toDouble(&ok);
            ok = ok && options.workFunction > 0 && options.workFunction < 20;
        } else if (name == QLatin1String("--sim-power-number")) {
            options.powerNumber = value.toDouble(&ok);
            ok = ok && options.powerNumber > 0 && options.powerNumber <= 2;
        } else if (name == QLatin1String("--sim-speed")) {
            options.speed = value.toDouble(&ok);
            ok = ok && options.speed > 0 && std::isfinite(options.speed); // "inf" reads as a number
        } else if (name == QLatin1String("--sim-seed")) {
            options.seed = value.toULongLong(&ok);
        } else {
            const QStringList faults = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
            try {
                FaultPlan::parse(faults);
            } catch (const std::invalid_argument& e) {
                return QStringLiteral("invalid value for %1: %2").arg(name, QString::fromStdString(e.what()));
            }
            options.faults << faults;
            ok = true;
        }
        if (!ok)
            return QStringLiteral("invalid value for %1: %2").arg(name, value);
    }
    return std::nullopt;
}

QString simOptionsHelp()
{
    return QStringLiteral(
        "  --sim-work-function EV   work function of the simulated sample (default 5.10)\n"
        "  --sim-power-number N     yield exponent n, yield ~ (E - phi)^(1/n) (default 0.5)\n"
        "  --sim-speed X            simulated time runs X times faster (default 1)\n"
        "  --sim-seed N             seed of the counting noise (default 1)\n"
        "  --sim-cold               the instrument has just been switched on (not warmed up)\n"
        "  --sim-fault F[,F...]     inject faults: no-reply, garbage, split, merge, error:N,\n"
        "                           door-open, diag-fail, detector-fail, high-background,\n"
        "                           span-empty; F@XX limits a fault to commands starting with XX\n"
        "                           (e.g. no-reply@CS, error:16@ES)\n");
}

} // namespace tz4::sim
