// What the stock lookup costs on top of what the host itself needs to read
// the same files. Three ways over one data set of 100 warehouses:
//   lookup     F11 on item list 147: positioning, both passes, result file, window
//   hostRead   the host's own table services: open, read every record, close
//   plainRead  the files read straight through, with no host in between
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "probes/stock_probes.h"
#include "sample_data.h"
#include "weltor.h"

namespace {

constexpr int kWarehouses = 100;
constexpr int16_t kOwnWarehouse = 0;
constexpr int16_t kScreen = 147;
constexpr int16_t kF11 = static_cast<int16_t>(0x8500);
constexpr int kLinkEvery = 10;

struct Host {
  void* module = nullptr;
  weltor::HostState* state = nullptr;
  WeltorResetFunction reset = nullptr;
  WeltorWriteSampleDataFunction writeSampleData = nullptr;
  int32_t (*warehouseFilePath)(int32_t, char*, const char*, const char*, int32_t) = nullptr;
  int32_t (*tableFilePath)(int32_t, TableRef**, char*, int32_t) = nullptr;
  int32_t (*tableOpen)(void*, int32_t, int32_t, const char*, int32_t, int32_t) = nullptr;
  int32_t (*tableReadNext)(void*) = nullptr;
  int32_t (*tableClose)(void*) = nullptr;
  int32_t (*tableObjectRelease)(void*) = nullptr;
  const StockProbe* stock = nullptr;
};

void* symbol(void* module, const char* name) {
  void* found = dlsym(module, name);
  if (found == nullptr) throw std::runtime_error(std::string("missing ") + name);
  return found;
}

template <class T>
void bind(T& target, void* module, const char* name) {
  target = reinterpret_cast<T>(symbol(module, name));
}

Host& theHost() {
  static Host host = [] {
    Host h;
    const std::string build = KAMORIA_BUILD_DIR;
    h.module = dlopen((build + "/hosts/full/WELTOR.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (h.module == nullptr) throw std::runtime_error(dlerror());
    h.state = reinterpret_cast<WeltorStateFunction>(symbol(h.module, "weltorState"))();
    bind(h.reset, h.module, "weltorReset");
    bind(h.writeSampleData, h.module, "weltorWriteSampleData");
    bind(h.warehouseFilePath, h.module, "ordinal_52311");
    bind(h.tableFilePath, h.module, "ordinal_51425");
    bind(h.tableOpen, h.module, "ordinal_52278");
    bind(h.tableReadNext, h.module, "ordinal_52279");
    bind(h.tableClose, h.module, "ordinal_52281");
    bind(h.tableObjectRelease, h.module, "ordinal_50538");
    // The probe build is the shipped plug-in plus a way to call the command
    // without activating it through the host's screens.
    void* plugin = dlopen((build + "/probe/kamoria.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (plugin == nullptr) throw std::runtime_error(dlerror());
    h.stock = reinterpret_cast<StockProbeFunction>(symbol(plugin, "kamoriaProbeStock"))();
    return h;
  }();
  return host;
}

std::filesystem::path dataRoot() {
  const char* chosen = std::getenv("KAMORIA_BENCH_DATA");
  return chosen != nullptr ? std::filesystem::path(chosen) : std::filesystem::path(KAMORIA_BUILD_DIR) / "bench-data";
}

// A fresh host on the data set of this size, standing on one item of its
// own warehouse on item list 147. Files from an earlier run are kept.
Host& hostOn(int itemsPerWarehouse) {
  Host& host = theHost();
  const auto dir = dataRoot() / ("items" + std::to_string(itemsPerWarehouse));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  host.reset(dir.c_str());
  const weltor::SampleShape shape{kWarehouses, itemsPerWarehouse, kLinkEvery, 1};
  if (host.writeSampleData(&shape) != 0) throw std::runtime_error("cannot write the sample data");
  host.state->session.currentWarehouse = kOwnWarehouse;
  host.state->screens.current = kScreen;
  for (int i = 0; i < host.state->stock.listCount; ++i)
    if (host.state->stock.lists[i].screenId == kScreen)
      host.state->stock.lists[i].cursorItemNo = static_cast<int16_t>(kLinkEvery * 7);
  return host;
}

// The files both passes read: every other warehouse's item file, then the links.
template <class Visit>
void forEachScannedFile(Host& host, Visit visit) {
  char path[264];
  for (int warehouse = 0; warehouse < kWarehouses; ++warehouse) {
    if (warehouse == kOwnWarehouse) continue;
    host.warehouseFilePath(warehouse, path, "MMM", ".MGR", 103);
    visit(path, 4);
  }
  host.tableFilePath(154, nullptr, path, 0);
  visit(path, 154);
}

// The size of what one lookup reads. Reading it once also brings the files
// into the page cache, so that no way is timed against the disk.
int64_t scannedBytes(Host& host) {
  static char buffer[1 << 16];
  int64_t total = 0;
  forEachScannedFile(host, [&](const char* path, int) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return;
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) total += static_cast<int64_t>(got);
    std::fclose(file);
  });
  return total;
}

bool lookUpOnce(Host& host) {
  host.state->log.count = 0;
  return host.stock->lookup(kF11, kScreen) == 1 && host.state->stock.window.lineCount > 0;
}

void readAsTheHostOnce(Host& host) {
  host.state->log.count = 0;
  alignas(16) unsigned char tableFile[192] = {};
  int64_t records = 0;
  forEachScannedFile(host, [&](const char* path, int fileCode) {
    if (host.tableOpen(tableFile, 0, fileCode, path, 0, 0) != 0)
      while (host.tableReadNext(tableFile) == 1) ++records;
    host.tableClose(tableFile);
  });
  host.tableObjectRelease(tableFile);
  benchmark::DoNotOptimize(records);
}

void lookup(benchmark::State& state) {
  Host& host = hostOn(static_cast<int>(state.range(0)));
  const int64_t bytes = scannedBytes(host);
  for (auto _ : state)
    if (!lookUpOnce(host)) state.SkipWithError("the lookup found nothing");
  state.SetBytesProcessed(state.iterations() * bytes);
}

void hostRead(benchmark::State& state) {
  Host& host = hostOn(static_cast<int>(state.range(0)));
  const int64_t bytes = scannedBytes(host);
  for (auto _ : state) readAsTheHostOnce(host);
  state.SetBytesProcessed(state.iterations() * bytes);
}

// The two ways in alternation, so that whatever else the machine does falls
// on both alike; the counter is the median of the pairs' ratios.
void lookupOverHostRead(benchmark::State& state) {
  Host& host = hostOn(static_cast<int>(state.range(0)));
  scannedBytes(host);
  std::vector<double> ratios;
  for (auto _ : state) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    readAsTheHostOnce(host);
    const auto read = Clock::now();
    if (!lookUpOnce(host)) state.SkipWithError("the lookup found nothing");
    const auto looked = Clock::now();
    ratios.push_back(std::chrono::duration<double>(looked - read).count() /
                     std::chrono::duration<double>(read - start).count());
  }
  std::sort(ratios.begin(), ratios.end());
  state.counters["lookup/host"] = ratios.empty() ? 0.0 : ratios[ratios.size() / 2];
}

void plainRead(benchmark::State& state) {
  Host& host = hostOn(static_cast<int>(state.range(0)));
  const int64_t bytes = scannedBytes(host);
  static char buffer[1 << 16];
  for (auto _ : state) {
    int64_t read = 0;
    forEachScannedFile(host, [&](const char* path, int) {
      std::FILE* file = std::fopen(path, "rb");
      if (file == nullptr) return;
      for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) read += static_cast<int64_t>(got);
      std::fclose(file);
    });
    benchmark::DoNotOptimize(read);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

BENCHMARK(lookup)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(hostRead)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(plainRead)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(lookupOverHostRead)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(8.0);

// The console report, then the ratios the three ways give.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With repetitions the median stands for the size; otherwise the one run.
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (!median && (run.run_type != Run::RT_Iteration || run.iterations == 0)) continue;
      const std::string name = run.benchmark_name();
      const auto slash = name.find('/');
      const auto end = name.find('/', slash + 1);
      Result& result = results_[name.substr(slash + 1, end == std::string::npos ? end : end - slash - 1)];
      const double perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
      const double seconds = run.GetAdjustedRealTime() / perSecond;
      const double cpuSeconds = run.GetAdjustedCPUTime() / perSecond;
      const auto bytes = run.counters.find("bytes_per_second");
      const double mbPerSecond = bytes != run.counters.end() ? bytes->second.value / 1e6 : 0;
      if (name.rfind("lookup/", 0) == 0) result.lookup = {seconds, cpuSeconds, mbPerSecond};
      if (name.rfind("hostRead/", 0) == 0) result.hostRead = {seconds, cpuSeconds, mbPerSecond};
      if (name.rfind("plainRead/", 0) == 0) result.plainRead = {seconds, cpuSeconds, mbPerSecond};
      const auto paired = run.counters.find("lookup/host");
      if (name.rfind("lookupOverHostRead", 0) == 0 && paired != run.counters.end()) result.paired = paired->second.value;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    // Other work on the machine stretches wall-clock times; the processor
    // time of this process is shown next to them.
    std::printf("\n%-9s %10s %10s %10s %12s %12s %12s %12s %11s %11s %11s\n", "items/wh", "lookup ms", "host ms",
                "plain ms", "lookup/host", "(cpu time)", "(paired)", "lookup/plain", "lookup MB/s", "host MB/s", "plain MB/s");
    for (const auto& [items, r] : results_)
      std::printf("%-9s %10.1f %10.1f %10.1f %11.3fx %11.3fx %11.3fx %11.3fx %11.0f %11.0f %11.0f\n", items.c_str(),
                  r.lookup.seconds * 1e3, r.hostRead.seconds * 1e3, r.plainRead.seconds * 1e3,
                  ratio(r.lookup.seconds, r.hostRead.seconds), ratio(r.lookup.cpuSeconds, r.hostRead.cpuSeconds), r.paired,
                  ratio(r.lookup.seconds, r.plainRead.seconds), r.lookup.mbPerSecond, r.hostRead.mbPerSecond,
                  r.plainRead.mbPerSecond);
  }

 private:
  static double ratio(double part, double whole) { return whole > 0 ? part / whole : 0.0; }

  struct Timing {
    double seconds = 0;
    double cpuSeconds = 0;
    double mbPerSecond = 0;
  };
  struct Result {
    Timing lookup, hostRead, plainRead;
    double paired = 0;
  };
  std::map<std::string, Result> results_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
