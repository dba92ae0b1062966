// ratio_main.cpp - benchmark main that, after the usual report, prints a table
// of megapixels per second for each operation and the ratio of Framecraft to
// each peer.
//
// Benchmarks are named "<operation>/<implementation>", the implementation
// being "framecraft" or a peer ("opencv", "swscale", "memcpy" ...), and report
// pixels through state.SetItemsProcessed(). With repetitions (for instance
// --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true, which
// alternates the implementations) each rate is the median of the repetitions,
// so a burst of load on a shared machine does not decide a row.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

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
      const std::string implementation = name.substr(slash + 1);
      auto& byImplementation = rates_[operation];
      if (byImplementation.empty()) order_.push_back(operation);
      if (byImplementation.find(implementation) == byImplementation.end())
        implementations_[operation].push_back(implementation);
      byImplementation[implementation].push_back(items->second.value / 1e6);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-40s %-12s %10s %10s\n", "operation", "peer", "Mpx/s", "fc/peer");
    for (const auto& operation : order_) {
      auto& rates = rates_[operation];
      const double ours = rates.count("framecraft") ? median(rates["framecraft"]) : 0;
      for (const auto& implementation : implementations_[operation]) {
        const double rate = median(rates[implementation]);
        if (implementation == "framecraft") {
          std::printf("%-40s %-12s %10.1f %10s\n", operation.c_str(), "framecraft", ours, "");
        } else {
          const double ratio = rate > 0 ? ours / rate : 0;
          std::printf("%-40s %-12s %10.1f %10.2f\n", operation.c_str(), implementation.c_str(), rate, ratio);
        }
      }
    }
  }

 private:
  std::vector<std::string> order_;
  std::map<std::string, std::vector<std::string>> implementations_;
  std::map<std::string, std::map<std::string, std::vector<double>>> rates_;
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
