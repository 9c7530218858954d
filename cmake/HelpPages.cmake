# The help pages of docs/help, put where the Help menu looks for them: compiled into help.chm
# beside tovelin.exe on Windows, copied into a "help" folder beside the program on Linux.
# Included from src/ once the tovelin target exists.
set(TOVELIN_HELP_SOURCE_DIR ${PROJECT_SOURCE_DIR}/docs/help)
file(GLOB TOVELIN_HELP_PAGES CONFIGURE_DEPENDS
  ${TOVELIN_HELP_SOURCE_DIR}/*.htm ${TOVELIN_HELP_SOURCE_DIR}/*.css)

get_target_property(TOVELIN_PROGRAM_DIR tovelin RUNTIME_OUTPUT_DIRECTORY)
if(NOT TOVELIN_PROGRAM_DIR)
  set(TOVELIN_PROGRAM_DIR ${CMAKE_CURRENT_BINARY_DIR})
endif()

if(WIN32)
  find_program(TOVELIN_CHMCMD chmcmd)
  if(NOT TOVELIN_CHMCMD)
    message(FATAL_ERROR "chmcmd, the compiler of the Windows help file, was not found: install "
      "the Debian package fp-utils (scripts/install-deps.sh does), or set TOVELIN_CHMCMD to it")
  endif()
  # chmcmd writes the compiled file into its working folder.
  add_custom_command(OUTPUT ${TOVELIN_PROGRAM_DIR}/help.chm
    COMMAND ${TOVELIN_CHMCMD} --verbosity 1 ${TOVELIN_HELP_SOURCE_DIR}/help.hhp
    WORKING_DIRECTORY ${TOVELIN_PROGRAM_DIR}
    DEPENDS ${TOVELIN_HELP_PAGES} ${TOVELIN_HELP_SOURCE_DIR}/help.hhp
      ${TOVELIN_HELP_SOURCE_DIR}/help.hhc ${TOVELIN_HELP_SOURCE_DIR}/help.hhk
    COMMENT "Compiling the help file" VERBATIM)
  add_custom_target(tovelin_help ALL DEPENDS ${TOVELIN_PROGRAM_DIR}/help.chm)
  install(TARGETS tovelin RUNTIME DESTINATION .)
  install(FILES ${TOVELIN_PROGRAM_DIR}/help.chm DESTINATION .)
else()
  set(TOVELIN_HELP_COPIES "")
  foreach(page ${TOVELIN_HELP_PAGES})
    get_filename_component(name ${page} NAME)
    add_custom_command(OUTPUT ${TOVELIN_PROGRAM_DIR}/help/${name}
      COMMAND ${CMAKE_COMMAND} -E copy ${page} ${TOVELIN_PROGRAM_DIR}/help/${name}
      DEPENDS ${page} VERBATIM)
    list(APPEND TOVELIN_HELP_COPIES ${TOVELIN_PROGRAM_DIR}/help/${name})
  endforeach()
  add_custom_target(tovelin_help ALL DEPENDS ${TOVELIN_HELP_COPIES})
  # Installed, the program finds its pages in the data folder of its prefix.
  install(TARGETS tovelin RUNTIME DESTINATION bin)
  install(FILES ${TOVELIN_HELP_PAGES} DESTINATION share/tovelin/help)
endif()
