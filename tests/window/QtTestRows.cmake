# Writes one ctest entry per row of a Qt Test program, each running the
# program with that row alone, so no row runs on what an earlier one left in
# the process.  Run after the program is built:
#   cmake -D PROGRAM=<path> -D PREFIX=<test name prefix> -D OUTPUT=<file>
#         -D LAUNCHER=<script the rows run under> -P QtTestRows.cmake
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} -datatags
  OUTPUT_VARIABLE listing
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} -datatags failed: ${result}")
endif()
string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(entries "")
foreach(line IN LISTS lines)
  # "<class> <function>" or "<class> <function> <row>"
  if(NOT line MATCHES "^[^ ]+ ([^ ]+)( (.+))?$")
    continue()
  endif()
  set(function "${CMAKE_MATCH_1}")
  set(row "${CMAKE_MATCH_3}")
  if(function MATCHES "^(initTestCase|cleanupTestCase|init|cleanup)$")
    continue()
  endif()
  if(row STREQUAL "")
    set(name "${PREFIX}/${function}")
    set(argument "${function}")
  else()
    set(name "${PREFIX}/${function}/${row}")
    set(argument "${function}:${row}")
  endif()
  string(APPEND entries "add_test([==[${name}]==] bash [==[${LAUNCHER}]==] [==[${PROGRAM}]==] [==[${argument}]==])\n")
endforeach()
file(WRITE "${OUTPUT}" "${entries}")
