# Puts the files the editor reads beside the program: the interface-language
# files, the help files (also as .html, the program's home pages), and the
# language list in the program settings file. Run with
#   cmake -DSOURCE_DIR=<repository> -DPROGRAM_DIR=<folder of the program> -P ProgramData.cmake
# The settings file is the user's: it is created when missing, and an
# existing one only gains the language list when it has none.

file(MAKE_DIRECTORY "${PROGRAM_DIR}/lang")
foreach(name English Deutsch)
  file(COPY_FILE "${SOURCE_DIR}/lang/${name}.ini" "${PROGRAM_DIR}/lang/${name}.ini" ONLY_IF_DIFFERENT)
endforeach()
foreach(name English German)
  file(COPY_FILE "${SOURCE_DIR}/help/${name}.hlp" "${PROGRAM_DIR}/${name}.hlp" ONLY_IF_DIFFERENT)
  file(COPY_FILE "${SOURCE_DIR}/help/${name}.hlp" "${PROGRAM_DIR}/${name}.html" ONLY_IF_DIFFERENT)
endforeach()

set(settings "${PROGRAM_DIR}/vocatrix.ini")
file(READ "${SOURCE_DIR}/lang/languages.ini" languages)
if(NOT EXISTS "${settings}")
  file(WRITE "${settings}" "${languages}")
else()
  file(READ "${settings}" current)
  string(TOLOWER "${current}" lower)
  if(NOT lower MATCHES "\\[languages\\]")
    file(APPEND "${settings}" "\n${languages}")
  endif()
endif()
