# The Windows setup program, tovelin-<version>-setup.exe in the build folder, made by makensis
# (Debian's nsis package) from packaging/windows/tovelin.nsi.in. Target "installer"; built by
# default, as the installer's end-to-end test needs it and it takes a second or two. Included
# from src/ after HelpPages.cmake, which names the folder of the program and its help.
find_program(TOVELIN_MAKENSIS makensis)
if(NOT TOVELIN_MAKENSIS)
  message(WARNING "makensis was not found: no setup program (install the Debian package nsis; "
    "scripts/install-deps.sh does)")
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TOVELIN_NSIS_TARGET amd64-unicode)
else()
  set(TOVELIN_NSIS_TARGET x86-unicode)
endif()
# Cached so that the tests, configured in their own folder, find it.
set(TOVELIN_SETUP_FILE ${CMAKE_BINARY_DIR}/tovelin-${PROJECT_VERSION}-setup.exe CACHE INTERNAL "The setup program")
# The installed program carries no debugging information: a stripped copy.
set(TOVELIN_PROGRAM_FILE ${CMAKE_BINARY_DIR}/setup-files/tovelin.exe)
set(TOVELIN_HELP_FILE ${TOVELIN_PROGRAM_DIR}/help.chm)

set(TOVELIN_NSIS_SOURCE ${PROJECT_SOURCE_DIR}/packaging/windows/tovelin.nsi.in)
configure_file(${TOVELIN_NSIS_SOURCE} ${CMAKE_BINARY_DIR}/tovelin.nsi @ONLY)

add_custom_command(OUTPUT ${TOVELIN_PROGRAM_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/setup-files
  COMMAND ${CMAKE_STRIP} --strip-debug -o ${TOVELIN_PROGRAM_FILE} $<TARGET_FILE:tovelin>
  DEPENDS tovelin $<TARGET_FILE:tovelin>
  COMMENT "Stripping the program for the setup" VERBATIM)
add_custom_command(OUTPUT ${TOVELIN_SETUP_FILE}
  COMMAND ${TOVELIN_MAKENSIS} -V2 -NOCD ${CMAKE_BINARY_DIR}/tovelin.nsi
  DEPENDS ${CMAKE_BINARY_DIR}/tovelin.nsi tovelin_help ${TOVELIN_PROGRAM_FILE} ${TOVELIN_HELP_FILE}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Making the setup program" VERBATIM)
add_custom_target(installer ALL DEPENDS ${TOVELIN_SETUP_FILE})
