#include "jet/collation/text_key.h"

#include <cstdio>
#include <string>

#include "jet/error.h"

namespace jet::collation {
namespace {

constexpr std::size_t kMaxIndexedUnits = 255;
constexpr std::uint8_t kEndText = 0x01;
constexpr std::uint8_t kEndExtra = 0x00;
constexpr std::uint8_t kExtraPlaceholder = 0x02;  // a character without extra codes
constexpr std::uint8_t kUnprintableMark = 0x06;
constexpr std::uint8_t kCrazyStart = 0x80;
constexpr std::uint8_t kCrazyIgnoredAtEnd = 0x03;
constexpr std::uint8_t kCrazySuffix[] = {0xFF, 0x02, 0x80, 0xFF, 0x80};
constexpr std::uint8_t kCrazyBeforeUnprintable = 0xFF;

// The accent/case codes, one group per character that has inline codes,
// with placeholders for characters that have none; modifiers change the
// last code instead of adding one.
class ExtraCodes {
 public:
  void add(std::size_t charIndex, std::span<const std::uint8_t> codes) {
    fillTo(charIndex);
    bytes_.insert(bytes_.end(), codes.begin(), codes.end());
    ++chars_;
  }
  void modify(std::size_t charIndex, std::uint8_t modifier) {
    fillTo(charIndex);
    if (bytes_.empty()) {
      bytes_.push_back(modifier);
      leadingModifiers_ = 1;
    } else {
      bytes_.back() = static_cast<std::uint8_t>(bytes_.back() + modifier);
    }
  }
  // Where an unprintable character at `charIndex` counts from: the extra
  // codes as they would stand once filled up to that character.
  std::size_t unprintablePosition(std::size_t charIndex) const {
    if (!used_) return charIndex;
    return bytes_.size() + (charIndex - chars_) - leadingModifiers_;
  }
  // Trailing placeholders (and codes below them) carry no information.
  std::vector<std::uint8_t>& trimmed() {
    while (!bytes_.empty() && bytes_.back() <= kExtraPlaceholder) bytes_.pop_back();
    return bytes_;
  }

 private:
  void fillTo(std::size_t charIndex) {
    used_ = true;
    if (chars_ < charIndex) {
      bytes_.insert(bytes_.end(), charIndex - chars_, kExtraPlaceholder);
      chars_ = charIndex;
    }
  }

  std::vector<std::uint8_t> bytes_;
  std::size_t chars_ = 0;
  std::size_t leadingModifiers_ = 0;
  bool used_ = false;
};

void appendCrazyCodes(std::vector<std::uint8_t> flags, std::vector<std::uint8_t>& key) {
  while (!flags.empty() && flags.back() == kCrazyIgnoredAtEnd) flags.pop_back();
  // Three two-bit flags to a byte, under a common 0x80 prefix.
  std::uint8_t byte = kCrazyStart;
  int used = 0;
  for (std::uint8_t f : flags) {
    byte = static_cast<std::uint8_t>(byte | (f << ((2 - used) * 2)));
    if (++used == 3) {
      key.push_back(byte);
      byte = kCrazyStart;
      used = 0;
    }
  }
  if (used > 0) key.push_back(byte);
  key.insert(key.end(), std::begin(kCrazySuffix), std::end(kCrazySuffix));
}

// Jackcess, whose tables these are, refuses these too: Access's codes for
// characters outside the BMP are not known, and a key must never be guessed.
Error outsideBmp(char16_t unit) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(unit));
  return Error(errc::kFailure, std::string("The text holds the surrogate code unit U+") + hex +
                                   " and cannot be written into an index of this database: "
                                   "characters outside the Basic Multilingual Plane have no "
                                   "sort key in the General sort order.");
}

}  // namespace

void appendTextKey(std::u16string_view text, const CodeTable& table, bool ascending,
                   std::vector<std::uint8_t>& key) {
  if (text.size() > kMaxIndexedUnits) text = text.substr(0, kMaxIndexedUnits);
  const std::size_t start = key.size();
  ExtraCodes extra;
  std::vector<std::uint8_t> unprintable;
  std::vector<std::uint8_t> crazy;
  std::size_t charIndex = 0;  // counts characters that have inline codes

  for (char16_t unit : text) {
    const CharCodes c = table.lookup(unit);
    const std::size_t here = charIndex;
    switch (c.kind) {
      case CodeKind::Simple: {
        const auto bytes = c.first();
        key.insert(key.end(), bytes.begin(), bytes.end());
        ++charIndex;
        break;
      }
      case CodeKind::International:
      case CodeKind::InternationalExt: {
        const auto bytes = c.first();
        key.insert(key.end(), bytes.begin(), bytes.end());
        ++charIndex;
        if (c.secondLength > 0) extra.add(here, c.second());
        if (c.crazyFlag != 0) crazy.push_back(c.crazyFlag);
        break;
      }
      case CodeKind::Modifier: extra.modify(here, c.first()[0]); break;
      case CodeKind::Unprintable: {
        const std::size_t position = 7 + 4 * extra.unprintablePosition(here);
        const auto mark = static_cast<std::uint16_t>(position | 0x8000);
        unprintable.push_back(static_cast<std::uint8_t>(mark >> 8));
        unprintable.push_back(static_cast<std::uint8_t>(mark & 0xFF));
        unprintable.push_back(kUnprintableMark);
        const auto bytes = c.first();
        unprintable.insert(unprintable.end(), bytes.begin(), bytes.end());
        break;
      }
      case CodeKind::Ignored: break;
      case CodeKind::Surrogate: throw outsideBmp(unit);
    }
  }

  key.push_back(kEndText);
  const std::vector<std::uint8_t>& extraBytes = extra.trimmed();
  if (!extraBytes.empty() || !unprintable.empty() || !crazy.empty()) {
    key.insert(key.end(), extraBytes.begin(), extraBytes.end());
    if (!unprintable.empty() || !crazy.empty()) {
      key.push_back(kEndText);
      key.push_back(kEndText);
      if (!crazy.empty()) {
        appendCrazyCodes(std::move(crazy), key);
        if (!unprintable.empty()) key.push_back(kCrazyBeforeUnprintable);
      }
      if (!unprintable.empty()) {
        key.push_back(kEndText);
        key.insert(key.end(), unprintable.begin(), unprintable.end());
      }
    }
  }
  if (!ascending) {
    key.push_back(kEndExtra);
    for (std::size_t i = start; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(~key[i]);
  }
  key.push_back(kEndExtra);
}

}  // namespace jet::collation
