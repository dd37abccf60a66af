// The statements that fill the sample database: a small trading company's
// customers, their orders and order lines, a table whose name holds
// blanks, and an empty table for returns.
#pragma once

#include <string>
#include <vector>

namespace samplegen {

std::vector<std::string> sampleStatements();

}  // namespace samplegen
