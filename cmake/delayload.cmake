# Delay-load import libraries for system DLLs. The programs import only kernel32
# and msvcrt at load time; every other system DLL is loaded on first use, after
# main has restricted the DLL search to the system folder. So no DLL the loader
# would resolve before main (a dependency of advapi32, say) can come from the
# program's own folder.
function(ostravel_delay_import_libraries out_var)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(machine i386)
    set(kill_at -k)
    set(strip_underscore TRUE)
  else()
    set(machine i386:x86-64)
    set(kill_at "")
    set(strip_underscore FALSE)
  endif()
  set(prefix ${CMAKE_FIND_ROOT_PATH})
  find_program(OSTRAVEL_NM NAMES ${TOOLCHAIN_PREFIX}-nm REQUIRED)
  find_program(OSTRAVEL_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)
  find_program(OSTRAVEL_OBJCOPY NAMES ${TOOLCHAIN_PREFIX}-objcopy REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delayload)
  file(MAKE_DIRECTORY ${dir})
  set(libs "")
  foreach(dll IN LISTS ARGN)
    set(out ${dir}/lib${dll}_delay.a)
    if(NOT EXISTS ${out})
      execute_process(COMMAND ${OSTRAVEL_NM} ${prefix}/lib/lib${dll}.a
                      OUTPUT_VARIABLE symbols ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
      string(REGEX MATCHALL "[0-9a-fA-F]+ T [^\n]+" thunks "${symbols}")
      set(exports "")
      foreach(line IN LISTS thunks)
        string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" name "${line}")
        if(strip_underscore)
          string(REGEX REPLACE "^_" "" name "${name}")
        endif()
        # Ordinal-only entries have no name to bind to.
        if(NOT name MATCHES "^ord_")
          list(APPEND exports "${name}")
        endif()
      endforeach()
      list(REMOVE_DUPLICATES exports)
      list(JOIN exports "\n  " body)
      file(WRITE ${dir}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n  ${body}\n")
      execute_process(COMMAND ${OSTRAVEL_DLLTOOL} --machine ${machine} ${kill_at} --input-def ${dir}/${dll}.def
                              --output-delaylib ${out} --dllname ${dll}.dll
                      COMMAND_ERROR_IS_FATAL ANY)
      if(strip_underscore)
        # This dlltool puts the 32-bit delay tables in .idata sections, where the
        # linker merges them with the real imports and drops their initial values
        # (every first call would jump to 0). Their own sections keep them intact.
        set(renames "")
        foreach(n 2 3 4 5 6 7)
          list(APPEND renames --rename-section ".idata$${n}=.data$$didat${n}")
        endforeach()
        execute_process(COMMAND ${OSTRAVEL_OBJCOPY} ${renames} ${out} COMMAND_ERROR_IS_FATAL ANY)
      endif()
    endif()
    list(APPEND libs ${out})
  endforeach()
  set(${out_var} ${libs} PARENT_SCOPE)
endfunction()
