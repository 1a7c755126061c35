# GoogleTest from Debian's source package, built by the cross toolchain.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

file(GLOB TIDYMATE_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(tidymate_test_support STATIC ${TIDYMATE_TEST_SUPPORT})
target_include_directories(tidymate_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(tidymate_test_support PUBLIC tidymate_core GTest::gtest GTest::gmock ws2_32)

# One test program per folder of tests/. Every test case runs as its own Wine process.
# Folders whose tests change machine-wide state (the user's shell folders, the program's
# own folder, drive mappings) run serially.
set(TIDYMATE_SERIAL_TEST_FOLDERS app ui e2e)
file(GLOB TIDYMATE_TEST_FOLDERS LIST_DIRECTORIES true RELATIVE ${CMAKE_SOURCE_DIR}/tests
  ${CMAKE_SOURCE_DIR}/tests/*)
foreach(folder ${TIDYMATE_TEST_FOLDERS})
  if(folder STREQUAL "support" OR NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/tests/${folder})
    continue()
  endif()
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT test_sources)
    continue()
  endif()
  set(target tests_${folder})
  add_executable(${target} ${test_sources} ${CMAKE_SOURCE_DIR}/res/tidymate.rc)
  target_link_libraries(${target} PRIVATE tidymate_test_support GTest::gmock_main)
  add_dependencies(${target} Tidymate tidymate_icon)
  set(props LABELS ${folder} ENVIRONMENT "TIDYMATE_EXE=${CMAKE_BINARY_DIR}/Tidymate.exe")
  if(folder IN_LIST TIDYMATE_SERIAL_TEST_FOLDERS)
    list(APPEND props RUN_SERIAL TRUE)
  endif()
  # Suites named HostChecked* run only through the folder's host_checks.cmake, which checks
  # their results with programs on the host.
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    TEST_FILTER "-HostChecked*"
    PROPERTIES ${props})
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/${folder}/host_checks.cmake)
    include(${CMAKE_SOURCE_DIR}/tests/${folder}/host_checks.cmake)
  endif()
endforeach()
