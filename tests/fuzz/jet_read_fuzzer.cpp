// Fuzz entry point: any bytes, opened as an Access database and read to
// the last row of every table. jet::Error is the only acceptable failure;
// anything else (a crash, a sanitizer report, a hang) is a finding.
#include <cstddef>
#include <cstdint>

#include "jet/read_everything.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    jet::testing::readEverything({data, data + size});
  } catch (const jet::Error&) {
  }
  return 0;
}
