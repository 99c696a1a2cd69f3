# scripts/test.sh builds its trees with CMAKE_UNITY_BUILD, which compiles a folder's files in batches
# so that Qt's, the standard library's and GoogleTest's headers are parsed once per batch instead of
# once per file. A file that cannot share a batch is compiled on its own: <asm/termbits.h> redefines
# what <termios.h> declares, and the others keep file-local names that another file of their target
# also uses.
set(pq_unity_alone
  src/serial/platform/CustomBaudRate.cpp
  src/serial/CommPackage.cpp
  src/serial/CommSettingsEntry.cpp
  src/statistics/IndexSampler.cpp
  src/report/ui/ReportToolPictures.cpp
  src/report/ui/ReportViewer.cpp
  src/report/ui/ReportParametersWindow.cpp
  src/live/ui/LiveDataWindow.cpp
  tests/timerange/DateFieldRulesTest.cpp
  tests/timerange/TimeRangeSelectionTest.cpp
  tests/live/LiveTableTest.cpp
  tests/assessment/EnergyMeterTest.cpp
  tests/assessment/AssessmentPassTest.cpp
  tests/assessment/VoltageEventsTest.cpp
  tests/statistics/ReportParametersTest.cpp
  tests/cli/ReportOutputsTest.cpp
)
list(TRANSFORM pq_unity_alone PREPEND ${PROJECT_SOURCE_DIR}/)
set_source_files_properties(${pq_unity_alone} DIRECTORY ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests
                            PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
