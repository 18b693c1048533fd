# Which runtime routines each kind of image carries, used or not. The linker is told to
# require each of them, so an image cannot silently miss one.

# Call profile: start-up and exit, heap blocks, the RtString routines, console output and
# control, files, process services and arithmetic.
set(RTLIB_CALL_PROFILE_ROUTINES
  rt_start rt_fault_handler rt_fatal_exit
  rt_print_int rt_print_line rt_print_int_arg2 rt_print_line_arg2
)

# Inline profile, full frame form (strdemo, threaddemo).
set(RTLIB_INLINE_FULL_TAIL
  rt_stack_fault_handler rt_print_int
  rt_like rt_like_match
)

# Inline profile, reduced frame form (minimal).
set(RTLIB_INLINE_REDUCED_TAIL
  rt_like rt_like_match
)
