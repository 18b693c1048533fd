// The inline-profile images under the real platform: exact output and exit codes with every
// kind of standard output, headers with the main procedure as entry, and the tail each carries.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "harness.h"

namespace {

using harness::Stdout;

const Stdout all_modes[] = {Stdout::pipe, Stdout::invalid, Stdout::closed, Stdout::null};

TEST(InlinePrograms, OutputAndExitCodeWithEveryKindOfStandardOutput) {
  const struct {
    const char *image;
    const char *output;
    uint32_t exit_code;
  } cases[] = {
      {"strdemo", "", 128},
      {"threaddemo", "a=1 b=2 c=3 d=4 e=5 msg=hello\r\nresult=15\r\nmsg=hello\r\n", 0},
      {"minimal", "", 0},
  };
  for (const auto &c : cases)
    for (Stdout mode : all_modes) {
      const harness::Run run = harness::run_image(c.image, mode);
      ASSERT_TRUE(run.started) << c.image;
      EXPECT_EQ(run.exit_code, c.exit_code) << c.image << " mode " << static_cast<int>(mode);
      if (mode == Stdout::pipe) {
        EXPECT_EQ(run.output, c.output) << c.image;
      }
    }
}

TEST(InlinePrograms, ThreaddemoWritesExactly53Bytes) {
  const harness::Run run = harness::run_image("threaddemo");
  EXPECT_EQ(run.output.size(), 53u);
}

TEST(InlinePrograms, HeadersWithTheMainProcedureAsEntry) {
  const struct {
    const char *image, *entry;
  } cases[] = {
      {"strdemo", "strdemo_main"}, {"threaddemo", "threaddemo_main"}, {"minimal", "minimal_main"}};
  for (const auto &c : cases) {
    const auto pe = harness::read_pe(harness::image_path(c.image));
    ASSERT_TRUE(pe.has_value()) << c.image;
    EXPECT_EQ(pe->subsystem, 3) << c.image; // console
    EXPECT_EQ(pe->stack_reserve, 0x100000u) << c.image;
    EXPECT_EQ(pe->stack_commit, 0x1000u) << c.image;
    EXPECT_EQ(pe->heap_reserve, 0x100000u) << c.image;
    const auto map = harness::read_map(harness::image_dir_file(std::string(c.image) + ".map"));
    const auto entry = harness::map_address(map, c.entry);
    ASSERT_TRUE(entry.has_value()) << c.image;
    EXPECT_EQ(pe->image_base + pe->entry_rva, *entry) << c.image;
    for (const char *other : {"rt_start", "mainCRTStartup", "__tmainCRTStartup", "__main"})
      EXPECT_FALSE(harness::map_address(map, other).has_value()) << c.image << " " << other;
    for (const std::string &import : pe->imports)
      EXPECT_EQ(import.find("getmainargs"), std::string::npos) << c.image;
  }
}

// Each image carries exactly its tail, and the call-profile images none of it.
TEST(InlinePrograms, EachImageCarriesExactlyItsTail) {
  const char *routines[] = {"rt_stack_fault_handler", "rt_print_int",    "rt_like",
                            "rt_like_match",          "rt_window_proc",  "rt_window_proc_plain",
                            "rt_print_line",          "rt_fault_handler"};
  const struct {
    const char *image;
    bool carries[8];
  } cases[] = {
      {"strdemo", {true, true, true, true, true, false, false, false}},
      {"threaddemo", {true, true, true, true, true, false, false, false}},
      {"minimal", {false, false, true, true, false, true, false, false}},
      {"parity", {false, true, false, false, false, false, true, true}},
      {"greeting", {false, true, false, false, false, false, true, true}},
  };
  for (const auto &c : cases) {
    const auto map = harness::read_map(harness::image_dir_file(std::string(c.image) + ".map"));
    ASSERT_FALSE(map.empty()) << c.image;
    for (size_t i = 0; i < 8; ++i)
      EXPECT_EQ(harness::map_address(map, routines[i]).has_value(), c.carries[i])
          << c.image << " " << routines[i];
  }
}

// The bytes of an image at an address of its link map, read through the section table.
std::optional<std::string> code_at(const std::string &image, uint64_t address, size_t count) {
  const auto file = harness::read_file(harness::image_path(image));
  const auto pe = harness::read_pe(harness::image_path(image));
  if (!file || !pe || file->size() < sizeof(IMAGE_DOS_HEADER))
    return std::nullopt;
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, file->data(), sizeof dos);
  IMAGE_NT_HEADERS64 nt;
  std::memcpy(&nt, file->data() + dos.e_lfanew, sizeof nt);
  const size_t table = static_cast<size_t>(dos.e_lfanew) +
                       offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                       nt.FileHeader.SizeOfOptionalHeader;
  const uint64_t rva = address - pe->image_base;
  for (unsigned i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER section;
    std::memcpy(&section, file->data() + table + i * sizeof section, sizeof section);
    if (rva >= section.VirtualAddress &&
        rva + count <= section.VirtualAddress + section.SizeOfRawData)
      return file->substr(section.PointerToRawData + (rva - section.VirtualAddress), count);
  }
  return std::nullopt;
}

// The address of a procedure in a link map, which shows C++ names demangled.
std::optional<uint64_t> procedure_address(const std::string &image, const std::string &name) {
  const auto map = harness::read_file(harness::image_dir_file(image + ".map"));
  if (!map)
    return std::nullopt;
  const auto end = map->find("  " + name + "\n");
  if (end == std::string::npos)
    return std::nullopt;
  const auto line = map->rfind('\n', end) + 1;
  const auto at = map->find("0x", line);
  if (at < end) // GNU ld: "  0x<address>  <symbol>"
    return std::stoull(map->substr(at + 2, end - at - 2), nullptr, 16);
  // lld: "<address> <size> <align>  <symbol>", image-relative, at the default base
  return 0x140000000 + std::stoull(map->substr(line, end - line), nullptr, 16);
}

// Every procedure of the inline programs starts by saving the frame link (push rbp), then
// hands its frame size to ___chkstk_ms, which touches the frame one page at a time from the
// top down, and only then moves the stack pointer (sub rsp, rax). Wine commits a thread's whole
// stack at once, so running the images cannot show the page order; the code can.
TEST(InlinePrograms, EveryProcedureProbesItsFramePageByPageBeforeUsingIt) {
  const struct {
    const char *image, *procedure;
  } cases[] = {
      {"strdemo", "strdemo_main"},
      {"strdemo", "strdemo::make_words()"},
      {"strdemo", "strdemo::add_bang(char**)"},
      {"threaddemo", "threaddemo_main"},
      {"threaddemo",
       "threaddemo::worker(long long, long long, long long, long long, long long, char const*)"},
      {"minimal", "minimal_main"},
  };
  for (const char *image : {"strdemo", "threaddemo", "minimal"}) {
    // The probe itself: one page down (sub rcx, 0x1000), touch it (or qword [rcx], 0), repeat.
    const auto map = harness::read_map(harness::image_dir_file(std::string(image) + ".map"));
    const auto probe = harness::map_address(map, "___chkstk_ms");
    ASSERT_TRUE(probe.has_value()) << image;
    const auto code = code_at(image, *probe, 0x30);
    ASSERT_TRUE(code.has_value()) << image;
    const auto step = code->find(std::string("\x48\x81\xE9\x00\x10\x00\x00", 7));
    ASSERT_NE(step, std::string::npos) << image;
    EXPECT_EQ(code->substr(step + 7, 4), std::string("\x48\x83\x09\x00", 4)) << image;
  }
  for (const auto &c : cases) {
    const auto map = harness::read_map(harness::image_dir_file(std::string(c.image) + ".map"));
    const auto start = procedure_address(c.image, c.procedure);
    const auto probe = harness::map_address(map, "___chkstk_ms");
    ASSERT_TRUE(start && probe) << c.image << " " << c.procedure;
    const auto code = code_at(c.image, *start, 32);
    ASSERT_TRUE(code.has_value()) << c.procedure;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>((*code)[i]); };
    ASSERT_EQ(byte(0), 0x55) << c.procedure; // push rbp
    // Pushes of callee-saved registers, which GCC places after loading the frame size and
    // clang before it.
    const auto after_pushes = [&](size_t at) {
      while (at < 24 &&
             (byte(at) == 0x41 ? (byte(at + 1) & 0xF8) == 0x50 : (byte(at) & 0xF8) == 0x50))
        at += byte(at) == 0x41 ? 2 : 1;
      return at;
    };
    size_t at = after_pushes(1);
    ASSERT_EQ(byte(at), 0xB8) << c.procedure; // mov eax, frame size
    uint32_t size = 0;
    std::memcpy(&size, code->data() + at + 1, 4);
    EXPECT_GE(size, 14032u) << c.procedure;
    at = after_pushes(at + 5);
    ASSERT_EQ(byte(at), 0xE8) << c.procedure; // call ___chkstk_ms
    int32_t displacement = 0;
    std::memcpy(&displacement, code->data() + at + 1, 4);
    EXPECT_EQ(*start + at + 5 + static_cast<uint64_t>(static_cast<int64_t>(displacement)), *probe)
        << c.procedure;
    EXPECT_EQ(code->substr(at + 5, 3), std::string("\x48\x29\xC4")) << c.procedure; // sub rsp, rax
  }
}

TEST(InlinePrograms, MinimalImportsNothingFromTheCRuntime) {
  const auto pe = harness::read_pe(harness::image_path("minimal"));
  ASSERT_TRUE(pe.has_value());
  EXPECT_FALSE(pe->imports.empty());
  for (const std::string &dll : pe->import_dlls)
    EXPECT_TRUE(dll == "kernel32.dll" || dll == "user32.dll") << dll;
  // No fault handler registration either.
  for (const std::string &import : pe->imports)
    EXPECT_EQ(import.find("AddVectoredExceptionHandler"), std::string::npos) << import;
}

TEST(InlinePrograms, UnusedClassNamesAreInTheReadOnlyData) {
  const struct {
    const char *image;
    bool gui, gfx;
  } cases[] = {{"strdemo", true, true}, {"threaddemo", true, true}, {"minimal", true, false}};
  for (const auto &c : cases) {
    const auto bytes = harness::read_file(harness::image_path(c.image));
    ASSERT_TRUE(bytes.has_value()) << c.image;
    EXPECT_EQ(bytes->find(std::string("QELDAR_GUI\0", 11)) != std::string::npos, c.gui) << c.image;
    EXPECT_EQ(bytes->find(std::string("QELDAR_GFX\0", 11)) != std::string::npos, c.gfx) << c.image;
  }
}

} // namespace
