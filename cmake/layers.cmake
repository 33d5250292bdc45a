# One library per folder, and the layers held by the compiler.
#
# No target has the source root on its include path. The headers of a folder are
# linked one by one into an include root of the folder's library in the build tree
# (include/<library>/<folder>/<name>.h), which the library hands to those that link
# it. A library links its dependencies PRIVATE, so it sees its own headers and those
# of the libraries it names, nothing more: an #include against the layers stops
# the build with "No such file or directory".

set(OSTRAVEL_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include)

# ostravel_headers(<target> <folder> [RECURSE] [ONLY <name>...] [EXCLUDE <name>...]):
# "<folder>/<name>.h" for the target and those that link it (RECURSE: the
# subfolders' headers too). The root is made afresh at each configure; a header
# added to or removed from the folder configures again.
function(ostravel_headers target folder)
  cmake_parse_arguments(arg "RECURSE" "" "ONLY;EXCLUDE" ${ARGN})
  set(root ${OSTRAVEL_INCLUDE_ROOTS}/${target})
  file(REMOVE_RECURSE ${root})
  if(arg_RECURSE)
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/${folder}
         ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  else()
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/${folder}
         ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  endif()
  if(arg_ONLY)
    set(headers ${arg_ONLY})
  endif()
  if(arg_EXCLUDE)
    list(REMOVE_ITEM headers ${arg_EXCLUDE})
  endif()
  foreach(header IN LISTS headers)
    get_filename_component(dir ${root}/${folder}/${header} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder}/${header} ${root}/${folder}/${header} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# ostravel_library(<target> <folder> [DEPENDS <library>...] [EXCLUDE <regex>]):
# the folder's *.cpp as a static library (an interface library when the folder has
# headers only), linking DEPENDS privately, with the folder's headers.
function(ostravel_library target folder)
  cmake_parse_arguments(arg "" "EXCLUDE" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  if(arg_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${arg_EXCLUDE}")
  endif()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PRIVATE ${arg_DEPENDS})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${arg_DEPENDS})
  endif()
  ostravel_headers(${target} ${folder})
endfunction()
