# Shared build settings: warnings, sanitizers and test registration.

if(CORVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Warnings for our own targets only; third-party headers come in as system includes.
function(corvane_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion)
    if(CORVANE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# corvane_hot_path(<target>)
# The engine and the seats' play run for every simulated and coached hand, where
# the deeper unrolling and inlining of -O3 pay; the rest of the program keeps the
# build type's own level. With GCC their code is also optimised at link time, so
# that the small calls from file to file on every move (the draw, the legal
# cards, laying a card) are inlined. The flag is set by hand: CMake's own switch
# adds -fno-fat-lto-objects, which clang-tidy rejects.
function(corvane_hot_path target)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:-O3>)
    endif()
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:-flto=auto>)
    endif()
endfunction()

# corvane_add_gtest(NAME <exe> SOURCES <files...> LIBS <targets...> [LABEL <label>])
# Builds one GoogleTest executable and registers each of its cases with CTest.
function(corvane_add_gtest)
    cmake_parse_arguments(ARG "" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    corvane_warnings(${ARG_NAME})
    if(NOT ARG_LABEL)
        set(ARG_LABEL unit)
    endif()
    gtest_discover_tests(${ARG_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES LABELS ${ARG_LABEL})
endfunction()

# corvane_add_benchmark(NAME <exe> SOURCES <files...> LIBS <targets...>)
# Benchmarks are built with the project but never registered with CTest.
function(corvane_add_benchmark)
    if(NOT CORVANE_BENCHMARKS)
        return()
    endif()
    cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} benchmark::benchmark)
    corvane_warnings(${ARG_NAME})
endfunction()
