// The recorded calls of an inline-profile run as a readable trace: "malloc 520" for each
// allocation (numbered #0, #1, ... in order), "free #k" naming the allocation a free gives
// back, "memset N" for fills; other calls by name. Used by the program tests of the host tier.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "stand_in_inline.h"

inline std::vector<std::string> inline_trace(const std::vector<std::string> &keep) {
  std::vector<std::string> trace;
  std::map<uint64_t, size_t> index; // block address -> its latest allocation number
  const auto &allocations = standin::inline_profile::allocations();
  size_t next = 0;
  for (const auto &call : standin::calls()) {
    if (call.name == "malloc") {
      if (next < allocations.size())
        index[reinterpret_cast<uintptr_t>(allocations[next].first)] = next;
      trace.push_back("malloc " + std::to_string(call.args[0]));
      ++next;
    } else if (call.name == "free") {
      const auto it = index.find(call.args[0]);
      trace.push_back(it == index.end() ? "free ?" : "free #" + std::to_string(it->second));
    } else if (call.name == "memset") {
      trace.push_back("memset " + std::to_string(call.args[2]));
    } else {
      for (const std::string &name : keep)
        if (call.name == name)
          trace.push_back(name);
    }
  }
  return trace;
}
