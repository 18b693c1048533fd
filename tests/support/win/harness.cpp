#include "harness.h"
#include "capture.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

namespace harness {
namespace {

std::string windows_path(std::string unix_path) {
  std::replace(unix_path.begin(), unix_path.end(), '/', '\\');
  return "Z:" + unix_path;
}

std::string lower(std::string s) {
  for (char &c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Reads a pipe to its end on a thread of its own so that the child never blocks on a full pipe.
struct PipeReader {
  HANDLE read_end = nullptr;
  std::string bytes;
  std::thread thread;
  void start() {
    thread = std::thread([this] {
      char buffer[4096];
      DWORD got = 0;
      while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    });
  }
  void finish() {
    if (thread.joinable())
      thread.join();
    CloseHandle(read_end);
  }
};

} // namespace

std::string image_path(const std::string &name) {
  return windows_path(std::string(RT_IMAGE_DIR) + "/" + name + ".exe");
}
std::string image_dir_file(const std::string &name) {
  return windows_path(std::string(RT_IMAGE_DIR) + "/" + name);
}
std::string source_file(const std::string &relative) {
  return windows_path(std::string(RT_SOURCE_DIR) + "/" + relative);
}

Run run_image(const std::string &name, Stdout mode, const std::string &arguments) {
  Run run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  PipeReader reader;
  PipeReader error_reader;
  HANDLE child_out = nullptr;
  HANDLE child_err = GetStdHandle(STD_ERROR_HANDLE);
  switch (mode) {
  case Stdout::pipe:
    if (!CreatePipe(&reader.read_end, &child_out, &inherit, 0) ||
        !CreatePipe(&error_reader.read_end, &child_err, &inherit, 0))
      return run;
    SetHandleInformation(reader.read_end, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(error_reader.read_end, HANDLE_FLAG_INHERIT, 0);
    break;
  case Stdout::invalid:
    child_out = INVALID_HANDLE_VALUE;
    break;
  case Stdout::closed: {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(event);
    child_out = event;
    break;
  }
  case Stdout::null:
    child_out = nullptr;
    break;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = child_out;
  startup.hStdError = child_err;
  const std::string path = image_path(name);
  std::string command = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
  PROCESS_INFORMATION process{};
  // Under Wine a start fails now and then on a loaded machine (seen once in some hundred
  // starts of the same image); a second try a moment later starts it.
  for (int attempt = 0; attempt < 3 && !run.started; ++attempt) {
    if (attempt != 0)
      Sleep(200);
    run.started = CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                 nullptr, &startup, &process) != 0;
  }
  if (mode == Stdout::pipe) {
    CloseHandle(child_out);
    CloseHandle(child_err);
    if (run.started) {
      reader.start();
      error_reader.start();
    }
  }
  if (run.started) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.exit_code = code;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (mode == Stdout::pipe) {
    reader.finish();
    error_reader.finish();
    run.output = std::move(reader.bytes);
    run.errors = std::move(error_reader.bytes);
  }
  return run;
}

std::string capture_stdout(const std::function<void()> &fn) {
  PipeReader reader;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&reader.read_end, &write_end, nullptr, 0))
    return "<no pipe>";
  reader.start();
  const HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
  SetStdHandle(STD_OUTPUT_HANDLE, write_end);
  fn();
  SetStdHandle(STD_OUTPUT_HANDLE, saved);
  CloseHandle(write_end);
  reader.finish();
  return reader.bytes;
}

std::optional<std::string> read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::optional<PeInfo> read_pe(const std::string &path) {
  const auto file = read_file(path);
  if (!file || file->size() < sizeof(IMAGE_DOS_HEADER))
    return std::nullopt;
  const std::string &b = *file;
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, b.data(), sizeof dos);
  if (dos.e_magic != IMAGE_DOS_SIGNATURE ||
      static_cast<size_t>(dos.e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > b.size())
    return std::nullopt;
  IMAGE_NT_HEADERS64 nt;
  std::memcpy(&nt, b.data() + dos.e_lfanew, sizeof nt);
  if (nt.Signature != IMAGE_NT_SIGNATURE ||
      nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    return std::nullopt;
  PeInfo info;
  const auto &opt = nt.OptionalHeader;
  info.subsystem = opt.Subsystem;
  info.stack_reserve = opt.SizeOfStackReserve;
  info.stack_commit = opt.SizeOfStackCommit;
  info.heap_reserve = opt.SizeOfHeapReserve;
  info.heap_commit = opt.SizeOfHeapCommit;
  info.entry_rva = opt.AddressOfEntryPoint;
  info.image_base = opt.ImageBase;

  // Section table, to turn RVAs of the import directory into file offsets.
  const size_t sections_at = static_cast<size_t>(dos.e_lfanew) +
                             offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                             nt.FileHeader.SizeOfOptionalHeader;
  std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
  if (sections_at + sections.size() * sizeof(IMAGE_SECTION_HEADER) > b.size())
    return std::nullopt;
  std::memcpy(sections.data(), b.data() + sections_at,
              sections.size() * sizeof(IMAGE_SECTION_HEADER));
  info.dll_characteristics = opt.DllCharacteristics;
  for (const auto &s : sections)
    info.sections.push_back({std::string(reinterpret_cast<const char *>(s.Name),
                                         strnlen(reinterpret_cast<const char *>(s.Name), 8)),
                             s.Characteristics, s.VirtualAddress,
                             std::min(s.Misc.VirtualSize, s.SizeOfRawData), s.PointerToRawData,
                             s.Misc.VirtualSize});
  info.exception_directory_rva = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXCEPTION].VirtualAddress;
  info.exception_directory_size = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXCEPTION].Size;
  info.size_of_image = opt.SizeOfImage;
  info.section_alignment = opt.SectionAlignment;
  info.relocation_directory_rva = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].VirtualAddress;
  info.relocation_directory_size = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size;
  info.import_address_table_rva = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT].VirtualAddress;
  info.import_address_table_size = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT].Size;
  auto offset_of = [&](uint32_t rva) -> std::optional<size_t> {
    for (const auto &s : sections)
      if (rva >= s.VirtualAddress &&
          rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
        return static_cast<size_t>(rva - s.VirtualAddress + s.PointerToRawData);
    return std::nullopt;
  };
  auto string_at = [&](uint32_t rva) {
    const auto at = offset_of(rva);
    return at && *at < b.size() ? std::string(b.c_str() + *at) : std::string();
  };
  const auto &functions = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXCEPTION];
  if (const auto at = offset_of(functions.VirtualAddress); at && functions.VirtualAddress != 0)
    for (size_t i = 0; i + 12 <= functions.Size && *at + i + 12 <= b.size(); i += 12) {
      PeInfo::Function f;
      std::memcpy(&f.begin, b.data() + *at + i, 4);
      std::memcpy(&f.end, b.data() + *at + i + 4, 4);
      std::memcpy(&f.unwind, b.data() + *at + i + 8, 4);
      info.functions.push_back(f);
    }
  const auto &dir = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress != 0) {
    auto at = offset_of(dir.VirtualAddress);
    while (at && *at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= b.size()) {
      IMAGE_IMPORT_DESCRIPTOR d;
      std::memcpy(&d, b.data() + *at, sizeof d);
      if (d.Name == 0)
        break;
      const std::string dll = lower(string_at(d.Name));
      info.import_dlls.push_back(dll);
      uint32_t thunk_rva = d.OriginalFirstThunk ? d.OriginalFirstThunk : d.FirstThunk;
      for (auto t = offset_of(thunk_rva); t && *t + 8 <= b.size(); *t += 8) {
        uint64_t entry;
        std::memcpy(&entry, b.data() + *t, 8);
        if (entry == 0)
          break;
        if (entry & IMAGE_ORDINAL_FLAG64)
          info.imports.push_back(dll + "!#" + std::to_string(entry & 0xFFFF));
        else
          info.imports.push_back(dll + "!" + string_at(static_cast<uint32_t>(entry) + 2));
      }
      *at += sizeof d;
    }
  }
  return info;
}

std::vector<MapSymbol> read_map(const std::string &path) {
  std::vector<MapSymbol> symbols;
  const auto file = read_file(path);
  if (!file)
    return symbols;
  std::istringstream in(*file);
  // GNU ld: "  0x<address>  <symbol>". lld: "<address> <size> <align>  <symbol>", with
  // image-relative addresses; the images are linked at the default base.
  static const std::regex gnu_re(R"(^\s+0x([0-9a-fA-F]+)\s+([A-Za-z_][A-Za-z0-9_]*)\s*$)");
  static const std::regex lld_re(
      R"(^([0-9a-fA-F]+)\s+[0-9a-fA-F]+\s+[0-9]+\s+([A-Za-z_][A-Za-z0-9_]*)\s*$)");
  constexpr uint64_t lld_base = 0x140000000;
  std::string line;
  std::smatch m;
  bool lld = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (symbols.empty() && line.rfind("Address", 0) == 0)
      lld = true;
    else if (!lld && std::regex_match(line, m, gnu_re))
      symbols.push_back({m[2].str(), std::stoull(m[1].str(), nullptr, 16)});
    else if (lld && std::regex_match(line, m, lld_re))
      symbols.push_back({m[2].str(), lld_base + std::stoull(m[1].str(), nullptr, 16)});
  }
  return symbols;
}

std::optional<uint64_t> map_address(const std::vector<MapSymbol> &map, const std::string &name) {
  for (const auto &s : map)
    if (s.name == name)
      return s.address;
  return std::nullopt;
}

} // namespace harness

std::string capture_output(const std::function<void()> &fn) {
  return harness::capture_stdout(fn);
}
