# libjpeg-turbo built with the fuzzing instrumentation, once per build tree.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz targets need clang: configure with CC=clang CXX=clang++")
endif()
set(TOVELIN_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
include(${CMAKE_CURRENT_LIST_DIR}/PrebuiltLibjpeg.cmake)
set(_jpeg_prefix ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-fuzz)
tovelin_prebuilt_libjpeg(tovelin_fuzz_jpeg ${_jpeg_prefix}
  ${CMAKE_SOURCE_DIR}/scripts/build-libjpeg-fuzz.sh ${_jpeg_prefix} ${CMAKE_C_COMPILER})
