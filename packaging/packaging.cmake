# Release packaging, included at the end of the top-level CMakeLists.txt (Windows builds only):
#   - the shipped exclusion list, copied into the dist folder as tools\除外リスト.txt;
#   - the portable ZIP Trellane-<version>-win32.zip, or -win64.zip for the x64 edition (CPack,
#     generator ZIP; also the "package" target);
#   - the installer Trellane-<version>-setup.exe (NSIS, packaging/trellane.nsi), when makensis is
#     found. The x64 build's installer carries both editions and installs the x64 one on 64-bit
#     Windows, the 32-bit one elsewhere; a 32-bit build's installer carries the 32-bit edition only;
#   - the tests of both packages (cross builds on Linux: host checks natively, the rest under Wine).
# Both packages land in <build>/packages and are made by the default build target, so a plain
# build followed by ctest tests what would be released. The version is project(... VERSION ...).

set(TRELLANE_PACKAGING_SOURCE "${CMAKE_CURRENT_LIST_DIR}")
set(TRELLANE_PACKAGING_WORK "${CMAKE_BINARY_DIR}/packaging")
set(TRELLANE_PACKAGES_DIR "${CMAKE_BINARY_DIR}/packages")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TRELLANE_EDITION win64)
else()
  set(TRELLANE_EDITION win32)
endif()
set(TRELLANE_ZIP_BASENAME "Trellane-${PROJECT_VERSION}-${TRELLANE_EDITION}")
set(TRELLANE_ZIP "${TRELLANE_PACKAGES_DIR}/${TRELLANE_ZIP_BASENAME}.zip")
set(TRELLANE_SETUP "${TRELLANE_PACKAGES_DIR}/Trellane-${PROJECT_VERSION}-setup.exe")
set(TRELLANE_ZIP_STAGE "${TRELLANE_PACKAGING_WORK}/stage")
file(MAKE_DIRECTORY "${TRELLANE_PACKAGES_DIR}")

# --- The shipped exclusion list in the dist folder -------------------------------------------------
set(exclusion_stamp "${TRELLANE_PACKAGING_WORK}/exclusion-list.stamp")
add_custom_command(OUTPUT "${exclusion_stamp}"
  COMMAND "${CMAKE_COMMAND}" -DMODE=exclusion-list "-DSOURCE=${TRELLANE_PACKAGING_SOURCE}/exclusion-list.txt"
          "-DDIST=${TRELLANE_DIST_DIR}" "-DSTAMP=${exclusion_stamp}" -P "${TRELLANE_PACKAGING_SOURCE}/stage.cmake"
  DEPENDS "${TRELLANE_PACKAGING_SOURCE}/exclusion-list.txt" "${TRELLANE_PACKAGING_SOURCE}/stage.cmake"
  COMMENT "Exclusion list tools\\除外リスト.txt in the dist folder"
  VERBATIM)
add_custom_target(trellane_exclusion_list ALL DEPENDS "${exclusion_stamp}")

# --- Portable ZIP ------------------------------------------------------------------------------------
# CPack's own configuration, so that the conventional "package" target (cmake --build <dir> --target
# package) makes the same ZIP as the default build. The ZIP holds the staged copy of the dist
# folder's shipped files at its root, so that a user who unzips it gets trellane.exe beside tools\.
# libarchive stores the Japanese file name in UTF-8 and sets the UTF-8 name flag (general purpose bit
# 11), which Windows and Info-ZIP's unzip both honour.
set(CPACK_GENERATOR "ZIP")
set(CPACK_PACKAGE_NAME "Trellane")
set(CPACK_PACKAGE_VENDOR "Trellane 開発チーム")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION "Tray-resident grid snapping for windows (${TRELLANE_EDITION})")
set(CPACK_PACKAGE_FILE_NAME "${TRELLANE_ZIP_BASENAME}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# Only the staged files: no install step of the project (which would run a build from within the
# build that makes this package).
set(CPACK_INSTALL_CMAKE_PROJECTS "")
set(CPACK_INSTALLED_DIRECTORIES "${TRELLANE_ZIP_STAGE};.")
set(CPACK_PACKAGE_DIRECTORY "${TRELLANE_PACKAGING_WORK}/cpack")
set(CPACK_OUTPUT_FILE_PREFIX "${TRELLANE_PACKAGES_DIR}")
set(CPACK_OUTPUT_CONFIG_FILE "${CMAKE_BINARY_DIR}/CPackConfig.cmake")
include(CPack)
set(stage_stamp "${TRELLANE_PACKAGING_WORK}/stage.stamp")
add_custom_command(OUTPUT "${TRELLANE_ZIP}" "${stage_stamp}"
  COMMAND "${CMAKE_COMMAND}" -DMODE=stage "-DDIST=${TRELLANE_DIST_DIR}" "-DSTAGE=${TRELLANE_ZIP_STAGE}"
          "-DEDITION=${TRELLANE_EDITION}"
          "-DSTAMP=${stage_stamp}" -P "${TRELLANE_PACKAGING_SOURCE}/stage.cmake"
  COMMAND "${CMAKE_COMMAND}" -E rm -f "${TRELLANE_ZIP}"
  COMMAND "${CMAKE_CPACK_COMMAND}" -q --config "${CPACK_OUTPUT_CONFIG_FILE}"
  DEPENDS trellane Vellum "${exclusion_stamp}" "${CMAKE_SOURCE_DIR}/app/ReadMe.txt"
          "${TRELLANE_PACKAGING_SOURCE}/stage.cmake" "${CPACK_OUTPUT_CONFIG_FILE}"
  COMMENT "Portable ZIP ${TRELLANE_ZIP_BASENAME}.zip"
  VERBATIM)
set(package_outputs "${TRELLANE_ZIP}")

# --- Installer ---------------------------------------------------------------------------------------
find_program(TRELLANE_MAKENSIS makensis)
if(TRELLANE_MAKENSIS)
  # Windows wants four numbers in the installer's version resource.
  set(version_quad "${PROJECT_VERSION_MAJOR}")
  foreach(part MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
      string(APPEND version_quad ".0")
    else()
      string(APPEND version_quad ".${PROJECT_VERSION_${part}}")
    endif()
  endforeach()
  # The 32-bit edition always; the x64 build adds its own edition, taken on 64-bit Windows.
  if(TRELLANE_EDITION STREQUAL "win64")
    set(setup_dists "-DDIST=${TRELLANE_WIN32_DIST}" "-DDIST64=${TRELLANE_DIST_DIR}")
  else()
    set(setup_dists "-DDIST=${TRELLANE_DIST_DIR}")
  endif()
  add_custom_command(OUTPUT "${TRELLANE_SETUP}"
    COMMAND "${TRELLANE_MAKENSIS}" -V2 -INPUTCHARSET UTF8 "-DVERSION=${PROJECT_VERSION}"
            "-DVERSION_QUAD=${version_quad}" ${setup_dists} "-DSOURCE=${CMAKE_SOURCE_DIR}"
            "-DOUTFILE=${TRELLANE_SETUP}" "${TRELLANE_PACKAGING_SOURCE}/trellane.nsi"
    DEPENDS trellane Vellum ${TRELLANE_WIN32_TARGET} "${exclusion_stamp}" "${CMAKE_SOURCE_DIR}/app/ReadMe.txt"
            "${TRELLANE_PACKAGING_SOURCE}/trellane.nsi" "${CMAKE_SOURCE_DIR}/app/res/trellane.ico"
    COMMENT "Installer Trellane-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
  list(APPEND package_outputs "${TRELLANE_SETUP}")
else()
  message(STATUS "makensis not found: no installer (Debian: apt-get install nsis; scripts/setup.sh does)")
endif()

add_custom_target(trellane_packages ALL DEPENDS ${package_outputs})

# --- Tests -------------------------------------------------------------------------------------------
if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
  include("${TRELLANE_PACKAGING_SOURCE}/tests/tests.cmake")
endif()
