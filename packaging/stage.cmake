# Copies the shipped files, run by the build in script mode (cmake -P), so that the Japanese file
# name never has to pass through a command line of the build tool.
#   -DMODE=exclusion-list -DSOURCE=<packaging/exclusion-list.txt> -DDIST=<dist folder> -DSTAMP=<file>
#       puts the shipped exclusion list into the dist folder as tools\除外リスト.txt
#   -DMODE=stage -DDIST=<dist folder> -DSTAGE=<folder> -DSTAMP=<file> [-DEDITION=win32|win64]
#       makes STAGE hold exactly the files a user gets, copied from the dist folder (which may hold
#       more, such as a trellane.ini left by a run of the program)
cmake_minimum_required(VERSION 3.25)

# The files of a release, relative to the program's folder.
set(shipped trellane.exe tools/Vellum.dll tools/除外リスト.txt ReadMe.txt)

if(MODE STREQUAL "exclusion-list")
  file(MAKE_DIRECTORY "${DIST}/tools")
  file(COPY_FILE "${SOURCE}" "${DIST}/tools/除外リスト.txt" ONLY_IF_DIFFERENT)
elseif(MODE STREQUAL "stage")
  file(REMOVE_RECURSE "${STAGE}")
  foreach(relative IN LISTS shipped)
    if(NOT EXISTS "${DIST}/${relative}")
      message(FATAL_ERROR "stage: ${DIST}/${relative} is missing")
    endif()
    get_filename_component(folder "${STAGE}/${relative}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${DIST}/${relative}" "${STAGE}/${relative}")
  endforeach()
else()
  message(FATAL_ERROR "stage: unknown MODE '${MODE}'")
endif()
file(TOUCH "${STAMP}")
