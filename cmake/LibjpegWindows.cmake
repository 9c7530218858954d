# libjpeg-turbo cross-built from Debian's source package, once per build tree.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
  set(_jpeg_arch i686)
else()
  set(_jpeg_arch x86_64)
endif()
set(TOVELIN_JPEG_PREFIX ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-${_jpeg_arch})
if(NOT EXISTS ${TOVELIN_JPEG_PREFIX}/lib/libjpeg.a)
  message(STATUS "Cross-building libjpeg-turbo for ${_jpeg_arch}")
  execute_process(
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-libjpeg-windows.sh ${_jpeg_arch} ${TOVELIN_JPEG_PREFIX}
    RESULT_VARIABLE _jpeg_result)
  if(NOT _jpeg_result EQUAL 0)
    message(FATAL_ERROR "libjpeg-turbo cross build failed")
  endif()
endif()
add_library(tovelin_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(tovelin_jpeg PROPERTIES
  IMPORTED_LOCATION ${TOVELIN_JPEG_PREFIX}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${TOVELIN_JPEG_PREFIX}/include)
