# Installs the build into PREFIX and checks that everything a desktop needs is
# where it looks for it. Run as: cmake -DBUILD_DIR=... -DPREFIX=... -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} OUTPUT_QUIET
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(expected
    bin/beatloom
    bin/beatloom-cli
    share/beatloom/help/help.html
    share/beatloom/lang/en/langage.ini
    share/beatloom/samples/demo.bms
    share/applications/beatloom.desktop
    share/icons/hicolor/scalable/apps/beatloom.svg
    share/icons/hicolor/256x256/apps/beatloom.png
    share/mime/packages/beatloom.xml)
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
# Both programs run from where they were installed.
foreach(program beatloom beatloom-cli)
  execute_process(COMMAND ${PREFIX}/bin/${program} --help RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "bin/${program} --help failed: ${status}")
  endif()
endforeach()

# The desktop entry must open a chart with the program that was installed.
file(READ ${PREFIX}/share/applications/beatloom.desktop entry)
foreach(line "Exec=beatloom %f" "Icon=beatloom" "MimeType=text/x-bms;")
  string(FIND "${entry}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "desktop entry lacks ${line}")
  endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/beatloom.desktop
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR out)
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()

# The file types must be readable by the MIME database, and a chart must come
# out as one.
find_program(UPDATE_MIME_DATABASE update-mime-database)
if(UPDATE_MIME_DATABASE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${PREFIX}/share ${UPDATE_MIME_DATABASE} ${PREFIX}/share/mime
                  RESULT_VARIABLE status ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR out)
    message(FATAL_ERROR "update-mime-database: ${out}")
  endif()
  file(READ ${PREFIX}/share/mime/globs2 globs)
  foreach(glob "text/x-bms:*.bms" "text/x-bme:*.bme" "text/x-bml:*.bml" "text/x-pms:*.pms" "text/x-bms:*.BMS")
    string(FIND "${globs}" "${glob}" at)
    if(at LESS 0)
      message(FATAL_ERROR "MIME database lacks ${glob}")
    endif()
  endforeach()
endif()
file(REMOVE_RECURSE ${PREFIX})
