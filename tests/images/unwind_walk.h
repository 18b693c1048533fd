// Shared by the unwinding test images: a vectored handler that, on an access violation, walks
// the stack from the faulting instruction with the platform's own unwinder
// (RtlLookupFunctionEntry, RtlVirtualUnwind) until it reaches the frame of the function that
// set up the walk, and ends the process with an exit code that says how the walk went.
#pragma once

#include <windows.h>

namespace unwind_walk {

// Exit codes. On success the low byte counts the frames of this image's code between the fault
// and the caller (the runtime frames walked through).
constexpr UINT reached = 0x600;
constexpr UINT no_fault = 0x700;
constexpr UINT caller_without_unwind_data = 0x701;
constexpr UINT caller_not_reached = 0x702;
constexpr UINT caller_frame_wrong = 0x703;

// The caller: its code (any address inside it) and the address of one of its locals.
inline DWORD64 caller_code = 0;
inline DWORD64 caller_local = 0;

inline LONG CALLBACK walk_to_caller(EXCEPTION_POINTERS *info) {
  if (info->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
    return EXCEPTION_CONTINUE_SEARCH;
  DWORD64 image = 0;
  const PRUNTIME_FUNCTION caller = RtlLookupFunctionEntry(caller_code, &image, nullptr);
  if (caller == nullptr)
    ExitProcess(caller_without_unwind_data);
  const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(image);
  const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS64 *>(image + dos->e_lfanew);
  const DWORD64 image_end = image + nt->OptionalHeader.SizeOfImage;
  CONTEXT context = *info->ContextRecord;
  UINT runtime_frames = 0;
  for (int frame = 0; frame < 32; ++frame) {
    DWORD64 base = 0;
    const PRUNTIME_FUNCTION entry = RtlLookupFunctionEntry(context.Rip, &base, nullptr);
    if (entry == caller) {
      // The caller's own frame: its locals lie just above the stack pointer.
      const bool right_frame = context.Rsp <= caller_local && caller_local - context.Rsp < 0x10000;
      ExitProcess(right_frame ? reached + runtime_frames : caller_frame_wrong);
    }
    if (context.Rip >= image && context.Rip < image_end)
      ++runtime_frames;
    if (entry == nullptr) { // a leaf function: the return address is on top of the stack
      context.Rip = *reinterpret_cast<const DWORD64 *>(context.Rsp);
      context.Rsp += 8;
      continue;
    }
    PVOID handler_data = nullptr;
    DWORD64 establisher = 0;
    RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, context.Rip, entry, &context, &handler_data,
                     &establisher, nullptr);
  }
  ExitProcess(caller_not_reached);
}

// Memory that faults when read: reserved, never committed.
inline const char *unreadable() {
  return static_cast<const char *>(VirtualAlloc(nullptr, 0x10000, MEM_RESERVE, PAGE_NOACCESS));
}

} // namespace unwind_walk
