# GoogleTest for both builds. Natively the system package is used; for the
# Windows build it is compiled from Debian's googletest sources with the cross compiler.
# vintrel_add_test(name SOURCES ... LIBS ... [ARGS ...]) builds one test program and
# registers it with ctest, ARGS appended to its command line; Windows test programs run
# under Wine through the cross emulator.
if(CMAKE_CROSSCOMPILING)
  set(VINTREL_GTEST_SOURCE /usr/src/googletest CACHE PATH "googletest sources for the cross build")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${VINTREL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

function(vintrel_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  vintrel_warnings(${name})
  if(CMAKE_CROSSCOMPILING)
    # One ctest entry per program: each Wine start costs a little, so the
    # cases of a program run together.
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no ${T_ARGS})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 EXTRA_ARGS ${T_ARGS})
  endif()
endfunction()
