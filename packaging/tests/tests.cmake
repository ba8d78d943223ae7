# Tests of the release packages (included by packaging/packaging.cmake in cross builds on Linux).
# Host checks run natively with python3; the Wine checks need the test bench (scripts/test.sh,
# scripts/dev-test.sh), as every Windows test does.
set(packaging_tests_dir "${CMAKE_CURRENT_LIST_DIR}")
# The distribution's interpreter first: it starts faster than a version-manager shim.
find_program(TRELLANE_PYTHON3 python3 HINTS /usr/bin REQUIRED)

add_test(NAME Packaging.ExclusionListFormat
         COMMAND "${TRELLANE_PYTHON3}" "${packaging_tests_dir}/check_packages.py" exclusion-list
                 "${TRELLANE_DIST_DIR}/tools/除外リスト.txt")
add_test(NAME Packaging.ManualIsShortAndHasItsSections
         COMMAND "${TRELLANE_PYTHON3}" "${packaging_tests_dir}/check_packages.py" manual
                 "${CMAKE_SOURCE_DIR}/app/ReadMe.txt")
add_test(NAME Packaging.ZipHoldsTheShippedFilesWithUtf8Names
         COMMAND "${TRELLANE_PYTHON3}" "${packaging_tests_dir}/check_packages.py" zip
                 "${TRELLANE_ZIP}" "${CMAKE_SOURCE_DIR}" "${PROJECT_VERSION}")

if(NOT TRELLANE_MAKENSIS)
  add_test(NAME Packaging.InstallerIsBuilt
           COMMAND "${CMAKE_COMMAND}" -E echo "makensis was not found: run scripts/setup.sh (Debian package nsis)")
  set_tests_properties(Packaging.InstallerIsBuilt PROPERTIES WILL_FAIL TRUE)
  return()
endif()

add_test(NAME Packaging.VersionReachesPackagesAndReadme
         COMMAND "${TRELLANE_PYTHON3}" "${packaging_tests_dir}/check_packages.py" versions
                 "${CMAKE_SOURCE_DIR}/README.md" "${PROJECT_VERSION}" "${TRELLANE_ZIP}" "${TRELLANE_SETUP}")

if(NOT TRELLANE_HAVE_GTEST)
  return()
endif()

add_executable(package_tests "${packaging_tests_dir}/package_tests.cpp")
target_include_directories(package_tests PRIVATE ${CMAKE_SOURCE_DIR}/app)
target_link_libraries(package_tests PRIVATE winkit gtest_main trellane_warnings shell32 ole32 uuid advapi32)
target_compile_definitions(package_tests PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_dependencies(package_tests trellane_packages)

add_test(NAME Packaging.PortableZipUnpacksAndRuns
         COMMAND bash "${packaging_tests_dir}/zip_runs.sh" "${TRELLANE_ZIP}" "$<TARGET_FILE:package_tests>"
                 "${TRELLANE_PACKAGING_WORK}/scratch")
set_tests_properties(Packaging.PortableZipUnpacksAndRuns PROPERTIES TIMEOUT 180
                     FAIL_REGULAR_EXPRESSION "${TRELLANE_NO_TEST_RAN}")

add_test(NAME Packaging.InstallerInstallsRunsAndUninstalls
         COMMAND package_tests --gtest_filter=Installer.*)
set_tests_properties(Packaging.InstallerInstallsRunsAndUninstalls PROPERTIES TIMEOUT 300
                     ENVIRONMENT "TRELLANE_SETUP=${TRELLANE_SETUP};TRELLANE_VERSION=${PROJECT_VERSION}"
                     FAIL_REGULAR_EXPRESSION "${TRELLANE_NO_TEST_RAN}")
