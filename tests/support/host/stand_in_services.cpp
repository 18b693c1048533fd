#include "stand_in_services.h"

#include <map>

namespace standin {
namespace {
struct Services {
  std::map<std::string, std::deque<uint64_t>> scripts;
  COORD size{80, 300};
};
Services &services() {
  static Services s;
  return s;
}
} // namespace

void script_results(const std::string &function, std::deque<uint64_t> results) {
  services().scripts[function] = std::move(results);
}
void reset_services() {
  services() = Services{};
}
uint64_t next_result(const std::string &function, uint64_t fallback) {
  auto &queue = services().scripts[function];
  if (queue.empty())
    return fallback;
  const uint64_t result = queue.front();
  queue.pop_front();
  return result;
}
void set_console_size(SHORT columns, SHORT rows) {
  services().size = COORD{columns, rows};
}
COORD console_size() {
  return services().size;
}

char command_line_text[] = "\"C:\\prog.exe\" one two";
char environment_block[] = "A=1\0PATH=C:\\\0\0";
} // namespace standin
