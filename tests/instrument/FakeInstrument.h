#pragma once

#include "tests/instrument/ScriptedLine.h"

#include "core/Formats.h"
#include "core/MeasurementParameters.h"

#include <cmath>
#include <map>

namespace tz4::test {

// Calibration and span memory as InitBody reads them: dead time 0.001, positions 100 (sample),
// 20 (photodiode), 1400 (carbon), 1550 (sample out), light-range gain r + 0.5, photodiode
// sensitivity (entry + 1) / 10000, span minima 1.5, 2..5, maxima 100..500, ranges 1..5.
inline void scriptCalibration(ScriptedLine& line)
{
    QStringList words = {"0.00", "1000"};
    words += QStringList({"100", "1", "20", "2", "1400", "3", "1550", "4"});
    words += "7";
    for (int range = 1; range <= 9; ++range)
        words += QStringList({QString::number(range), ".5"});
    for (int entry = 0; entry <= 58; ++entry)
        words += QStringList({"0.", QStringLiteral("%1").arg(entry + 1, 4, 10, QLatin1Char('0'))});
    line.queue("WO", words);
    line.queue("BL", {"1.5", "2", "3", "4", "5", "100", "200", "300", "400", "500", "1", "2", "3", "4", "5"});
}

// A small stateful instrument behind a scripted line, consistent with scriptCalibration: the
// photodiode reads dark + power x gain x sensitivity x 1000, counts follow a test-given rule.
struct FakeInstrument {
    int iris = 0;
    int filter = 0;
    int range = 9;
    int waveTenths = 2500;
    int highVolts = 0;
    int measHundredths = 1000;
    bool grid = false;
    double dark = 10;
    std::function<double(const FakeInstrument&)> power = [](const FakeInstrument&) { return 0.0; };
    std::function<int(const FakeInstrument&)> counts = [](const FakeInstrument&) { return 0; };

    double energy() const { return 1240.0 / (waveTenths / 10.0); }
    double diode() const
    {
        if (filter == 0)
            return dark;
        const qint64 entry = roundHalfEven((double(roundHalfEven(energy() * 100)) - 340) / 5);
        return dark + power(*this) * (range + 0.5) * ((entry + 1) / 10000.0) * 1000.0;
    }

    std::optional<QString> operator()(const QString& command)
    {
        const QString name = command.left(2);
        const QString argument = command.mid(2);
        if (command == "EO1")
            iris = 0;
        else if (command == "EL1")
            iris = 2000;
        else if (command == "FO1")
            filter = 0;
        else if (command == "LO1")
            waveTenths = 2500;
        else if (name == "ES" && !argument.isEmpty())
            iris = argument.toInt();
        else if (name == "FS" && !argument.isEmpty())
            filter = argument.toInt();
        else if (name == "RS" && !argument.isEmpty())
            range = argument.toInt();
        else if (name == "LS" && !argument.isEmpty())
            waveTenths = argument.toInt();
        else if (name == "VS" && !argument.isEmpty())
            highVolts = argument.toInt();
        else if (name == "TS" && !argument.isEmpty())
            measHundredths = argument.toInt();
        else if (name == "GS" && !argument.isEmpty())
            grid = argument == "1";
        else if (command == "KS")
            return QString::number(diode(), 'f', 3);
        else if (command == "CS")
            return QString::number(counts(*this));
        else if (command == "TS")
            return QString::number(measHundredths);
        else if (command == "LS")
            return QString::number(waveTenths);
        else if (command == "FS")
            return QString::number(filter);
        else if (command == "RS")
            return QString::number(range);
        else if (command == "ES")
            return QString::number(iris);
        return std::nullopt;
    }
};

// A measurement record reduced to its numbered parameters.
class FakeRecord final : public MeasurementParameters {
public:
    QVariant parameter(int number) const override
    {
        const auto it = values.find(number);
        return it == values.end() ? QVariant() : it->second;
    }
    void setParameter(int number, const QVariant& value) override { values[number] = value; }

    std::map<int, QVariant> values;
};

// Collects one process event's ProcType sequence and values.
struct EventTrail {
    template <typename Signal> EventTrail(uclTz4Body& body, Signal signal)
    {
        QObject::connect(&body, signal, &context, [this](qint32 type, const QVariant& v1, const QVariant& v2) {
            types << type;
            values.push_back({v1, v2});
        });
    }
    QList<int> types;
    std::vector<std::pair<QVariant, QVariant>> values;
    QObject context;
};

// A component on a fake instrument, initialised from scriptCalibration.
class FakeBody : public ScriptedBody {
protected:
    FakeBody()
    {
        scriptCalibration(line);
        line.setResponder([this](const QString& command) { return instrument(command); });
        line.on("OO", "1800");
        body.InitBody();
        line.clearSent();
        body.setSetDatas(&record);
    }

    FakeInstrument instrument;
    FakeRecord record;
};

} // namespace tz4::test
