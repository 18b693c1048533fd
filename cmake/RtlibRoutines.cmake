# Reads the routine table rtlib/routines.txt (its head says what each column means) into
#   RTLIB_ROUTINES                      every routine, in the table's order
#   RTLIB_ROUTINE_<routine>_SOURCE      its source under rtlib/
#   RTLIB_ROUTINE_<routine>_COMPILED    the optimisation option of that source
#   RTLIB_ROUTINE_<routine>_LEAF        yes or no
#   RTLIB_ROUTINE_<routine>_CARRIED     the profiles that carry it (a list, empty for none)
# and fails the configuration on a line that does not fit the table.
set(RTLIB_ROUTINE_TABLE ${CMAKE_CURRENT_LIST_DIR}/../rtlib/routines.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${RTLIB_ROUTINE_TABLE})
file(STRINGS ${RTLIB_ROUTINE_TABLE} rtlib_table_lines REGEX "^[^#]")
set(RTLIB_ROUTINES)
foreach(line IN LISTS rtlib_table_lines)
  string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
  list(LENGTH fields count)
  list(POP_FRONT fields routine source compiled leaf)
  if(count LESS 5 OR NOT routine MATCHES "^rt_[a-z0-9_]+$" OR NOT compiled MATCHES "^-O[2sz]$"
     OR NOT leaf MATCHES "^(yes|no)$")
    message(FATAL_ERROR "${RTLIB_ROUTINE_TABLE}: not a routine line: '${line}'")
  endif()
  list(REMOVE_ITEM fields -)
  foreach(profile IN LISTS fields)
    if(NOT profile MATCHES "^(call|inline_full|inline_reduced)$")
      message(FATAL_ERROR "${RTLIB_ROUTINE_TABLE}: ${routine}: unknown profile '${profile}'")
    endif()
  endforeach()
  list(APPEND RTLIB_ROUTINES ${routine})
  set(RTLIB_ROUTINE_${routine}_SOURCE ${source})
  set(RTLIB_ROUTINE_${routine}_COMPILED ${compiled})
  set(RTLIB_ROUTINE_${routine}_LEAF ${leaf})
  set(RTLIB_ROUTINE_${routine}_CARRIED ${fields})
endforeach()

# Sets <out> to the routines that every image of <profile> carries.
function(rtlib_profile_routines profile out)
  set(routines)
  foreach(routine IN LISTS RTLIB_ROUTINES)
    if(profile IN_LIST RTLIB_ROUTINE_${routine}_CARRIED)
      list(APPEND routines ${routine})
    endif()
  endforeach()
  set(${out} ${routines} PARENT_SCOPE)
endfunction()
