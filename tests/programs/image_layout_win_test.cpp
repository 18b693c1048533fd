// What the image layout must keep, under the real platform: every image runs the same when the
// loader puts it at another base, the stack unwinds from inside runtime routines back to their
// caller, and the headers keep ASLR, NX and high-entropy addresses with no section both
// writable and executable.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "harness.h"
#include "routine_table.h"

namespace {

const char *const all_images[] = {"parity",     "greeting",    "strdemo",
                                  "threaddemo", "minimal",     "like_tail",
                                  "exit_wide",  "unwind_call", "unwind_inline"};

TEST(ImageLayout, EveryImageRunsTheSameAtAnotherBase) {
  for (const char *image : all_images) {
    const harness::Run here = harness::run_image(image);
    const harness::Run moved =
        harness::run_image("rebase_runner", harness::Stdout::pipe, harness::image_path(image));
    ASSERT_TRUE(here.started && moved.started) << image;
    // 90 to 94 are the runner's own failures: no copy, not loaded, not moved, entry returned.
    EXPECT_TRUE(moved.exit_code < 90 || moved.exit_code > 94) << image << " " << moved.exit_code;
    EXPECT_EQ(moved.exit_code, here.exit_code) << image;
    EXPECT_EQ(moved.output, here.output) << image;
  }
}

TEST(ImageLayout, ImagesWithAbsoluteAddressesCarryRelocations) {
  // strdemo and threaddemo start a global string variable pointing into itself.
  for (const char *image : {"strdemo", "threaddemo"}) {
    const auto pe = harness::read_pe(harness::image_path(image));
    ASSERT_TRUE(pe.has_value()) << image;
    EXPECT_GT(pe->relocation_directory_size, 0u) << image;
    // The relocations lie in read-only data that is not code.
    const auto holder = std::find_if(pe->sections.begin(), pe->sections.end(), [&](const auto &s) {
      return pe->relocation_directory_rva >= s.rva &&
             pe->relocation_directory_rva + pe->relocation_directory_size <= s.rva + s.size;
    });
    ASSERT_NE(holder, pe->sections.end()) << image;
    EXPECT_EQ(holder->characteristics & (IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_EXECUTE), 0u)
        << image << " " << holder->name;
  }
}

TEST(ImageLayout, UnwindingFromInsideRuntimeRoutinesReachesTheCaller) {
  for (const char *image : {"unwind_call", "unwind_leaf", "unwind_inline"})
    for (const bool moved : {false, true}) {
      const harness::Run run = moved ? harness::run_image("rebase_runner", harness::Stdout::pipe,
                                                          harness::image_path(image))
                                     : harness::run_image(image);
      ASSERT_TRUE(run.started) << image;
      // 0x600 + the number of runtime frames walked through on the way.
      EXPECT_EQ(run.exit_code & ~0xffu, 0x600u)
          << image << " moved " << moved << " exit " << std::hex << run.exit_code;
      EXPECT_GE(run.exit_code & 0xffu, 1u) << image << " moved " << moved;
    }
}

// The platform unwinds code without unwind data as a leaf: the return address on top of the
// stack. So every runtime routine that has none must be a frameless leaf: no push, no stack
// adjustment, no call (a tail jump is fine). A call is an E8 whose target is a symbol of the
// image, or an FF 15 whose slot is one of the import address table: bytes E8 or FF 15 inside
// other instructions (sub $0x40,%r8 is 49 83 E8 40) point nowhere of the kind.
TEST(ImageLayout, RuntimeRoutinesWithoutUnwindDataAreFramelessLeaves) {
  for (const char *image : {"parity", "strdemo", "threaddemo", "minimal"}) {
    const auto pe = harness::read_pe(harness::image_path(image));
    const auto file = harness::read_file(harness::image_path(image));
    ASSERT_TRUE(pe && file) << image;
    auto map = harness::read_map(harness::image_dir_file(std::string(image) + ".map"));
    std::sort(map.begin(), map.end(),
              [](const auto &a, const auto &b) { return a.address < b.address; });
    const uint64_t iat_start = pe->image_base + pe->import_address_table_rva;
    const uint64_t iat_end = iat_start + pe->import_address_table_size;
    ASSERT_GT(pe->import_address_table_size, 0u) << image;
    // Whether code[at] starts a call, code being the routine's bytes from address.
    const auto calls_at = [&](const std::string &code, uint64_t address, size_t at) {
      const auto byte = [&](size_t i) { return static_cast<unsigned char>(code[i]); };
      const bool direct = byte(at) == 0xE8;
      const bool through_slot = byte(at) == 0xFF && at + 1 < code.size() && byte(at + 1) == 0x15;
      const size_t operand = direct ? at + 1 : at + 2;
      if (!(direct || through_slot) || operand + 4 > code.size())
        return false;
      int32_t displacement = 0;
      std::memcpy(&displacement, code.data() + operand, 4);
      const uint64_t target = address + operand + 4 + static_cast<uint64_t>(displacement);
      if (through_slot)
        return target >= iat_start && target < iat_end;
      return std::any_of(map.begin(), map.end(),
                         [&](const auto &symbol) { return symbol.address == target; });
    };
    size_t leaves = 0;
    for (size_t i = 0; i + 1 < map.size(); ++i) {
      if (map[i].name.rfind("rt_", 0) != 0 || map[i].address < pe->image_base)
        continue;
      const auto rva = static_cast<uint32_t>(map[i].address - pe->image_base);
      const bool described =
          std::any_of(pe->functions.begin(), pe->functions.end(),
                      [&](const auto &f) { return rva >= f.begin && rva < f.end; });
      if (described)
        continue;
      auto next = i + 1;
      while (next < map.size() && map[next].address == map[i].address)
        ++next;
      if (next == map.size())
        continue;
      // The routine ends at the next symbol or the next code with unwind data, if sooner.
      uint64_t length = std::min<uint64_t>(map[next].address - map[i].address, 64);
      for (const auto &f : pe->functions)
        if (f.begin > rva)
          length = std::min<uint64_t>(length, f.begin - rva);
      const auto section =
          std::find_if(pe->sections.begin(), pe->sections.end(), [&](const auto &s) {
            return rva >= s.rva && rva + length <= s.rva + s.size;
          });
      ASSERT_NE(section, pe->sections.end()) << image << " " << map[i].name;
      const std::string code = file->substr(section->file_offset + (rva - section->rva), length);
      const auto byte = [&](size_t at) { return static_cast<unsigned char>(code[at]); };
      EXPECT_FALSE((byte(0) & 0xF8) == 0x50 || (byte(0) == 0x41 && (byte(1) & 0xF8) == 0x50))
          << image << " " << map[i].name << " pushes";
      EXPECT_EQ(code.find("\x48\x83\xEC"), std::string::npos) << image << " " << map[i].name;
      EXPECT_EQ(code.find("\x48\x81\xEC"), std::string::npos) << image << " " << map[i].name;
      for (size_t at = 0; at < code.size(); ++at)
        EXPECT_FALSE(calls_at(code, map[i].address, at))
            << image << " " << map[i].name << " calls at +" << at;
      ++leaves;
    }
    if (std::string(image) == "parity") { // the call profile has leaves of its own
      EXPECT_GE(leaves, 8u);
    }
  }
}

// The function table lies in read-only data (lld merges it into the code section, GNU ld gives
// it the section .pdata): entries in ascending order that do not overlap, each describing code
// of the code section with unwind codes in it. The sections follow one another with no gap and
// end where the image does.
TEST(ImageLayout, FunctionTableDescribesTheCodeSectionInOrder) {
  for (const char *image : all_images) {
    const auto pe = harness::read_pe(harness::image_path(image));
    ASSERT_TRUE(pe.has_value()) << image;
    ASSERT_FALSE(pe->sections.empty()) << image;
    const auto &code = pe->sections.front();
    EXPECT_NE(code.characteristics & IMAGE_SCN_MEM_EXECUTE, 0u) << image;
    const auto inside = [](const auto &section, uint64_t rva, uint64_t size) {
      return rva >= section.rva && rva + size <= section.rva + section.size;
    };
    const auto table = std::find_if(pe->sections.begin(), pe->sections.end(), [&](const auto &s) {
      return inside(s, pe->exception_directory_rva, pe->exception_directory_size);
    });
    ASSERT_NE(table, pe->sections.end()) << image;
    EXPECT_EQ(table->characteristics & IMAGE_SCN_MEM_WRITE, 0u) << image << " " << table->name;
    EXPECT_TRUE(table == pe->sections.begin() || table->name == ".pdata") << image;
    EXPECT_EQ(pe->exception_directory_rva % 4, 0u) << image;
    EXPECT_EQ(pe->exception_directory_size % 12, 0u) << image;
    ASSERT_FALSE(pe->functions.empty()) << image;
    for (size_t i = 0; i < pe->functions.size(); ++i) {
      const auto &f = pe->functions[i];
      EXPECT_LT(f.begin, f.end) << image << " entry " << i;
      EXPECT_TRUE(inside(code, f.begin, f.end - f.begin)) << image << " entry " << i;
      EXPECT_TRUE(inside(code, f.unwind, 4) && f.unwind % 4 == 0) << image << " entry " << i;
      if (i + 1 < pe->functions.size()) {
        EXPECT_LE(f.end, pe->functions[i + 1].begin) << image << " entry " << i;
      }
    }
    const auto round_up = [&](uint32_t size) {
      return (size + pe->section_alignment - 1) / pe->section_alignment * pe->section_alignment;
    };
    for (size_t i = 0; i + 1 < pe->sections.size(); ++i)
      EXPECT_EQ(pe->sections[i].rva + round_up(pe->sections[i].virtual_size),
                pe->sections[i + 1].rva)
          << image << " " << pe->sections[i].name;
    EXPECT_EQ(pe->sections.back().rva + round_up(pe->sections.back().virtual_size),
              pe->size_of_image)
        << image;
  }
}

// Every unwind record is a plain one (version 1, no handler) whose prologue lies inside its
// function.
TEST(ImageLayout, UnwindRecordsArePlain) {
  for (const char *image : all_images) {
    const auto pe = harness::read_pe(harness::image_path(image));
    const auto file = harness::read_file(harness::image_path(image));
    ASSERT_TRUE(pe && file) << image;
    const auto &code = pe->sections.front();
    for (const auto &f : pe->functions) {
      ASSERT_TRUE(f.unwind >= code.rva && f.unwind + 4 <= code.rva + code.size) << image;
      const size_t at = code.file_offset + (f.unwind - code.rva);
      const auto byte = [&](size_t i) { return static_cast<unsigned char>((*file)[at + i]); };
      EXPECT_EQ(byte(0), 1u) << image << " record at " << std::hex << f.unwind;
      EXPECT_LE(byte(1), f.end - f.begin) << image << " record at " << std::hex << f.unwind;
      const size_t length = 4 + 4 * ((byte(2) + 1u) / 2);
      EXPECT_LE(f.unwind + length, code.rva + code.size) << image;
    }
  }
}

// Under GCC the routine table's leaves are what the images carry: a routine it calls a leaf has
// no entry in the function table and every other routine of the runtime has one. (clang decides
// by itself which routines need unwind data, and may inline a leaf's callee into it.)
#if !defined(__clang__)
TEST(ImageLayout, RoutineTableLeavesHaveNoUnwindData) {
  const auto rows = routine_table::read(harness::source_file("rtlib/routines.txt"));
  ASSERT_GE(rows.size(), 90u);
  size_t checked = 0;
  for (const char *image : {"parity", "strdemo", "minimal"}) {
    const auto pe = harness::read_pe(harness::image_path(image));
    ASSERT_TRUE(pe.has_value()) << image;
    const auto map = harness::read_map(harness::image_dir_file(std::string(image) + ".map"));
    for (const auto &row : rows) {
      const auto address = harness::map_address(map, row.routine);
      if (!address.has_value() || row.routine == "rt_current_dir_alt") // a second name
        continue;
      const auto rva = static_cast<uint32_t>(*address - pe->image_base);
      const bool described =
          std::any_of(pe->functions.begin(), pe->functions.end(),
                      [&](const auto &f) { return rva >= f.begin && rva < f.end; });
      EXPECT_EQ(described, !row.leaf) << image << " " << row.routine;
      ++checked;
    }
  }
  EXPECT_GE(checked, 90u);
}
#endif

TEST(ImageLayout, HeadersKeepAddressRandomisationAndNoWritableCode) {
  for (const char *image : all_images) {
    const auto pe = harness::read_pe(harness::image_path(image));
    ASSERT_TRUE(pe.has_value()) << image;
    for (const WORD flag :
         {IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA,
          IMAGE_DLLCHARACTERISTICS_NX_COMPAT})
      EXPECT_EQ(pe->dll_characteristics & flag, flag) << image << " flag " << flag;
    EXPECT_GT(pe->exception_directory_size, 0u) << image;
    for (const auto &section : pe->sections) {
      const bool writable = (section.characteristics & IMAGE_SCN_MEM_WRITE) != 0;
      const bool executable = (section.characteristics & IMAGE_SCN_MEM_EXECUTE) != 0;
      EXPECT_FALSE(writable && executable) << image << " " << section.name;
    }
  }
}

} // namespace
