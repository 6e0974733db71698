# Compiler flags shared by every target of the project, in one INTERFACE target.
add_library(yelian_options INTERFACE)
target_compile_features(yelian_options INTERFACE cxx_std_20)
target_compile_options(yelian_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)
if(YELIAN_WERROR)
    target_compile_options(yelian_options INTERFACE -Werror)
endif()
if(YELIAN_SANITIZE)
    target_compile_options(yelian_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(yelian_options INTERFACE -fsanitize=address,undefined)
endif()
# The fuzz build: every library carries libFuzzer's coverage hooks and the sanitizers, so that
# the fuzzers (fuzz/) see into the code they call.
if(YELIAN_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "YELIAN_FUZZ needs clang (CC=clang-14 CXX=clang++-14)")
    endif()
    target_compile_options(yelian_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
        -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(yelian_options INTERFACE -fsanitize=address,undefined)
endif()
