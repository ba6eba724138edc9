// One ReadInteger of an existing value (the debug level, read on every debug
// log call) on a machine hive of 2,000 values in 200 keys, and for comparison
// one WriteInteger that really changes the value.
//
//   build-*/bench/settings/settings_bench
//
// prints the mean, median and spread of 15 repetitions.
#include "settings/store/HiveFormat.h"
#include "settings/store/HiveText.h"
#include "settings/uOrvoReg.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// 200 keys below the product key, ten values each, "Debug\DebugLevel" among them.
void writeMachineHive(const QString &folder)
{
    HiveKey root(rootKeyName(RegRoot::LocalMachine));
    HiveKey &product = root.childOrNew(L"SOFTWARE").childOrNew(L"Tollvane").childOrNew(L"Orvo");
    for (int k = 0; k < 200; ++k) {
        HiveKey &key = product.childOrNew(k == 100 ? std::wstring(L"Debug") : L"Section" + std::to_wstring(k));
        for (int v = 0; v < 10; ++v) {
            const std::wstring name =
                (k == 100 && v == 5) ? std::wstring(L"DebugLevel") : L"Value" + std::to_wstring(v);
            if (v % 3 == 0)
                key.setValue(
                    name,
                    {RegType::Sz,
                     unitsToUtf16le(L"C:\\Orvo\\Data\\Site" + std::to_wstring(k) + L".fdb" + std::wstring(1, L'\0'))});
            else if (v % 3 == 1)
                key.setValue(name, {RegType::Binary, {0, 0, 0, 0, 0, 0, 0xf0, 0x3f}});
            else
                key.setValue(name, {RegType::Dword, {std::uint8_t(v), 0, 0, 0}});
        }
    }
    const std::string bytes = writeHive(root, RegRoot::LocalMachine);
    QFile file(folder + "/HKEY_LOCAL_MACHINE.reg");
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        qFatal("cannot write the hive");
}

class HiveFixture
{
public:
    HiveFixture()
    {
        qputenv("PORDANE_REGISTRY_DIR", fFolder.path().toLocal8Bit());
        writeMachineHive(fFolder.path());
    }
    ~HiveFixture() { qunsetenv("PORDANE_REGISTRY_DIR"); }

private:
    QTemporaryDir fFolder;
};

void BM_ReadIntegerWithWriteBack(benchmark::State &state)
{
    HiveFixture hive;
    if (TOrvoReg().rootKey() != RegRoot::LocalMachine)
        state.SkipWithError("the machine hive is not writable");
    for (auto _ : state)
        benchmark::DoNotOptimize(TOrvoReg().ReadInteger("Debug", "DebugLevel", 0));
}
BENCHMARK(BM_ReadIntegerWithWriteBack)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

void BM_WriteIntegerThatChanges(benchmark::State &state)
{
    HiveFixture hive;
    int value = 0;
    for (auto _ : state)
        TOrvoReg().WriteInteger("Debug", "DebugLevel", ++value);
}
BENCHMARK(BM_WriteIntegerThatChanges)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
