// Independent readers of the files the engine writes: mdbtools' command
// line programs and mdb-reader (when the test oracle's node packages are
// installed), run as separate processes.
#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "oracle_required.h"

namespace jetwrite_test {

struct CommandResult {
  int status = -1;
  std::string output;
};

inline CommandResult runCommand(const std::string& command) {
  CommandResult r;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen((command + " 2>&1").c_str(), "r"), ::pclose);
  if (!pipe) return r;
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) r.output.append(buffer.data(), n);
  r.status = ::pclose(pipe.release());
  return r;
}

inline std::string quoted(const std::string& s) {
  return "'" + s + "'";
}

// `mdb-export` of one table as CSV without a header line.
inline CommandResult mdbExport(const std::string& file, const std::string& table) {
  return runCommand("mdb-export -H " + quoted(file) + " " + quoted(table));
}

inline std::string oracleModules() {
  return std::string(FERROVALE_ORACLE_DIR) + "/node_modules";
}
inline bool haveMdbReader() {
  return std::filesystem::exists(oracleModules() + "/mdb-reader");
}

// Runs a node script with `db` bound to an mdb-reader instance of `file`;
// the script is passed in single quotes, so it uses double quotes only.
inline CommandResult withMdbReader(const std::string& file, const std::string& script) {
  const std::string program =
      "const M=require(\"mdb-reader\");const R=M.default||M;const fs=require(\"fs\");"
      "const db=new R(fs.readFileSync(process.argv[1]));" +
      script;
  return runCommand("NODE_PATH=" + quoted(oracleModules()) + " node -e " + quoted(program) + " " +
                    quoted(file));
}

}  // namespace jetwrite_test
