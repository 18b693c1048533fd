/* An inline-profile program as a code generator emits it in C, from the installed package's C
 * interface alone: its frames are C records laid out by the constants of rtlib_layout.h, and its
 * thread start routine is written out as the RtThreadStart contract says. The worker runs on a
 * second thread and leaves its result in a global; main prints a joined string, a fixed-size
 * variable and that global. Full frame form. */
#include <rtlib.h>

#include <stdlib.h>
#include <string.h>
#include <windows.h>

/* A frame with an integer ResultSlot and the given variables, RT_FRAME_BYTES in all. */
#define INT_FRAME(Variables)                                                                       \
  struct {                                                                                         \
    int64_t result;                                                                                \
    uint64_t scratch[RT_SCRATCH_BYTES / 8];                                                        \
    char number_buffer[RT_NUMBER_BUFFER_BYTES];                                                    \
    HandleRecord handle[RT_HANDLE_SLOT_COUNT];                                                     \
    uint64_t reserved[RT_RESERVED_WORDS];                                                          \
    uint64_t temp[RT_TEMPORARIES_BYTES / 8];                                                       \
    Variables var;                                                                                 \
    unsigned char unused[RT_FRAME_VARIABLES_MAX_BYTES(RT_INT_RESULT_BYTES) - sizeof(Variables)];   \
  }

typedef struct WorkerVariables {
  int64_t n_incoming;
  int64_t n;
} WorkerVariables;
typedef INT_FRAME(WorkerVariables) WorkerFrame;

typedef struct MainVariables {
  StrVar line;
  StrVar tag;
  char tag_buffer[4];
  int64_t thread;
} MainVariables;
typedef INT_FRAME(MainVariables) MainFrame;

RT_LAYOUT_CHECK(sizeof(MainFrame) == RT_FRAME_BYTES &&
                    offsetof(MainFrame, handle) ==
                        RT_FRAME_HANDLE_SLOTS_OFFSET(RT_INT_RESULT_BYTES) &&
                    offsetof(MainFrame, var) == RT_FRAME_VARIABLES_OFFSET(RT_INT_RESULT_BYTES),
                "main frame layout");

static const char pool[] = "C inlinetag=doubled=";
static const char text_abcdef[] = "abcdef";
static const char line_end[2] = {'\r', '\n'};

/* Written by the worker, read by main after the wait. */
static int64_t doubled = 0;

static void zero_fixed_slots(int64_t *result, HandleRecord *handle, uint64_t *reserved) {
  volatile uint64_t *word = &handle[0].word[0];
  int i;
  *(volatile int64_t *)result = 0;
  for (i = 0; i < RT_HANDLE_SLOT_COUNT * RT_HANDLE_RECORD_WORDS; ++i)
    word[i] = 0;
  ((volatile uint64_t *)reserved)[0] = 0;
  ((volatile uint64_t *)reserved)[1] = 0;
}

static void close_handle_slots(const HandleRecord *handle) {
  int i;
  for (i = 0; i < RT_HANDLE_SLOT_COUNT; ++i)
    if (handle[i].word[0] != 0)
      CloseHandle((HANDLE)(uintptr_t)handle[i].word[0]);
}

static void write_bytes(uint64_t *scratch, const char *bytes, uint64_t count) {
  DWORD written = 0;
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  scratch[RT_SCRATCH_OUT_OFFSET / 8] = (uint64_t)(uintptr_t)out;
  WriteFile(out, bytes, (DWORD)count, &written, NULL);
}

/* worker(n): doubled = n + n; returns n + 1. */
static int64_t worker(int64_t n) {
  WorkerFrame f;
  memset(&f, 0, sizeof f);
  f.var.n_incoming = n;
  zero_fixed_slots(&f.result, f.handle, f.reserved);
  *(volatile int64_t *)&f.var.n = 0;
  f.var.n = f.var.n_incoming;
  doubled = (int64_t)((uint64_t)f.var.n + (uint64_t)f.var.n);
  f.result = (int64_t)((uint64_t)f.var.n + 1u);
  close_handle_slots(f.handle);
  return f.result;
}

/* The start routine of worker: handler first, the call with the block's words, the result at
 * offset 8, the block freed once, the result's low 32 bits as exit code. */
static RtDword worker_start(void *block) {
  ThreadArgBlock *args = (ThreadArgBlock *)block;
  uint32_t exit_code;
  AddVectoredExceptionHandler(0, rt_stack_fault_handler);
  exit_code = (uint32_t)(uint64_t)worker((int64_t)args->args[0]);
  *(volatile uint32_t *)&args->result = exit_code;
  free(block);
  return exit_code;
}

void inlinec_main(void);
void inlinec_main(void) {
  MainFrame f;
  StrTemp left, right, joined;
  RtDword thread_id = 0;
  uint64_t word = 21;
  int count;
  memset(&f, 0, sizeof f);
  AddVectoredExceptionHandler(0, rt_stack_fault_handler);
  zero_fixed_slots(&f.result, f.handle, f.reserved);
  *(volatile int64_t *)&f.var.line.length = 0;
  *(volatile int64_t *)&f.var.tag.length = 0;
  *(volatile int64_t *)&f.var.thread = 0;
  rt_strvar_init(&f.var.line);
  rt_strvar_init_fixed(&f.var.tag, f.var.tag_buffer, (int64_t)sizeof f.var.tag_buffer);

  /* line = "C" + " inline" */
  left = rt_strtemp_copy(pool, 1);
  right = rt_strtemp_copy(pool + 1, 7);
  joined = rt_strtemp_concat(left, right);
  rt_strvar_adopt(&f.var.line.data, joined.data, joined.length);
  /* tag = "abcdef", cut to the variable's 3 text bytes */
  rt_strvar_assign_text(&f.var.tag.data, text_abcdef);
  /* thread = launch worker(21); wait thread */
  f.var.thread = (int64_t)(uintptr_t)rt_thread_launch(worker_start, 1, &word, &thread_id);
  rt_thread_wait((void *)(uintptr_t)f.var.thread);

  write_bytes(f.scratch, f.var.line.data, (uint64_t)f.var.line.length);
  write_bytes(f.scratch, line_end, 2);
  write_bytes(f.scratch, pool + 8, 4);
  write_bytes(f.scratch, f.var.tag.data, (uint64_t)f.var.tag.length);
  write_bytes(f.scratch, line_end, 2);
  write_bytes(f.scratch, pool + 12, 8);
  count = wsprintfA(f.number_buffer, "%I64d", (long long)doubled);
  write_bytes(f.scratch, f.number_buffer, (uint64_t)count);
  write_bytes(f.scratch, line_end, 2);

  f.result =
      (int64_t)((uint64_t)f.var.line.length + (uint64_t)f.var.tag.length + (uint64_t)doubled);
  rt_strvar_release(&f.var.line);
  rt_strvar_release(&f.var.tag);
  close_handle_slots(f.handle);
  ExitProcess((UINT)(uint64_t)f.result);
}
