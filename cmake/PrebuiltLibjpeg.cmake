# A static libjpeg-turbo built by one of the project's scripts, once per build tree.
# tovelin_prebuilt_libjpeg(TARGET PREFIX COMMAND...) runs COMMAND when PREFIX/lib/libjpeg.a is
# missing and makes TARGET an imported library of it.
function(tovelin_prebuilt_libjpeg target prefix)
  if(NOT EXISTS ${prefix}/lib/libjpeg.a)
    message(STATUS "Building libjpeg-turbo into ${prefix}")
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "Building libjpeg-turbo into ${prefix} failed")
    endif()
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${prefix}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${prefix}/include)
endfunction()
