# The hook library as the loader sees it, read from the built file with objdump on the build machine:
# its export directory (module name, the four names and their ordinals), the only two system
# libraries it may import, its size, and how the program binds to it.
#   cmake -DOBJDUMP=<objdump> -DDLL=<dist/tools/Vellum.dll> [-DEXE=<dist/trellane.exe>]
#         [-DMODULE=<module name, default Vellum.dll>] -P check_exports.cmake
# The x64 edition's 32-bit companion library is checked the same way with -DMODULE=Vellum32.dll.
cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED MODULE OR MODULE STREQUAL "")
  set(MODULE Vellum.dll)
endif()

set(failures "")
function(fail text)
  set(failures "${failures}\n  ${text}" PARENT_SCOPE)
endfunction()

foreach(required OBJDUMP DLL)
  if(NOT DEFINED ${required} OR "${${required}}" STREQUAL "")
    message(FATAL_ERROR "check_exports: -D${required}=... is required")
  endif()
endforeach()
if(NOT EXISTS "${DLL}")
  message(FATAL_ERROR "check_exports: ${DLL} does not exist; build the Vellum target first")
endif()

function(read_headers file out)
  execute_process(COMMAND "${OBJDUMP}" -p "${file}" OUTPUT_VARIABLE text ERROR_VARIABLE errors
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "check_exports: ${OBJDUMP} -p ${file} failed: ${errors}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The names of the imported libraries, in the order of the import directory.
function(imported_libraries text out)
  string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${text}")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^DLL Name: " "" name "${line}")
    string(STRIP "${name}" name)
    list(APPEND names "${name}")
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# --- Size: the library is mapped into every process on the desktop. --------------------------------
file(SIZE "${DLL}" dll_size)
if(dll_size GREATER 8192)
  fail("${MODULE} is ${dll_size} bytes; at most 8192 are allowed")
endif()

read_headers("${DLL}" dll_text)

# --- Export directory -------------------------------------------------------------------------------
if(NOT dll_text MATCHES "The Export Tables")
  fail("${MODULE} has no export directory")
endif()
if(dll_text MATCHES "\nName[ \t]+[0-9a-fA-F]+ ([^\n]*)")
  string(STRIP "${CMAKE_MATCH_1}" module_name)
  if(NOT module_name STREQUAL "${MODULE}")
    fail("the export directory names the module \"${module_name}\", not \"${MODULE}\"")
  endif()
else()
  fail("the export directory carries no module name")
endif()

set(ordinal_base 1)
if(dll_text MATCHES "Ordinal Base[ \t]+([0-9]+)")
  set(ordinal_base "${CMAKE_MATCH_1}")
endif()

# objdump lists "[index] Name" under "[Ordinal/Name Pointer] Table"; older versions print the index
# without the ordinal base, newer ones say "-- Ordinal Base n" in the heading and print the ordinal.
set(exports "")
if(dll_text MATCHES "\\[Ordinal/Name Pointer\\] Table([^\n]*)\n(([ \t]+\\[ *[0-9]+\\] [^\n]+\n)+)")
  set(heading "${CMAKE_MATCH_1}")
  set(rows "${CMAKE_MATCH_2}")
  set(bias ${ordinal_base})
  if(heading MATCHES "Ordinal Base")
    set(bias 0)
  endif()
  string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" entries "${rows}")
  foreach(entry IN LISTS entries)
    string(REGEX MATCH "^\\[ *([0-9]+)\\] (.+)$" _ "${entry}")
    math(EXPR ordinal "${CMAKE_MATCH_1} + ${bias}")
    string(STRIP "${CMAKE_MATCH_2}" name)
    list(APPEND exports "${name}=${ordinal}")
  endforeach()
else()
  fail("no exported names found")
endif()

list(SORT exports)
set(expected_exports "InstallHook=4;SetGrid=2;UninstallHook=3;UseRightButton=1")
if(NOT exports STREQUAL expected_exports)
  fail("exports (name=ordinal) are \"${exports}\", expected \"${expected_exports}\"")
endif()

# --- Imports: system libraries only, and only these two. ---------------------------------------------
imported_libraries("${dll_text}" dll_imports)
set(normalized "")
foreach(name IN LISTS dll_imports)
  string(TOUPPER "${name}" upper)
  list(APPEND normalized "${upper}")
endforeach()
list(SORT normalized)
if(NOT normalized STREQUAL "KERNEL32.DLL;USER32.DLL")
  fail("${MODULE} imports from \"${dll_imports}\"; only KERNEL32.dll and USER32.dll are allowed")
endif()

# --- The program binds to tools\Vellum.dll at load time, by name. ------------------------------------
set(program_note "the program is not built, its import of the library is not checked")
if(DEFINED EXE AND NOT "${EXE}" STREQUAL "" AND EXISTS "${EXE}")
  set(program_note "${EXE} imports it from tools\\Vellum.dll")
  read_headers("${EXE}" exe_text)
  imported_libraries("${exe_text}" exe_imports)
  set(vellum_imports "")
  foreach(name IN LISTS exe_imports)
    if(name MATCHES "[Vv][Ee][Ll][Ll][Uu][Mm]")
      list(APPEND vellum_imports "${name}")
    endif()
  endforeach()
  if(NOT vellum_imports STREQUAL "tools\\Vellum.dll")
    fail("the program imports the hook library as \"${vellum_imports}\", expected exactly \"tools\\Vellum.dll\"")
  else()
    # The member names listed under that library, up to the next library or the end of the table.
    string(FIND "${exe_text}" "DLL Name: tools\\Vellum.dll" start)
    string(SUBSTRING "${exe_text}" ${start} -1 block)
    string(SUBSTRING "${block}" 10 -1 rest)
    string(FIND "${rest}" "DLL Name:" next)
    if(next GREATER -1)
      math(EXPR length "${next} + 10")
      string(SUBSTRING "${block}" 0 ${length} block)
    endif()
    foreach(function UseRightButton SetGrid UninstallHook InstallHook)
      if(NOT block MATCHES "[ \t][0-9]+[ \t]+${function}[ \t]*\n")
        fail("the program does not import ${function} by name from tools\\Vellum.dll")
      endif()
    endforeach()
  endif()
endif()

if(failures)
  message(FATAL_ERROR "check_exports: ${DLL}:${failures}")
endif()
message(STATUS "check_exports: ${DLL} (${dll_size} bytes): exports ${exports}; imports ${dll_imports}; "
               "${program_note}")
