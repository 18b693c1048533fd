# cmake -DMAP=<link map> -DIMAGE=<image> -P RtlibStartupCheck.cmake
#
# After an lld link: fails (and removes the image, so that the next build links it again) when
# the link map shows anything that C runtime start-up code would have to run or set up.
file(READ ${MAP} map)
set(found)
foreach(what
    "\\.ctors|\\.dtors|\\.init_array|\\.fini_array=static constructors or destructors"
    "\\.CRT\\$X|_tls_used=TLS callbacks or C runtime initialisers"
    "\\.tls=thread-local variables"
    "\\.rdata_runtime_pseudo_reloc=data imported without dllimport")
  string(REPLACE "=" ";" pair "${what}")
  list(GET pair 0 pattern)
  list(GET pair 1 meaning)
  if(map MATCHES "[ \t(](${pattern})")
    list(APPEND found "${meaning}")
  endif()
endforeach()
if(found)
  file(REMOVE ${IMAGE})
  list(JOIN found ", " found)
  message(FATAL_ERROR "rtlib image ${IMAGE}: the program has ${found}, but an rtlib image has "
    "no C runtime start-up to run or set them up")
endif()
