/* An assembly consumer of the layout constants. */
#include <rtlib_layout.h>

        .data
        .quad RT_FRAME_BYTES
        .quad RT_FRAME_HANDLE_SLOTS_OFFSET(RT_INT_RESULT_BYTES)
        .quad RT_FRAME_VARIABLES_MAX_BYTES(RT_STR_RESULT_BYTES)
        .quad RT_STRREF_LENGTH_OFFSET
        .quad RT_THREAD_ARG_ARGS_OFFSET + 8 * (RT_THREAD_ARG_WORDS - 1)
