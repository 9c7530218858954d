# Options that belong to the project's own targets only, never to the third-party code built
# beside them (googletest for Windows).
function(tovelin_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(TOVELIN_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=${TOVELIN_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=${TOVELIN_SANITIZE})
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  endif()
endfunction()
