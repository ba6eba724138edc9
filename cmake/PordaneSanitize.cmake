# PORDANE_SANITIZE: every target of the tree built with AddressSanitizer and
# UndefinedBehaviorSanitizer. Undefined behaviour stops the process like an ASan
# fault does, so a test that meets it fails instead of printing a line nobody reads.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  message(FATAL_ERROR "PORDANE_SANITIZE needs GCC or Clang")
endif()
set(_pordane_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined
                            -fno-omit-frame-pointer)
add_compile_options(${_pordane_sanitize_flags})
add_link_options(${_pordane_sanitize_flags})

# The runtime options go into CTest's own environment when it reads the test list,
# so a plain `ctest` in this build folder runs every test with them.
set(PORDANE_LSAN_SUPPRESSIONS ${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp)
configure_file(${CMAKE_CURRENT_LIST_DIR}/sanitizer-env.cmake.in
               ${CMAKE_BINARY_DIR}/sanitizer-env.cmake @ONLY)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND
             PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/sanitizer-env.cmake)
