# trellane.exe, placed in the dist folder beside tools\Vellum.dll.
set(TRELLANE_RC_TEMPLATE ${CMAKE_CURRENT_SOURCE_DIR}/res/resources.rc.in)
set(TRELLANE_RC ${CMAKE_CURRENT_BINARY_DIR}/resources.rc)
configure_file(${TRELLANE_RC_TEMPLATE} ${TRELLANE_RC} @ONLY)
# windres reports no dependencies: the files the script pulls in are named here, so that a changed
# manifest, icon or logo reaches the program.
file(GLOB trellane_rc_inputs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/*.manifest
     ${CMAKE_CURRENT_SOURCE_DIR}/res/*.ico ${CMAKE_CURRENT_SOURCE_DIR}/res/*.bmp)
set_source_files_properties(${TRELLANE_RC} PROPERTIES OBJECT_DEPENDS "${trellane_rc_inputs}")
if(MINGW)
  enable_language(RC)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
endif()

# The program's units as a library, so that the test build below compiles the same sources with the
# same settings and only its extra definitions differ.
function(add_trellane_program_library name)
  add_library(${name} STATIC
    application.cpp
    drag_session.cpp
    elevation.cpp
    exclusion_file.cpp
    fold_record.cpp
    frmParletU.cpp
    window_calls.cpp
    window_commands.cpp
    frmParletU_menu.cpp
    frmParletU_dpi.cpp
    frmParletU_events.cpp
    grid_window.cpp
    gui_benri.cpp
    hook_client.cpp
    keep_mode_window.cpp
    pick_dialog.cpp
    settings_file.cpp
    trace.cpp
    tray_commands.cpp
    window_translucency.cpp
    window_property.cpp
    single_instance.cpp
    SysCtrls.cpp
    visible_frame.cpp)
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/res)
  target_compile_definitions(${name} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                                            WINVER=0x0601 ${ARGN})
  target_link_libraries(${name} PUBLIC trellane_logic vellum_import comctl32 shell32 ole32 uuid gdi32 user32 advapi32
                                PRIVATE trellane_warnings)
endfunction()

# The executable itself: the entry point and the resources on top of a program library.
function(add_trellane_executable name library output_dir)
  add_executable(${name} WIN32 trellane.cpp ${TRELLANE_RC})
  target_link_libraries(${name} PRIVATE ${library} trellane_warnings)
  set_target_properties(${name} PROPERTIES OUTPUT_NAME trellane RUNTIME_OUTPUT_DIRECTORY "$<1:${output_dir}>")
  if(MINGW)
    target_link_options(${name} PRIVATE ${TRELLANE_STATIC_RUNTIME} -municode)
  elseif(MSVC)
    # The manifest comes from the resource script; the linker must not add a second one.
    target_link_options(${name} PRIVATE /MANIFEST:NO)
  endif()
endfunction()

add_trellane_program_library(trellane_program)
add_trellane_executable(trellane trellane_program ${TRELLANE_DIST_DIR})
if(MINGW)
  # What ships carries no symbols.
  target_link_options(trellane PRIVATE -s)
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
add_trellane_program_library(trellane_program_faults TRELLANE_FAULT_INJECTION)
add_trellane_executable(trellane_faults trellane_program_faults ${CMAKE_BINARY_DIR}/faults)
