#include "expected_differences.h"

#include <array>

namespace oracle {
namespace {

constexpr std::array kExpected = {
    ExpectedDifference{"placeholder", Reader::MdbTools, Aspect::File, "", "", "placeholder"},
};

}  // namespace

std::span<const ExpectedDifference> expectedDifferences() { return kExpected; }

std::optional<ExpectedDifference> expectedDifference(std::string_view fixture, Reader reader,
                                                     Aspect aspect, std::string_view table,
                                                     std::string_view column) {
  for (const ExpectedDifference& entry : kExpected) {
    if (entry.fixture == fixture && entry.reader == reader && entry.aspect == aspect &&
        entry.table == table && entry.column == column) {
      return entry;
    }
  }
  return std::nullopt;
}

}  // namespace oracle
