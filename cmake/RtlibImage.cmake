# rtlib_add_image(<name> ENTRY <symbol> PROFILE call|inline_full|inline_reduced SOURCES ...)
#
# Links a console image that starts in <symbol> with no C runtime start-up: stack reserve
# 1 MiB with 4 KiB committed, heap reserve 1 MiB, stripped, with a link map <name>.map beside
# it that shows what the image carries.
function(rtlib_add_image name)
  cmake_parse_arguments(IMG "" "ENTRY;PROFILE" "SOURCES;LIBRARIES" ${ARGN})
  if(IMG_PROFILE STREQUAL "call")
    set(keep ${RTLIB_CALL_PROFILE_ROUTINES})
  elseif(IMG_PROFILE STREQUAL "inline_full")
    set(keep ${RTLIB_INLINE_FULL_TAIL})
  elseif(IMG_PROFILE STREQUAL "inline_reduced")
    set(keep ${RTLIB_INLINE_REDUCED_TAIL})
  else()
    message(FATAL_ERROR "rtlib_add_image(${name}): unknown PROFILE '${IMG_PROFILE}'")
  endif()
  add_executable(${name} ${IMG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${RTLIB_IMAGE_DIR})
  target_compile_options(${name} PRIVATE ${RTLIB_IMAGE_COMPILE_OPTIONS})
  set(map ${RTLIB_IMAGE_DIR}/${name}.map)
  target_link_options(${name} PRIVATE
    -nostdlib -nostartfiles -s
    -Wl,-e,${IMG_ENTRY}
    -Wl,--subsystem,console
    "SHELL:-Xlinker --stack=0x100000,0x1000"
    -Wl,--heap,0x100000
    -Wl,--no-insert-timestamp
    -Wl,-Map,${map})
  foreach(sym IN LISTS keep)
    target_link_options(${name} PRIVATE -Wl,--require-defined,${sym})
  endforeach()
  target_link_libraries(${name} PRIVATE ${IMG_LIBRARIES} rtlib kernel32 user32 msvcrt kernel32 gcc)
  set_property(TARGET ${name} APPEND PROPERTY ADDITIONAL_CLEAN_FILES ${map})
  set_property(GLOBAL APPEND PROPERTY RTLIB_IMAGES ${name})
endfunction()
