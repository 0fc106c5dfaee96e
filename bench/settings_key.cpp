// The settings store with the quick bar's layout, one value per button: replacing a key of a
// thousand values whole (the bar's save as the program ends, to stay well under a second) and
// reading a key of a hundred thousand values (the bar's start, to grow with the count alone).

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "platform/settings_store.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr const char* kKey = "Software\\Quenmark\\Orvello2\\QuickBar";

std::vector<platform::StoredValue> Names(int count) {
    std::vector<platform::StoredValue> values;
    for (int i = 0; i < count; ++i) values.push_back({std::to_string(i), platform::ValueType::String, "Cam" + std::to_string(i)});
    values.push_back({"DOROZADATA", platform::ValueType::Binary, std::string(84, '\0')});
    return values;
}

void BM_ReplaceKeyOfAThousandButtons(benchmark::State& state) {
    const testsupport::TempDir store;
    setenv("XDG_CONFIG_HOME", store.path().c_str(), 1);
    const std::vector<platform::StoredValue> values = Names(1000);
    for (auto _ : state) platform::SettingsKey::ReplaceKey(kKey, values);
}
BENCHMARK(BM_ReplaceKeyOfAThousandButtons)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReadAllOfAHundredThousandValues(benchmark::State& state) {
    const testsupport::TempDir store;
    setenv("XDG_CONFIG_HOME", store.path().c_str(), 1);
    platform::SettingsKey::ReplaceKey(kKey, Names(100000));
    for (auto _ : state) benchmark::DoNotOptimize(platform::SettingsKey(kKey, false).ReadAll());
}
BENCHMARK(BM_ReadAllOfAHundredThousandValues)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
