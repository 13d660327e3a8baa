# host_program(VARIABLE TARGET): sets VARIABLE to a path that runs the
# program TARGET on the building machine, for scripts and tools that run it
# by path. That is the program itself, or in a cross build a stand-in of the
# same name that runs it under CMAKE_CROSSCOMPILING_EMULATOR.
function(host_program variable target)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(${variable} $<TARGET_FILE:${target}> PARENT_SCOPE)
    return()
  endif()
  set(stand_in ${CMAKE_BINARY_DIR}/emulated/${target})
  set(${variable} ${stand_in} PARENT_SCOPE)
  get_property(made GLOBAL PROPERTY zembrax_stand_in_${target} SET)
  if(made)
    return()
  endif()
  set_property(GLOBAL PROPERTY zembrax_stand_in_${target} TRUE)
  list(JOIN CMAKE_CROSSCOMPILING_EMULATOR "\" \"" emulator)
  file(GENERATE OUTPUT ${stand_in}
       CONTENT "#!/bin/sh\nexec \"${emulator}\" \"$<TARGET_FILE:${target}>\" \"$@\"\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
endfunction()
