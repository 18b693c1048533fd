# rtlib_add_image(<name> ENTRY <symbol> PROFILE call|inline_full|inline_reduced SOURCES ...
#                 [LIBRARIES ...])
#
# Links a console image that starts in <symbol> with no C runtime start-up: stack reserve
# 1 MiB with 4 KiB committed, heap reserve 1 MiB, stripped, no link timestamp, with a link map
# <name>.map beside it that shows what the image carries.
#
# With GCC and GNU ld the options come from the profile's response file (rtlib-<profile>.rsp
# in RTLIB_LINK_DIR, beside the linker script rtlib-image.ld), the very file that a link by
# hand uses, so both give the same image. The link fails with a message that says why when the
# entry symbol is missing or misspelt, or when the program needs C runtime start-up (static
# constructors, TLS callbacks, thread-local data, runtime pseudo-relocations).
#
# With clang and lld (which reads no linker scripts) lld's own options merge the sections, and
# a check after the link fails the build on the same start-up needs.

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

# Sets <out> to the linker options that make an image carry every routine of <profile>, used
# or not (the link fails if one is missing).
function(rtlib_require_profile profile out)
  if(profile STREQUAL "call")
    set(keep ${RTLIB_CALL_PROFILE_ROUTINES})
  elseif(profile STREQUAL "inline_full")
    set(keep ${RTLIB_INLINE_FULL_TAIL})
  else()
    set(keep ${RTLIB_INLINE_REDUCED_TAIL})
  endif()
  list(TRANSFORM keep PREPEND -Wl,--require-defined,)
  set(${out} ${keep} PARENT_SCOPE)
endfunction()

# Writes the response files of the three profiles into <dir> and copies the linker script
# there. The files name no paths: the script is found through -L<dir>.
function(rtlib_write_link_files dir)
  set(common
    -nostdlib -nostartfiles -s
    -Wl,--subsystem,console
    "-Xlinker --stack=0x100000,0x1000"
    -Wl,--heap,0x100000
    -Wl,--dynamicbase,--nxcompat,--high-entropy-va
    -Wl,--no-insert-timestamp
    -Wl,--gc-sections
    -Wl,--fatal-warnings
    -Wl,-T,rtlib-image.ld
    # Stands in for the entry that the link line names after this file; when none is named,
    # the link fails on this symbol, which nothing defines.
    -Wl,-e,rtlib_no_entry_named_after_the_response_file)
  foreach(profile call inline_full inline_reduced)
    rtlib_require_profile(${profile} lines)
    list(PREPEND lines ${common})
    list(JOIN lines "\n" text)
    file(CONFIGURE OUTPUT ${dir}/rtlib-${RTLIB_PROFILE_FILE_${profile}}.rsp
      CONTENT "${text}\n" @ONLY)
  endforeach()
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/rtlib-image.ld ${dir}/rtlib-image.ld COPYONLY)
  # The two build steps, copied like the linker script: a step whose content changes is written
  # anew, and the objects (rtlib-pack-as) and the images (rtlib-fold-pdata) depend on it.
  foreach(step rtlib-fold-pdata rtlib-pack-as)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${step} ${dir}/${step} COPYONLY)
  endforeach()
endfunction()

# Under GCC, compiles <target>'s sources through rtlib-pack-as, which leaves out the padding at
# the end of every code and read-only data section (see the script).
function(rtlib_pack_sections target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR CMAKE_C_COMPILER_ID STREQUAL "GNU")
    find_program(RTLIB_PYTHON3 NAMES python3 REQUIRED)
    set(launcher ${RTLIB_PYTHON3} ${RTLIB_LINK_DIR}/rtlib-pack-as)
    set_target_properties(${target} PROPERTIES C_COMPILER_LAUNCHER "${launcher}"
      CXX_COMPILER_LAUNCHER "${launcher}")
    # Objects are compiled anew when the step changes.
    get_target_property(sources ${target} SOURCES)
    set_property(SOURCE ${sources} TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS
      ${RTLIB_LINK_DIR}/rtlib-pack-as)
  endif()
endfunction()

function(rtlib_add_image name)
  cmake_parse_arguments(IMG "" "ENTRY;PROFILE" "SOURCES;LIBRARIES" ${ARGN})
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
  rtlib_pack_sections(${name})
  set(map ${RTLIB_IMAGE_DIR}/${name}.map)
  # The compiler of the project (a C-only project has no C++ compiler).
  set(compiler ${CMAKE_CXX_COMPILER_ID})
  if(NOT compiler)
    set(compiler ${CMAKE_C_COMPILER_ID})
  endif()
  if(compiler STREQUAL "GNU")
    # A misspelt entry gets a message naming the image and the symbol.
    set(check ${CMAKE_CURRENT_BINARY_DIR}/${name}-entry.ld)
    file(CONFIGURE OUTPUT ${check} CONTENT "ASSERT(DEFINED(${IMG_ENTRY}), \"rtlib image \
${name}: the entry symbol ${IMG_ENTRY} is defined neither by the program nor by rtlib\")\n")
    target_link_options(${name} PRIVATE
      -L${RTLIB_LINK_DIR}
      @${RTLIB_LINK_DIR}/rtlib-${RTLIB_PROFILE_FILE_${IMG_PROFILE}}.rsp
      -Wl,-e,${IMG_ENTRY}
      -Wl,${check}
      -Wl,-Map,${map})
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS
      ${RTLIB_LINK_DIR}/rtlib-${RTLIB_PROFILE_FILE_${IMG_PROFILE}}.rsp
      ${RTLIB_LINK_DIR}/rtlib-image.ld ${RTLIB_LINK_DIR}/rtlib-fold-pdata ${check})
    # GNU ld gives the function table a section of its own; it goes into the code section.
    find_program(RTLIB_PYTHON3 NAMES python3 REQUIRED)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${RTLIB_PYTHON3} ${RTLIB_LINK_DIR}/rtlib-fold-pdata $<TARGET_FILE:${name}>
      VERBATIM)
  else()
    rtlib_lld_image_options(${name} ${IMG_PROFILE} ${IMG_ENTRY} ${map})
  endif()
  target_link_libraries(${name} PRIVATE ${IMG_LIBRARIES} rtlib user32 msvcrt kernel32 gcc)
  set_property(TARGET ${name} APPEND PROPERTY ADDITIONAL_CLEAN_FILES ${map})
  set_property(GLOBAL APPEND PROPERTY RTLIB_IMAGES ${name})
endfunction()

# clang with lld: the same image settings through lld's mingw options, the sections merged with
# lld's own /merge, and the start-up check made on the link map afterwards.
function(rtlib_lld_image_options name profile entry map)
  rtlib_require_profile(${profile} required)
  set(options
    -fuse-ld=lld -nostdlib -nostartfiles -s
    -Wl,-e,${entry} -Wl,--require-defined,${entry}
    -Wl,--subsystem,console
    "SHELL:-Xlinker --stack=0x100000,0x1000"
    -Wl,--heap,0x100000
    -Wl,--dynamicbase,--nxcompat,--high-entropy-va
    -Wl,--no-insert-timestamp
    -Wl,--gc-sections
    # lld already merges imports and unwind codes into .rdata and .bss into .data.
    -Wl,-Xlink=/merge:.rdata=.text
    -Wl,-Xlink=/merge:.pdata=.text
    -Wl,-Map,${map})
  target_link_options(${name} PRIVATE ${options} ${required})
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DMAP=${map} -DIMAGE=$<TARGET_FILE:${name}>
      -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/RtlibStartupCheck.cmake
    VERBATIM)
endfunction()
