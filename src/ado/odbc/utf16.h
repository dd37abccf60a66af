// UTF-16 as wide ODBC calls deliver it, to the UTF-8 the layer speaks.
#pragma once

#include <string>
#include <string_view>

namespace ado::odbc {

// An unpaired surrogate becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);

}  // namespace ado::odbc
