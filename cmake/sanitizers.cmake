# Sanitizers and fuzzing for the whole build, so that every library a test
# or a fuzzer reaches is checked and (for the fuzzers) measured for coverage.
#   TAV_SANITIZE:      AddressSanitizer and UndefinedBehaviorSanitizer, every
#                      report fatal, float-to-integer overflow included.
#   TAV_BUILD_FUZZERS: the libFuzzer targets of tools/fuzz (clang only).
if(TAV_SANITIZE OR TAV_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang|GNU")
        message(FATAL_ERROR "TAV_SANITIZE and TAV_BUILD_FUZZERS need clang or GCC, not ${CMAKE_CXX_COMPILER_ID}")
    endif()
    set(tav_sanitizers address,undefined,float-cast-overflow)
    add_compile_options(-fsanitize=${tav_sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${tav_sanitizers} -fno-sanitize-recover=all)
endif()

if(TAV_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TAV_BUILD_FUZZERS needs clang (libFuzzer), not ${CMAKE_CXX_COMPILER_ID}: configure with CXX=clang++-14")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
