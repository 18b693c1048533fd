// Windows-side test harness: runs an image with its standard output and error captured and
// reports the exact bytes and the full 32-bit exit code; reads PE headers, imports and link maps.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace harness {

// How the child's standard output is set up.
enum class Stdout {
  pipe,    // a pipe whose bytes are captured
  invalid, // INVALID_HANDLE_VALUE
  closed,  // the value of a handle that was closed before the start
  null,    // no handle at all (0)
};

struct Run {
  bool started = false;
  std::string output;     // bytes received on standard output (pipe mode only)
  std::string errors;     // bytes received on standard error (pipe mode only)
  uint32_t exit_code = 0; // GetExitCodeProcess
};

// Path of an image in the build's image folder, in Windows form.
std::string image_path(const std::string &name);
// Path of a file in the build's image folder (link maps and the like), in Windows form.
std::string image_dir_file(const std::string &name);
// Path of a file in the source tree, in Windows form.
std::string source_file(const std::string &relative);

Run run_image(const std::string &name, Stdout mode = Stdout::pipe,
              const std::string &arguments = "");

// Calls fn with this process's standard output pointed at a pipe and returns what was written
// to it. The original handle is restored afterwards.
std::string capture_stdout(const std::function<void()> &fn);

// Whole contents of a file.
std::optional<std::string> read_file(const std::string &path);

struct PeInfo {
  uint16_t subsystem = 0;
  uint64_t stack_reserve = 0, stack_commit = 0, heap_reserve = 0, heap_commit = 0;
  uint32_t entry_rva = 0;
  uint64_t image_base = 0;
  uint16_t dll_characteristics = 0;
  struct Section {
    std::string name;
    uint32_t characteristics = 0;
    uint32_t rva = 0, size = 0, file_offset = 0; // size: what the file holds of it
    uint32_t virtual_size = 0;
  };
  std::vector<Section> sections;
  uint32_t exception_directory_rva = 0, exception_directory_size = 0;
  uint32_t relocation_directory_rva = 0, relocation_directory_size = 0;
  uint32_t import_address_table_rva = 0, import_address_table_size = 0;
  uint32_t size_of_image = 0, section_alignment = 0;
  struct Function { // an entry of the function table: code with unwind data
    uint32_t begin = 0, end = 0, unwind = 0;
  };
  std::vector<Function> functions;
  std::vector<std::string> import_dlls; // lower case
  std::vector<std::string> imports;     // "dll!function", lower-case dll
};
std::optional<PeInfo> read_pe(const std::string &path);

// Symbols of a GNU ld link map with their addresses.
struct MapSymbol {
  std::string name;
  uint64_t address;
};
std::vector<MapSymbol> read_map(const std::string &path);
std::optional<uint64_t> map_address(const std::vector<MapSymbol> &map, const std::string &name);

} // namespace harness
