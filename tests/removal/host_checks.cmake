# Undo archives checked on the host: the HostCheckedUndo tests leave the day's archives in the
# prefix, then Python's zipfile reads them.
set(undo_python_folder ${CMAKE_BINARY_DIR}/wineprefix/drive_c/tidymate-tests)
add_test(NAME HostCheckedUndo.WriteArchives COMMAND tests_removal --gtest_filter=HostCheckedUndo.*)
add_test(NAME HostCheckedUndo.PythonReadsArchives
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/removal/check_undo.py
    ${undo_python_folder}/HostCheckedUndo.ArchivesForPython/prog
    ${undo_python_folder}/HostCheckedUndo.FilesSurviveKilledMoves/prog)
set_tests_properties(HostCheckedUndo.WriteArchives PROPERTIES
  FIXTURES_SETUP undo_archives_for_python LABELS removal TIMEOUT 900)
set_tests_properties(HostCheckedUndo.PythonReadsArchives PROPERTIES
  FIXTURES_REQUIRED undo_archives_for_python LABELS removal)
