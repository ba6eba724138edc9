# PORDANE_FUZZ: libFuzzer harnesses of the parsers (tests/fuzz), built with clang.
# Every library is instrumented for the fuzzer's coverage and built with
# AddressSanitizer and UndefinedBehaviorSanitizer; only the harnesses link libFuzzer's
# own main. Undefined behaviour stops the process, so the fuzzer reports it as a crash.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "PORDANE_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()
set(_pordane_fuzz_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
add_compile_options(-fsanitize=fuzzer-no-link ${_pordane_fuzz_flags})
add_link_options(${_pordane_fuzz_flags})
