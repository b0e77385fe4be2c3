#pragma once
// MD5 and Base64 encoding of the library against OpenSSL's, in the same run (Google
// Benchmark, median of repetitions).
#include <string>
#include <vector>

namespace bench {

struct DigestFigures {
  std::string what;    // "MD5", "Base64 encode"
  std::string size;    // "1 KiB (1024 bytes)"
  double libraryMBs = 0;
  double opensslMBs = 0;
  double ratio = 0;    // library / OpenSSL throughput
};

std::vector<DigestFigures> MeasureDigests();

}  // namespace bench
