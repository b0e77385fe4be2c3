# add_wine_locale_run(NAME PROGRAM LANG [PAGE p] [FILTER f] [LABELS ...]): runs a Windows test
# program again with another LANG, which gives the Wine process that locale's ANSI code page
# and regional settings. Tests for another page skip themselves; PAGE names the page the run
# must have, which the code page suite checks.
function(add_wine_locale_run name program lang)
  cmake_parse_arguments(R "" "PAGE;FILTER" "LABELS" ${ARGN})
  set(args)
  if(R_FILTER)
    set(args --gtest_filter=${R_FILTER})
  endif()
  set(env "WINEPREFIX=${PROJECT_BINARY_DIR}/wine-prefix;LANG=${lang};LC_ALL=${lang}")
  if(R_PAGE)
    list(APPEND env TEST_ANSI_CODEPAGE=${R_PAGE})
  endif()
  add_test(NAME ${name} COMMAND ${program} ${args})
  set_tests_properties(${name} PROPERTIES LABELS "windows;${R_LABELS}" TIMEOUT 120 FIXTURES_REQUIRED wine
    ENVIRONMENT "${env}")
endfunction()
