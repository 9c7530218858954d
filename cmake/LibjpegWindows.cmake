# libjpeg-turbo cross-built from Debian's source package, once per build tree.
include(${CMAKE_CURRENT_LIST_DIR}/PrebuiltLibjpeg.cmake)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
  set(_jpeg_arch i686)
else()
  set(_jpeg_arch x86_64)
endif()
set(_jpeg_prefix ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-${_jpeg_arch})
tovelin_prebuilt_libjpeg(tovelin_jpeg ${_jpeg_prefix}
  ${CMAKE_SOURCE_DIR}/scripts/build-libjpeg-windows.sh ${_jpeg_arch} ${_jpeg_prefix})
