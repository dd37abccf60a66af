#!/usr/bin/env python3
"""Generates src/jet/collation/general_codes_data.cpp from the code tables in
src/jet/collation/data/.

The tables are the text-index collation codes of the Access "General" sort
order (legacy = Access 2000-2007 and "General - Legacy" since 2010; general
= the 2010 variant). They are data taken from the Jackcess project
(jahlborn/jackcess, Apache License 2.0): index_codes_genleg.txt,
index_codes_ext_genleg.txt, index_codes_gen.txt, index_codes_ext_gen.txt.
The base files hold one line per UTF-16 code unit U+0000-U+00FF, the ext
files one line per code unit U+0100-U+FFFF with the surrogate halves
U+D800-U+DFFF left out.

Line format: a kind letter, then comma-separated hex byte strings:
  S<inline>                      simple
  I<inline>,<extra>              international
  U<unprintable>                 unprintable
  P<modifier>                    unprintable, modifies the last extra code
  Z<inline>,<extra>,<1|other>    international with a "crazy" flag (extra may be empty)
  X                              ignored

Output: per table one byte string of records, one record per code unit,
and the offset of every 8th record (code_table.h describes the records).
Runs of ideographs, Hangul syllables and private-use characters carry
consecutive codes, so most records there are a single "next" byte and the
tables stay small.

Usage: gen_index_codes.py  (from anywhere)
"""
import pathlib

ROOT = pathlib.Path(__file__).resolve().parents[2]
DATA = ROOT / "src/jet/collation/data"
OUT = ROOT / "src/jet/collation/general_codes_data.cpp"

# Must match code_table.h.
KIND = {"S": 0, "I": 1, "U": 2, "P": 3, "Z": 4}
TAG_IGNORED = 0x00
TAG_SURROGATE = 0x01
TAG_NEXT = 0x10     # low nibble: codes skipped before this one
TAG_FULL = 0x80     # | crazy << 3 | kind; then firstLength << 4 | secondLength
BLOCK = 8
MAX_CODE_BYTES = 12
SURROGATES = range(0xD800, 0xE000)


def hex_bytes(text):
    if not text:
        return []
    if len(text) % 2:
        text = "0" + text
    return [int(text[i:i + 2], 16) for i in range(0, len(text), 2)]


def load(base, ext):
    lines = (DATA / base).read_text().split("\n")[:256]
    ext_lines = [l for l in (DATA / ext).read_text().split("\n") if l]
    assert len(lines) == 256 and len(ext_lines) == 0x10000 - 256 - len(SURROGATES)
    table, it = lines, iter(ext_lines)
    for unit in range(256, 0x10000):
        table.append(None if unit in SURROGATES else next(it))
    return table


def parse(line):
    """(kind, first, second, crazy) of one line; None for surrogates."""
    if line is None:
        return None
    kind, parts = line[0], line[1:].split(",")
    if kind == "X":
        return ("X", [], [], 0)
    first = hex_bytes(parts[0])
    second = hex_bytes(parts[1]) if kind in "IZ" else []
    crazy = (2 if parts[2] == "1" else 3) if kind == "Z" else 0
    assert first and len(first) + len(second) <= MAX_CODE_BYTES, line
    assert kind != "P" or len(first) == 1, line
    return (kind, first, second, crazy)


def successor(code):
    """The next code of the same width whose bytes are all at least 2 (the
    codes 0 and 1 are end marks in a key), or None past the width."""
    width, value = len(code), int.from_bytes(bytes(code), "big") + 1
    while value < 256 ** width:
        candidate = list(value.to_bytes(width, "big"))
        if min(candidate) >= 2:
            return candidate
        value += 1
    return None


def next_gap(previous, code):
    """How many codes lie between previous and code, if code follows it."""
    candidate = successor(previous)
    for gap in range(16):
        if candidate is None:
            return None
        if candidate == code:
            return gap
        candidate = successor(candidate)
    return None


def encode(entries):
    records, starts = bytearray(), []
    previous = None  # inline code of the previous simple record in this block
    for unit, entry in enumerate(entries):
        if unit % BLOCK == 0:
            starts.append(len(records))
            previous = None
        if entry is None or entry[0] == "X":
            records.append(TAG_SURROGATE if entry is None else TAG_IGNORED)
            previous = None
            continue
        kind, first, second, crazy = entry
        gap = next_gap(previous, first) if kind == "S" and previous else None
        if gap is not None:
            records.append(TAG_NEXT | gap)
        else:
            records.append(TAG_FULL | (crazy << 3) | KIND[kind])
            records.append(len(first) << 4 | len(second))
            records.extend(first + second)
        previous = first if kind == "S" else None
    return records, starts


def byte_string(data):
    # Printable bytes stand as themselves; three-digit octal escapes never
    # run into the character after them.
    def char(b):
        return chr(b) if 0x20 <= b < 0x7F and chr(b) not in '"\\' else "\\%03o" % b
    rows = []
    for i in range(0, len(data), 64):
        rows.append('    "' + "".join(char(b) for b in data[i:i + 64]) + '"')
    return "\n".join(rows)


def table(name, base, ext):
    records, starts = encode([parse(l) for l in load(base, ext)])
    text = "// %d bytes of records for %d code units.\n" % (len(records), 0x10000)
    text += "constexpr unsigned char k%sRecords[] =\n%s;\n\n" % (name, byte_string(records))
    text += "constexpr std::uint32_t k%sBlockStarts[] = {\n" % name
    for i in range(0, len(starts), 8):
        text += "    " + ", ".join("%d" % s for s in starts[i:i + 8]) + ",\n"
    text += "};\n"
    return text


def main():
    legacy = table("Legacy", "index_codes_genleg.txt", "index_codes_ext_genleg.txt")
    general = table("General", "index_codes_gen.txt", "index_codes_ext_gen.txt")
    OUT.write_text(
        "// Generated by tools/collation/gen_index_codes.py from src/jet/collation/data/;\n"
        "// do not edit. The codes are data of the Jackcess project (Apache License 2.0).\n"
        "// clang-format off\n"
        "#include \"jet/collation/code_table.h\"\n\n"
        "namespace jet::collation {\nnamespace {\n\n"
        + legacy + "\n" + general +
        "\n}  // namespace\n\n"
        "// The string literals end in a terminating zero that is no record.\n"
        "const CodeTable kLegacyCodeTable{kLegacyBlockStarts,\n"
        "                                 {kLegacyRecords, sizeof kLegacyRecords - 1}};\n"
        "const CodeTable kGeneralCodeTable{kGeneralBlockStarts,\n"
        "                                  {kGeneralRecords, sizeof kGeneralRecords - 1}};\n\n"
        "}  // namespace jet::collation\n")


if __name__ == "__main__":
    main()
