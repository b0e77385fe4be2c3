#include "bench/Digests.h"

#define OPENSSL_SUPPRESS_DEPRECATED  // MD5(): the plain one-shot call is the fairest floor
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/md5.h>

#include <map>
#include <stdexcept>

#include "library/digest/Base64Class.h"
#include "library/digest/MD5Hash.h"
#include "library/digest/MD5HashClass.h"

namespace bench {
namespace {

// Printable ASCII, so that the library's code-page step has nothing to convert.
std::string Text(size_t size) {
  std::string text(size, ' ');
  uint32_t x = 2463534242u;
  for (char& c : text) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>('!' + x % 94);
  }
  return text;
}

// Keeps the median of each benchmark's repetitions, by name; prints nothing.
class Collector : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) throw std::runtime_error("benchmark " + run.benchmark_name() + ": " + run.error_message);
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        nanoseconds[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
  }
  std::map<std::string, double> nanoseconds;  // per call
};

struct Case {
  std::string what;
  std::string sizeText;
  size_t bytes;
  std::string library;
  std::string openssl;
};

}  // namespace

std::vector<DigestFigures> MeasureDigests() {
  constexpr size_t kKiB = 1024;
  constexpr size_t kMiB = 1024 * 1024;
  constexpr size_t kMiB3 = kMiB - kMiB % 3;  // Base64 input with no padding to add

  const std::vector<Case> cases = {
      {"MD5 (md5::DigestBytes)", "1 KiB (1024 bytes)", kKiB, "md5_lib_1k", "md5_ssl_1k"},
      {"MD5 (md5::DigestBytes)", "1 MiB (1048576 bytes)", kMiB, "md5_lib_1m", "md5_ssl_1m"},
      {"MD5 (MD5HashClass::ComputeHash, ASCII text)", "1 MiB (1048576 bytes)", kMiB, "md5_class_1m", "md5_ssl_1m"},
      {"Base64 encode (Base64Class::Encode64)", "1023 bytes", kKiB - 1, "b64_lib_1k", "b64_ssl_1k"},
      {"Base64 encode (Base64Class::Encode64)", "1048575 bytes (1 MiB less 1)", kMiB3, "b64_lib_1m", "b64_ssl_1m"},
  };

  std::map<std::string, std::string> inputs;
  for (size_t size : {kKiB, kMiB, kKiB - 1, kMiB3}) inputs[std::to_string(size)] = Text(size);
  const std::string& k1 = inputs[std::to_string(kKiB)];
  const std::string& m1 = inputs[std::to_string(kMiB)];
  // Lengths that are a multiple of 3: Encode64 appends no padding to its argument, so the
  // same argument serves every call and only the encoding is timed.
  std::string k1b64 = inputs[std::to_string(kKiB - 1)];
  std::string m1b64 = inputs[std::to_string(kMiB3)];

  auto md5Lib = [](const std::string& in) {
    return [&in](benchmark::State& state) {
      for (auto _ : state) benchmark::DoNotOptimize(falcrest::md5::DigestBytes(in));
    };
  };
  auto md5Ssl = [](const std::string& in) {
    return [&in](benchmark::State& state) {
      unsigned char digest[MD5_DIGEST_LENGTH];
      for (auto _ : state) {
        MD5(reinterpret_cast<const unsigned char*>(in.data()), in.size(), digest);
        benchmark::DoNotOptimize(digest);
      }
    };
  };
  auto b64Lib = [](std::string& in) {
    return [&in](benchmark::State& state) {
      const falcrest::Base64Class base64;
      for (auto _ : state) benchmark::DoNotOptimize(base64.Encode64(in));
    };
  };
  auto b64Ssl = [](const std::string& in) {
    return [&in](benchmark::State& state) {
      std::string out(4 * ((in.size() + 2) / 3) + 1, '\0');  // EVP_EncodeBlock: no line breaks, a final NUL
      for (auto _ : state) {
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&out[0]), reinterpret_cast<const unsigned char*>(in.data()),
                        static_cast<int>(in.size()));
        benchmark::DoNotOptimize(out.data());
      }
    };
  };
  auto md5Class = [](const std::string& in) {
    return [&in](benchmark::State& state) {
      const falcrest::MD5HashClass hash;
      for (auto _ : state) benchmark::DoNotOptimize(hash.ComputeHash(in));
    };
  };

  auto add = [](const char* name, auto fn) {
    benchmark::RegisterBenchmark(name, fn)->MinTime(0.2)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(
        benchmark::kNanosecond);
  };
  add("md5_lib_1k", md5Lib(k1));
  add("md5_ssl_1k", md5Ssl(k1));
  add("md5_lib_1m", md5Lib(m1));
  add("md5_ssl_1m", md5Ssl(m1));
  add("md5_class_1m", md5Class(m1));
  add("b64_lib_1k", b64Lib(k1b64));
  add("b64_ssl_1k", b64Ssl(k1b64));
  add("b64_lib_1m", b64Lib(m1b64));
  add("b64_ssl_1m", b64Ssl(m1b64));

  // Repetitions of all the benchmarks run in a random order, so that a busy moment of the
  // machine does not fall on one side of a comparison only.
  char program[] = "tarvanel-bench";
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  char* args[] = {program, interleave, nullptr};
  int count = 2;
  benchmark::Initialize(&count, args);
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::ClearRegisteredBenchmarks();

  std::vector<DigestFigures> figures;
  for (const Case& c : cases) {
    DigestFigures f;
    f.what = c.what;
    f.size = c.sizeText;
    const double libNs = collector.nanoseconds.at(c.library);
    const double sslNs = collector.nanoseconds.at(c.openssl);
    f.libraryMBs = static_cast<double>(c.bytes) / libNs * 1e3;  // bytes/ns = GB/s; x1e3 = MB/s
    f.opensslMBs = static_cast<double>(c.bytes) / sslNs * 1e3;
    f.ratio = sslNs / libNs;
    figures.push_back(f);
  }
  return figures;
}

}  // namespace bench
