# trellane.exe, placed in the dist folder beside tools\Vellum.dll.
set(TRELLANE_RC_TEMPLATE ${CMAKE_CURRENT_SOURCE_DIR}/res/resources.rc.in)
set(TRELLANE_RC ${CMAKE_CURRENT_BINARY_DIR}/resources.rc)
configure_file(${TRELLANE_RC_TEMPLATE} ${TRELLANE_RC} @ONLY)
if(MINGW)
  enable_language(RC)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
endif()

add_library(trellane_program STATIC
  application.cpp
  frmParletU.cpp
  frmParletU_windows.cpp
  frmParletU_menu.cpp
  gui_benri.cpp
  settings_file.cpp
  single_instance.cpp
  SysCtrls.cpp)
target_include_directories(trellane_program PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/res)
target_compile_definitions(trellane_program PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                   _WIN32_WINNT=0x0601 WINVER=0x0601)
target_link_libraries(trellane_program PUBLIC trellane_logic vellum_import comctl32 shell32 ole32 uuid gdi32 user32
                                       PRIVATE trellane_warnings)

add_executable(trellane WIN32 trellane.cpp ${TRELLANE_RC})
target_include_directories(trellane PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/res)
target_link_libraries(trellane PRIVATE trellane_program trellane_warnings)
set_target_properties(trellane PROPERTIES OUTPUT_NAME trellane RUNTIME_OUTPUT_DIRECTORY "$<1:${TRELLANE_DIST_DIR}>")
if(MINGW)
  target_link_options(trellane PRIVATE ${TRELLANE_STATIC_RUNTIME} -municode -s)
elseif(MSVC)
  # The manifest comes from the resource script; the linker must not add a second one.
  target_link_options(trellane PRIVATE /MANIFEST:NO)
endif()

# The manual travels beside the program, copied again whenever it changes (not only when the
# program is linked again).
add_custom_command(OUTPUT ${TRELLANE_DIST_DIR}/ReadMe.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/ReadMe.txt ${TRELLANE_DIST_DIR}/ReadMe.txt
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ReadMe.txt)
add_custom_target(trellane_readme ALL DEPENDS ${TRELLANE_DIST_DIR}/ReadMe.txt)
add_dependencies(trellane trellane_readme)

# The same program with a way to raise an error that nothing handles, for the test that folded
# windows are given back when the program fails. Never shipped: it lands outside the dist folder.
add_library(trellane_program_faults STATIC $<TARGET_PROPERTY:trellane_program,SOURCES>)
target_include_directories(trellane_program_faults PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/res)
target_compile_definitions(trellane_program_faults PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                          _WIN32_WINNT=0x0601 WINVER=0x0601 TRELLANE_FAULT_INJECTION)
target_link_libraries(trellane_program_faults PUBLIC trellane_logic vellum_import comctl32 shell32 ole32 uuid gdi32
                                              user32 PRIVATE trellane_warnings)
add_executable(trellane_faults WIN32 trellane.cpp ${TRELLANE_RC})
target_link_libraries(trellane_faults PRIVATE trellane_program_faults trellane_warnings)
set_target_properties(trellane_faults PROPERTIES OUTPUT_NAME trellane
                      RUNTIME_OUTPUT_DIRECTORY "$<1:${CMAKE_BINARY_DIR}/faults>")
if(MINGW)
  target_link_options(trellane_faults PRIVATE ${TRELLANE_STATIC_RUNTIME} -municode)
elseif(MSVC)
  target_link_options(trellane_faults PRIVATE /MANIFEST:NO)
endif()
