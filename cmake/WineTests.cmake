# Windows tests run under Wine in one session per build tree: a fresh
# prefix, an Xvfb display and a persistent wineserver, set up by a CTest
# fixture before the first Wine test and stopped after the last.
set(VEMTRA_WINE_SESSION_DIR ${CMAKE_BINARY_DIR}/wine-session)

function(vemtra_wine_session)
  # Once per build tree: if(TEST) sees only the current directory's tests.
  get_property(defined GLOBAL PROPERTY VEMTRA_WINE_SESSION_DEFINED)
  if(NOT defined)
    set_property(GLOBAL PROPERTY VEMTRA_WINE_SESSION_DEFINED TRUE)
    add_test(NAME wine_session_start
             COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-session start ${VEMTRA_WINE_SESSION_DIR})
    set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 180)
    add_test(NAME wine_session_stop
             COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-session stop ${VEMTRA_WINE_SESSION_DIR})
    set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
  endif()
endfunction()

# vemtra_add_wine_test(NAME name COMMAND target-or-program args...
#                      [TIMEOUT seconds] [RESOURCE_LOCK locks...])
# A target as the command runs through the emulator (tools/wine-run); a
# script runs as it is, with VEMTRA_WINE_SESSION naming the session.
function(vemtra_add_wine_test)
  cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "COMMAND;RESOURCE_LOCK" ${ARGN})
  vemtra_wine_session()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
  set_tests_properties(${ARG_NAME} PROPERTIES
    FIXTURES_REQUIRED wine_session
    TIMEOUT ${ARG_TIMEOUT}
    LABELS wine
    ENVIRONMENT "VEMTRA_WINE_SESSION=${VEMTRA_WINE_SESSION_DIR};VEMTRA_SOURCE_DIR=${PROJECT_SOURCE_DIR};VEMTRA_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(ARG_RESOURCE_LOCK)
    set_tests_properties(${ARG_NAME} PROPERTIES RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
  endif()
endfunction()
