# Archives checked on the host: the HostCheckedZip tests leave archives in the prefix, then
# Python's zipfile reads them.
set(zip_python_folder ${CMAKE_BINARY_DIR}/wineprefix/drive_c/tidymate-tests)
add_test(NAME HostCheckedZip.WriteArchives COMMAND tests_platform --gtest_filter=HostCheckedZip.*)
add_test(NAME HostCheckedZip.PythonReadsArchives
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/platform/check_zip.py
    ${zip_python_folder}/HostCheckedZip.ArchivesForPython
    ${zip_python_folder}/HostCheckedZip.FilesSurviveKilledAdds)
set_tests_properties(HostCheckedZip.WriteArchives PROPERTIES
  FIXTURES_SETUP zip_archives_for_python LABELS platform TIMEOUT 600)
set_tests_properties(HostCheckedZip.PythonReadsArchives PROPERTIES
  FIXTURES_REQUIRED zip_archives_for_python LABELS platform)
