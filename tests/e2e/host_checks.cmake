# The shutdown ends a whole Wine session: its cases run in a prefix of their own.
add_test(NAME HostCheckedShutdown.InAPrefixOfItsOwn
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/shutdown_check.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
set_tests_properties(HostCheckedShutdown.InAPrefixOfItsOwn PROPERTIES LABELS e2e TIMEOUT 900)
