# Shared build settings and the helpers every subsystem's CMakeLists uses.
include(GNUInstallDirs)

add_library(cattools_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(cattools_warnings INTERFACE -Wall -Wextra -Wpedantic)
endif()
# g++ 12 at -O3 reports -Wrestrict inside libstdc++'s std::string appends that cannot overlap
# (a known false positive of that version); the release build would fail on it.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(cattools_warnings INTERFACE -Wno-restrict)
endif()

if(CATTOOLS_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(CATTOOLS_FUZZ)
  # Every library is instrumented for coverage; only the fuzz targets link the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(CATTOOLS_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# cattools_library(NAME SOURCES... [DEPS libs...]): a static library of one subsystem.
function(cattools_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE cattools_warnings)
endfunction()

# cattools_unit_tests(NAME SOURCES... DEPS libs...): one GoogleTest binary for a subsystem.
function(cattools_unit_tests name)
  if(NOT CATTOOLS_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} cattools_test_support GTest::gtest_main
                                        cattools_warnings)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "CATTOOLS_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# cattools_tool(NAME LIBRARY): the thin executable around a tool's run().
function(cattools_tool name library)
  add_executable(${name} main.cpp)
  target_link_libraries(${name} PRIVATE ${library} cattools_warnings)
  install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
