# rtlib_add_image(<name> ENTRY <symbol> PROFILE call|inline_full|inline_reduced SOURCES ...
#                 [LIBRARIES ...] [DEBUG_INFO ON|OFF] [CHECKED])
#
# Links a console image that starts in <symbol> with no C runtime start-up: stack reserve
# 1 MiB with 4 KiB committed, heap reserve 1 MiB, no link timestamp, with a link map
# <name>.map beside it that shows what the image carries. The image comes from the compiler
# and the linker alone: the target is an ordinary executable target, so the project's own
# compile options, compiler launcher and linker options apply to it as to any other.
#
# DEBUG_INFO: ON keeps the symbols and the DWARF debug information of the program and of the
# runtime in the image, OFF strips them (-s). By default the Debug and RelWithDebInfo
# configurations keep them and every other one (an empty build type included) strips them.
#
# CHECKED links the checked runtime (librtlib-checked.a) instead of librtlib.a and compiles the
# program's sources with RTLIB_CHECKED defined, so that the inline building blocks check their
# string variables too: a broken contract is then reported on standard error, with its call
# site, and ends the process with RT_EXIT_CHECK.
#
# The link options come from the profile's response file in RTLIB_LINK_DIR, the very file that
# a link by hand uses, so both give the same image. The link fails with a message that says why
# when the entry symbol is missing or misspelt, or when the program needs C runtime start-up
# (static constructors, TLS callbacks, thread-local data, runtime pseudo-relocations).
#
# GNU ld and lld differ only where rtlib_linker_options() says so.

# Compile options every object of an image needs: no exceptions or RTTI (nothing would unwind
# or describe them), no compiler identification strings, and the small code model, under which
# every address is reached relative to the instruction pointer, so images need no relocations.
# The first two are C++ options; a C source of an image gets only the others.
set(RTLIB_IMAGE_COMPILE_OPTIONS $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions> $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>
  -fno-ident -mcmodel=small)

# Profile name -> response file stem.
set(RTLIB_PROFILE_FILE_call call)
set(RTLIB_PROFILE_FILE_inline_full inline-full)
set(RTLIB_PROFILE_FILE_inline_reduced inline-reduced)

# Sets <out> to the response file stem of the linker that <compiler_id> (GNU or Clang) links
# with: rtlib-<profile> for GNU ld, rtlib-lld-<profile> for lld.
function(rtlib_response_file compiler_id profile out)
  if(compiler_id STREQUAL "GNU")
    set(${out} rtlib-${RTLIB_PROFILE_FILE_${profile}} PARENT_SCOPE)
  else()
    set(${out} rtlib-lld-${RTLIB_PROFILE_FILE_${profile}} PARENT_SCOPE)
  endif()
endfunction()

# Sets <out> to the link options of every image for the linker of <compiler_id>. The one place
# where the two linkers differ:
#   - GNU ld lays the image out by the linker script rtlib-image.ld (found through -L), which
#     folds read-only data, imports and unwind codes into the code section and refuses, with a
#     message, what would need C runtime start-up;
#   - lld reads no linker scripts: its /merge folds the same sections into the code section
#     (the function table too, which lld points the exception directory at wherever it lies),
#     and rtlib_add_image checks the link map for start-up needs after the link
#     (RtlibStartupCheck.cmake).
function(rtlib_linker_options compiler_id out)
  set(options
    -nostdlib -nostartfiles
    -Wl,--subsystem,console
    "-Xlinker --stack=0x100000,0x1000"
    -Wl,--heap,0x100000
    -Wl,--dynamicbase,--nxcompat,--high-entropy-va
    -Wl,--no-insert-timestamp
    -Wl,--gc-sections
    # Stands in for the entry that the link line names after this file; when none is named,
    # the link fails on this symbol, which nothing defines.
    -Wl,-e,rtlib_no_entry_named_after_the_response_file)
  if(compiler_id STREQUAL "GNU")
    list(APPEND options -Wl,--fatal-warnings -Wl,-T,rtlib-image.ld)
  else()
    # lld already merges imports and unwind codes into .rdata and .bss into .data.
    list(APPEND options -fuse-ld=lld -Wl,-Xlink=/merge:.rdata=.text
      -Wl,-Xlink=/merge:.pdata=.text)
  endif()
  set(${out} ${options} PARENT_SCOPE)
endfunction()

# Sets <out> to the linker options that make an image carry every routine of <profile>, used
# or not (the link fails if one is missing).
function(rtlib_require_profile profile out)
  rtlib_profile_routines(${profile} keep)
  list(TRANSFORM keep PREPEND -Wl,--require-defined,)
  set(${out} ${keep} PARENT_SCOPE)
endfunction()

# Writes the response files of the three profiles for both linkers into <dir> and copies the
# linker script there. The files name no paths: the script is found through -L<dir>.
function(rtlib_write_link_files dir)
  foreach(compiler_id GNU Clang)
    rtlib_linker_options(${compiler_id} common)
    foreach(profile call inline_full inline_reduced)
      rtlib_require_profile(${profile} lines)
      list(PREPEND lines ${common})
      list(JOIN lines "\n" text)
      rtlib_response_file(${compiler_id} ${profile} stem)
      file(CONFIGURE OUTPUT ${dir}/${stem}.rsp CONTENT "${text}\n" @ONLY)
    endforeach()
  endforeach()
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/rtlib-image.ld ${dir}/rtlib-image.ld COPYONLY)
endfunction()

function(rtlib_add_image name)
  cmake_parse_arguments(IMG "CHECKED" "ENTRY;PROFILE;DEBUG_INFO" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT IMG_ENTRY)
    message(FATAL_ERROR "rtlib_add_image(${name}): ENTRY <symbol> is required: an rtlib image "
      "has no C runtime start-up and begins in the routine it names (rt_start for the call "
      "profile, the main procedure for the inline profiles)")
  endif()
  if(NOT DEFINED RTLIB_PROFILE_FILE_${IMG_PROFILE})
    message(FATAL_ERROR "rtlib_add_image(${name}): unknown PROFILE '${IMG_PROFILE}' "
      "(call, inline_full or inline_reduced)")
  endif()
  add_executable(${name} ${IMG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${RTLIB_IMAGE_DIR})
  target_compile_options(${name} PRIVATE ${RTLIB_IMAGE_COMPILE_OPTIONS})
  set(map ${RTLIB_IMAGE_DIR}/${name}.map)
  # The compiler of the project (a C-only project has no C++ compiler).
  set(compiler ${CMAKE_CXX_COMPILER_ID})
  if(NOT compiler)
    set(compiler ${CMAKE_C_COMPILER_ID})
  endif()
  rtlib_response_file(${compiler} ${IMG_PROFILE} stem)
  target_link_options(${name} PRIVATE
    -L${RTLIB_LINK_DIR} @${RTLIB_LINK_DIR}/${stem}.rsp -Wl,-e,${IMG_ENTRY} -Wl,-Map,${map})
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${RTLIB_LINK_DIR}/${stem}.rsp)
  if(NOT DEFINED IMG_DEBUG_INFO)
    target_link_options(${name} PRIVATE $<$<NOT:$<CONFIG:Debug,RelWithDebInfo>>:-s>)
  elseif(NOT IMG_DEBUG_INFO)
    target_link_options(${name} PRIVATE -s)
  else()
    # Debug information of the program's own objects, whatever the configuration.
    target_compile_options(${name} PRIVATE -g)
  endif()
  if(compiler STREQUAL "GNU")
    # A misspelt entry gets a message naming the image and the symbol.
    set(check ${CMAKE_CURRENT_BINARY_DIR}/${name}-entry.ld)
    file(CONFIGURE OUTPUT ${check} CONTENT "ASSERT(DEFINED(${IMG_ENTRY}), \"rtlib image \
${name}: the entry symbol ${IMG_ENTRY} is defined neither by the program nor by rtlib\")\n")
    target_link_options(${name} PRIVATE -Wl,${check})
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${RTLIB_LINK_DIR}/rtlib-image.ld
      ${check})
  else()
    target_link_options(${name} PRIVATE -Wl,--require-defined,${IMG_ENTRY})
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -DMAP=${map} -DIMAGE=$<TARGET_FILE:${name}>
        -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/RtlibStartupCheck.cmake
      VERBATIM)
  endif()
  set(runtime rtlib)
  if(IMG_CHECKED)
    set(runtime rtlib_checked)
    target_compile_definitions(${name} PRIVATE RTLIB_CHECKED)
  endif()
  target_link_libraries(${name} PRIVATE ${IMG_LIBRARIES} ${runtime} user32 msvcrt kernel32 gcc)
  set_property(TARGET ${name} APPEND PROPERTY ADDITIONAL_CLEAN_FILES ${map})
  set_property(GLOBAL APPEND PROPERTY RTLIB_IMAGES ${name})
endfunction()
