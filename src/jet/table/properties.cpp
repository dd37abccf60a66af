// LvProp parsing.
#include "jet/table/properties.h"

#include <cstring>

#include "jet/file/code_page.h"
#include "jet/file/text.h"

namespace jet {
namespace {

constexpr std::uint16_t kNameList = 0x80;
constexpr std::size_t kChunkHeader = 6;

std::string nameText(ByteView bytes, const Header& header) {
  std::string text;
  if (header.format.jet3)
    CodePage(header.codePage).appendUtf8Of(bytes, text);
  else
    appendJet4Text(bytes, text);
  return text;
}

std::vector<std::string> parseNames(ByteView chunk, const Header& header) {
  std::vector<std::string> names;
  for (std::size_t pos = 0; pos < chunk.size();) {
    const std::size_t length = u16(chunk, pos);
    names.push_back(nameText(slice(chunk, pos + 2, length, "a property name"), header));
    pos += 2 + length;
  }
  return names;
}

void parseBlock(ByteView chunk, const std::vector<std::string>& names, const Header& header,
                PropertyBlocks& out) {
  const std::size_t nameLength = u16(chunk, 4);
  auto& block = out[nameText(slice(chunk, 6, nameLength, "a property block name"), header)];
  for (std::size_t pos = 6 + nameLength; pos < chunk.size();) {
    const std::size_t length = u16(chunk, pos);
    const std::size_t nameIndex = u16(chunk, pos + 4);
    const ByteView value = slice(chunk, pos + 8, u16(chunk, pos + 6), "a property value");
    if (length < 8 || nameIndex >= names.size()) throw damaged("a property refers to a missing name");
    block[names[nameIndex]] = Property{u8(chunk, pos + 3), {value.begin(), value.end()}};
    pos += length;
  }
}

}  // namespace

PropertyBlocks parseProperties(ByteView blob, const Header& header) {
  PropertyBlocks blocks;
  const ByteView magic = slice(blob, 0, 4, "the property header");
  if (std::memcmp(magic.data(), "MR2", 4) != 0 && std::memcmp(magic.data(), "KKD", 4) != 0)
    throw damaged("object properties have an unknown format");
  std::vector<std::string> names;
  for (std::size_t pos = 4; pos < blob.size();) {
    const std::size_t length = u32(blob, pos);
    const std::uint16_t kind = u16(blob, pos + 4);
    if (length < kChunkHeader) throw damaged("a property chunk is too short");
    const ByteView chunk = slice(blob, pos + kChunkHeader, length - kChunkHeader, "a property chunk");
    if (kind == kNameList)
      names = parseNames(chunk, header);
    else if (kind <= 2)
      parseBlock(chunk, names, header, blocks);
    pos += length;
  }
  return blocks;
}

}  // namespace jet
