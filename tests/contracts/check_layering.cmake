# Checks that the framework's lower layers include nothing from above.
# Layers, bottom up: dispatch; primitives; the foundation (runtime core and
# clock threads, standard library only); the pin library; the base video
# package. Run as: cmake -DROOT=<source dir> -P check_layering.cmake
set(FOUNDATION
  platform/runtime/error platform/runtime/properties platform/runtime/persistent
  platform/runtime/component platform/runtime/collection platform/signal/clock_thread
  platform/runtime/components_api platform/runtime/log platform/runtime/resource_budget)

set(failures "")

# Fails each quoted include of `file` not matched by one of the regexes.
function(check_includes file)
  file(STRINGS "${ROOT}/${file}" lines REGEX "^#include \"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
    set(allowed FALSE)
    foreach(pattern IN LISTS ARGN)
      if(included MATCHES "${pattern}")
        set(allowed TRUE)
      endif()
    endforeach()
    if(NOT allowed)
      list(APPEND failures "${file} includes ${included}")
      set(failures "${failures}" PARENT_SCOPE)
    endif()
  endforeach()
endfunction()

set(foundation_headers "")
foreach(unit IN LISTS FOUNDATION)
  list(APPEND foundation_headers "^${unit}\\.h$")
endforeach()

foreach(unit IN LISTS FOUNDATION)
  foreach(ext h cpp)
    if(EXISTS "${ROOT}/${unit}.${ext}")
      check_includes("${unit}.${ext}" ${foundation_headers})
    endif()
  endforeach()
endforeach()

file(GLOB pins RELATIVE "${ROOT}" "${ROOT}/contracts/pins/*.h" "${ROOT}/contracts/pins/*.cpp")
foreach(f IN LISTS pins)
  check_includes("${f}" ${foundation_headers} "^contracts/pins/" "^dispatch/")
endforeach()

file(GLOB video RELATIVE "${ROOT}" "${ROOT}/contracts/video/*.h" "${ROOT}/contracts/video/*.cpp")
foreach(f IN LISTS video)
  check_includes("${f}" ${foundation_headers} "^contracts/" "^dispatch/")
endforeach()

# dispatch/ (the published C interface, entry table, binders, processor class
# and allocator) is the bottom; primitives/ (algorithms and every variant
# entry) sits on it.
file(GLOB_RECURSE dispatch RELATIVE "${ROOT}" "${ROOT}/dispatch/*.h" "${ROOT}/dispatch/*.cpp")
foreach(f IN LISTS dispatch)
  check_includes("${f}" "^dispatch/")
endforeach()
file(GLOB_RECURSE primitives RELATIVE "${ROOT}" "${ROOT}/primitives/*.h" "${ROOT}/primitives/*.cpp")
foreach(f IN LISTS primitives)
  check_includes("${f}" "^dispatch/" "^primitives/")
endforeach()

# Fails each source named by a CMake file of `folder` that lies outside it.
function(check_source_lists folder)
  file(GLOB_RECURSE lists RELATIVE "${ROOT}" "${ROOT}/${folder}/*.cmake" "${ROOT}/${folder}/CMakeLists.txt")
  foreach(list_file IN LISTS lists)
    file(STRINGS "${ROOT}/${list_file}" lines REGEX "\\.(cpp|h|c)")
    foreach(line IN LISTS lines)
      string(REGEX MATCHALL "[^ \t()\"]+\\.(cpp|h|c)" sources "${line}")
      foreach(source IN LISTS sources)
        if(source MATCHES "\\.\\./" OR source MATCHES "PROJECT_SOURCE_DIR}/" AND NOT source MATCHES "PROJECT_SOURCE_DIR}/${folder}/")
          list(APPEND failures "${list_file} compiles ${source}")
          set(failures "${failures}" PARENT_SCOPE)
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()
check_source_lists(dispatch)
check_source_lists(primitives)

if(failures)
  list(LENGTH failures count)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Layering broken, ${count} back-edges:\n  ${text}")
endif()
message(STATUS "Layering holds")
