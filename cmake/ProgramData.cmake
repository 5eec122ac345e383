# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the files the editor reads beside the program: the interface-language
# files, the help files (also as .html, the program's home pages), the sounds
# of the sound events, and the language list and the sound files of the events
# in the program settings file. Run with
#   cmake -DSOURCE_DIR=<repository> -DPROGRAM_DIR=<folder of the program> -P ProgramData.cmake
# The settings file is the user's: it is created when missing, and an
# existing one only gains the language list when it has none.

file(MAKE_DIRECTORY "${PROGRAM_DIR}/lang")
foreach(name English Deutsch Francais Espanol Italiano Nederlands)
  file(COPY_FILE "${SOURCE_DIR}/lang/${name}.ini" "${PROGRAM_DIR}/lang/${name}.ini" ONLY_IF_DIFFERENT)
endforeach()
foreach(name English German)
  file(COPY_FILE "${SOURCE_DIR}/help/${name}.hlp" "${PROGRAM_DIR}/${name}.hlp" ONLY_IF_DIFFERENT)
  file(COPY_FILE "${SOURCE_DIR}/help/${name}.hlp" "${PROGRAM_DIR}/${name}.html" ONLY_IF_DIFFERENT)
endforeach()

file(MAKE_DIRECTORY "${PROGRAM_DIR}/sounds")
file(GLOB sounds RELATIVE "${SOURCE_DIR}/sounds" "${SOURCE_DIR}/sounds/*.wav")
foreach(name ${sounds})
  file(COPY_FILE "${SOURCE_DIR}/sounds/${name}" "${PROGRAM_DIR}/sounds/${name}" ONLY_IF_DIFFERENT)
endforeach()

# Each default section goes into the settings file unless it has it already.
set(settings "${PROGRAM_DIR}/vocatrix.ini")
foreach(defaults "lang/languages.ini;languages" "sounds/sound.ini;sound")
  list(GET defaults 0 file)
  list(GET defaults 1 section)
  file(READ "${SOURCE_DIR}/${file}" content)
  set(current "")
  if(EXISTS "${settings}")
    file(READ "${settings}" current)
  endif()
  string(TOLOWER "${current}" lower)
  if(NOT lower MATCHES "\\[${section}\\]")
    if(current STREQUAL "")
      file(WRITE "${settings}" "${content}")
    else()
      file(APPEND "${settings}" "\r\n${content}")
    endif()
  endif()
endforeach()
