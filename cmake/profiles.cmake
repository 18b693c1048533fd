# Which runtime routines each kind of image carries, used or not. The linker is told to
# require each of them, so an image cannot silently miss one.

# Call profile: start-up and exit, heap blocks, the RtString routines, console output and
# control, files, process services and arithmetic.
set(RTLIB_CALL_PROFILE_ROUTINES
  rt_start rt_fault_handler rt_fatal_exit
  rt_alloc rt_realloc rt_free rt_copy_bytes rt_peek_byte rt_poke_byte rt_terminate_at
  rt_view_data rt_view_length rt_identity rt_zero rt_nop rt_set_end rt_move_at
  rt_str_new rt_str_empty rt_str_from_char rt_str_from_int rt_str_bin rt_str_oct rt_str_blank
  rt_str_concat rt_str_dup
  rt_instr rt_str_count rt_str_verify rt_str_find_any rt_str_val rt_str_asc
  rt_str_remove rt_str_insert rt_str_replace rt_str_repeat
  rt_str_trim rt_str_ltrim rt_str_rtrim rt_str_lcase rt_str_ucase rt_str_reverse
  rt_print_int rt_print_line rt_print_int_arg2 rt_print_line_arg2
  rt_locate rt_clear_screen rt_set_color rt_beep rt_set_buffer_size rt_set_title
  rt_open_read rt_close rt_read_checked rt_read_unchecked rt_write_checked rt_write_unchecked
  rt_seek_origin rt_flush rt_set_eof
  rt_delete_file rt_move_file rt_copy_file rt_set_attributes
  rt_make_dir rt_change_dir rt_remove_dir rt_current_dir rt_current_dir_alt
  rt_sleep rt_exec rt_command_line rt_environment rt_seed_random
  rt_ipow rt_fpow rt_abs rt_min rt_max rt_clamp
)

# Inline profile, full frame form (strdemo, threaddemo).
set(RTLIB_INLINE_FULL_TAIL
  rt_stack_fault_handler rt_print_int
  rt_window_proc
  rt_like rt_like_match
)

# Inline profile, reduced frame form (minimal).
set(RTLIB_INLINE_REDUCED_TAIL
  rt_window_proc_plain
  rt_like rt_like_match
)
