# Checks that the framework's lower layers include nothing from above.
# Layers, bottom up: dispatch + primitives; the foundation (runtime core and
# clock threads, standard library only); the pin library; the base video
# package. Run as: cmake -DROOT=<source dir> -P check_layering.cmake
set(FOUNDATION
  platform/runtime/error platform/runtime/properties platform/runtime/persistent
  platform/runtime/component platform/runtime/collection platform/signal/clock_thread)

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

file(GLOB_RECURSE bottom RELATIVE "${ROOT}" "${ROOT}/dispatch/*.h" "${ROOT}/dispatch/*.cpp"
     "${ROOT}/primitives/*.h" "${ROOT}/primitives/*.cpp")
foreach(f IN LISTS bottom)
  check_includes("${f}" "^dispatch/" "^primitives/")
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Layering broken:\n  ${text}")
endif()
message(STATUS "Layering holds")
