# A build identity from the sources that shape a program's output: source_hash() writes a header
# declaring one named constant, the first 16 hex digits of a SHA-256 over the files' paths (relative
# to the source folder, so that one set of sources gives one identity wherever it is checked out),
# their contents and any extra texts (compiler, flags), and rewrites it whenever one of them changes.
# List the header among a target's sources so that the target waits for it.
#
#   source_hash(<header> <constant> FILES <file>... [EXTRA <text>...])
#
# A relative header lies in the current binary folder, relative files in the current source folder.
#
# This file is also the script that does the hashing, when run with cmake -P.

if(CMAKE_SCRIPT_MODE_FILE)
  file(STRINGS "${INPUTS}" lines)
  set(text "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^file (.*)$")
      file(SHA256 "${CMAKE_MATCH_1}" digest)
      file(RELATIVE_PATH name "${BASE}" "${CMAKE_MATCH_1}")
      string(APPEND text "${name} ${digest}\n")
    else()
      string(APPEND text "${line}\n")
    endif()
  endforeach()
  string(SHA256 digest "${text}")
  string(SUBSTRING "${digest}" 0 16 digest)
  file(WRITE "${HEADER}" "#pragma once\n// Written by cmake/SourceHash.cmake at build time.\n"
    "constexpr const char* ${CONSTANT} = \"${digest}\";\n")
  return()
endif()

function(source_hash header constant)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "FILES;EXTRA")
  get_filename_component(header "${header}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  # The list of inputs is written only when it changes, so that a file added to or dropped from
  # the list reruns the hash as an edited file does.
  set(inputs "")
  foreach(file IN LISTS arg_FILES)
    get_filename_component(file "${file}" ABSOLUTE)
    string(APPEND inputs "file ${file}\n")
  endforeach()
  foreach(text IN LISTS arg_EXTRA)
    string(APPEND inputs "text ${text}\n")
  endforeach()
  file(CONFIGURE OUTPUT "${header}.inputs" CONTENT "${inputs}" @ONLY)
  add_custom_command(OUTPUT "${header}"
    COMMAND ${CMAKE_COMMAND} "-DINPUTS=${header}.inputs" "-DHEADER=${header}" "-DCONSTANT=${constant}"
      "-DBASE=${CMAKE_SOURCE_DIR}" -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
    DEPENDS ${arg_FILES} "${header}.inputs" "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
    COMMENT "Hashing the sources of ${constant}"
    VERBATIM)
endfunction()
