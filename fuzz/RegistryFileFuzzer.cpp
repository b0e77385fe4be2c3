// The registry file reader on any text. Whatever it reads, writing it out and reading that
// back must keep every key and value: the file a person edits by hand can hold anything.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/registry/filestore/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using falcrest::registry::filestore::RegFile;
  const RegFile file = RegFile::Parse(std::string(reinterpret_cast<const char*>(data), size));
  const std::string written = file.Format();
  const std::string rewritten = RegFile::Parse(written).Format();
  if (rewritten != written) {
    std::fprintf(stderr, "the written file reads back differently:\n%s\n----\n%s\n", written.c_str(),
                 rewritten.c_str());
    std::abort();
  }
  return 0;
}
