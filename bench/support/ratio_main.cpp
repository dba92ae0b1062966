// ratio_main.cpp - benchmark main that, after the usual report, prints a table
// of megapixels per second for each operation and the ratio of Framecraft to
// each peer.
//
// Benchmarks are named "<operation>/<implementation>", the implementation
// being "framecraft" or a peer ("opencv", "swscale", "memcpy" ...), and report
// pixels through state.SetItemsProcessed().
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Rate {
  std::string implementation;
  double megapixelsPerSecond;
};

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      // Benchmarks timed by the wall clock carry a "/real_time" suffix.
      std::string name = run.benchmark_name();
      if (name.ends_with("/real_time")) name.resize(name.size() - std::string_view("/real_time").size());
      const auto slash = name.rfind('/');
      if (slash == std::string::npos) continue;
      auto items = run.counters.find("items_per_second");
      if (items == run.counters.end()) continue;
      const std::string operation = name.substr(0, slash);
      if (rates_.find(operation) == rates_.end()) order_.push_back(operation);
      rates_[operation].push_back({name.substr(slash + 1), items->second.value / 1e6});
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-40s %-12s %10s %10s\n", "operation", "peer", "Mpx/s", "fc/peer");
    for (const auto& operation : order_) {
      const auto& rates = rates_[operation];
      double ours = 0;
      for (const auto& r : rates)
        if (r.implementation == "framecraft") ours = r.megapixelsPerSecond;
      for (const auto& r : rates) {
        if (r.implementation == "framecraft") {
          std::printf("%-40s %-12s %10.1f %10s\n", operation.c_str(), "framecraft", ours, "");
        } else {
          const double ratio = r.megapixelsPerSecond > 0 ? ours / r.megapixelsPerSecond : 0;
          std::printf("%-40s %-12s %10.1f %10.2f\n", operation.c_str(), r.implementation.c_str(),
                      r.megapixelsPerSecond, ratio);
        }
      }
    }
  }

 private:
  std::vector<std::string> order_;
  std::map<std::string, std::vector<Rate>> rates_;
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
