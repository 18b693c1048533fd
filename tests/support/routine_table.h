// The routine table rtlib/routines.txt as the tests read it: one row per routine of the ABI.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace routine_table {

struct Row {
  std::string routine;
  std::string source;   // under rtlib/
  std::string compiled; // -Oz, -O2 or -Os
  bool leaf = false;
  std::vector<std::string> carried; // profiles; empty for none
  bool carried_by(const std::string &profile) const {
    for (const std::string &p : carried)
      if (p == profile)
        return true;
    return false;
  }
};

// The rows of the table at path; empty when it cannot be read.
inline std::vector<Row> read(const std::string &path) {
  std::vector<Row> rows;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    std::istringstream fields(line);
    Row row;
    std::string leaf, profile;
    fields >> row.routine >> row.source >> row.compiled >> leaf;
    row.leaf = leaf == "yes";
    while (fields >> profile)
      if (profile != "-")
        row.carried.push_back(profile);
    rows.push_back(row);
  }
  return rows;
}

} // namespace routine_table
