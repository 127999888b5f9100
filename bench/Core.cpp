#include "bench/BenchSupport.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/SystemFile.h"
#include "core/MessageIds.h"

// Text output and the tables format every data point through these, thousands per record.

static void FormatNumberFixed(benchmark::State& state)
{
    double value = 1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tz4::formatNumber(value, QStringLiteral("####0.0")));
        value += 0.001;
    }
}
BENCHMARK(FormatNumberFixed);

static void FormatNumberScientific(benchmark::State& state)
{
    double value = 1.2345e-7;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tz4::formatNumber(value, QStringLiteral("0.00E+00")));
        value *= 1.0001;
    }
}
BENCHMARK(FormatNumberScientific);

static void ShortestTextSingle(benchmark::State& state)
{
    float value = 4.75f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tz4::shortestText(value));
        value += 0.05f;
    }
}
BENCHMARK(ShortestTextSingle);

static void GetResWithArguments(benchmark::State& state)
{
    const QVariantList arguments{QStringLiteral("\t"), 5, 10, 51};
    for (auto _ : state)
        benchmark::DoNotOptimize(tz4::GetRes(tz4::msg::TextEnergyRange, arguments));
}
BENCHMARK(GetResWithArguments);

static void KeyParts(benchmark::State& state)
{
    const QString key = QStringLiteral("123456 W");
    for (auto _ : state) {
        benchmark::DoNotOptimize(tz4::GetKeySeq(key));
        benchmark::DoNotOptimize(tz4::GetKeyType(key));
    }
}
BENCHMARK(KeyParts);

static void ReadSettingsFile(benchmark::State& state)
{
    QByteArray content;
    for (int i = 0; i < 3; ++i)
        content += "'\r\n[Body]\tTZ-4\t'Measure System (Selected TZ-3,TZ-4)\r\n[BaudRate]\t19200\t'Default 19200\r\n"
                   "[Parity]\tNone\t'Default None\r\n[FontName]\tArial\t'Default Use Font Name\r\n"
                   "[FontSize]\t9.75\t'Default Use Font Size\r\n\r\n[Debug]\tFalse\t'Program Debag Flag\r\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(tz4::readSettingsLines(content));
}
BENCHMARK(ReadSettingsFile);

int main(int argc, char** argv) { return tz4::bench::runBenchmarks(argc, argv); }
