cmake_minimum_required(VERSION 3.25)
# Checks the framework's layering by its includes: each folder under src/ includes only its own
# headers and those of the layers below it, and only platform/ includes the headers of SDL,
# FreeType, fontconfig or the POSIX system interfaces. Run with -DSRC=<the src folder>.
# Prints every offending line and fails when there is one.

set(below_platform "")
set(below_diagnostics "")
set(below_files platform)
set(below_graphics files platform)
set(below_audio files platform)
set(below_resources graphics audio files platform)
set(below_widgets resources graphics audio files platform)
set(below_frame widgets resources graphics audio files platform diagnostics)
set(layers platform diagnostics files graphics audio resources widgets frame)

set(platform_only_headers
  "SDL[^/]*\\.h" "ft2build\\.h" "freetype/" "fontconfig/" "unistd\\.h" "sys/" "fcntl\\.h"
  "dlfcn\\.h" "pwd\\.h" "spawn\\.h" "pthread\\.h" "poll\\.h" "dirent\\.h" "signal\\.h")

set(problems "")
foreach(layer ${layers})
  file(GLOB_RECURSE files ${SRC}/${layer}/*.h ${SRC}/${layer}/*.cpp)
  set(allowed ${layer} ${below_${layer}})
  list(JOIN allowed ", " allowed_text)
  foreach(f ${files})
    file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include")
    file(RELATIVE_PATH rel ${SRC} ${f})
    foreach(line ${includes})
      if(line MATCHES "#[ \t]*include[ \t]*\"([A-Za-z_]+)/")
        set(folder ${CMAKE_MATCH_1})
        if(NOT folder IN_LIST allowed)
          list(APPEND problems "${rel}: ${line} (${layer}/ may include only: ${allowed_text})")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>" AND NOT layer STREQUAL "platform")
        set(header ${CMAKE_MATCH_1})
        foreach(pattern ${platform_only_headers})
          if(header MATCHES "^${pattern}")
            list(APPEND problems "${rel}: ${line} (only platform/ includes system and SDL headers)")
          endif()
        endforeach()
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  foreach(p ${problems})
    message("${p}")
  endforeach()
  message(FATAL_ERROR "The layering is broken")
endif()
message(STATUS "Layering holds")
