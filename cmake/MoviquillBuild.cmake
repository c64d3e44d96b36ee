# Build-wide settings and the helpers every folder uses to declare its tests.
enable_testing()
# zlib is linked statically: the deliverables must not need a zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

option(MVQ_SANITIZE "Build native code with AddressSanitizer and UBSan" ON)
option(MVQ_FUZZ "Build the libFuzzer targets (clang, native only)" OFF)

if(WIN32)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(MVQ_TEST_OUTPUT_DIR "Z:${CMAKE_BINARY_DIR}/test-results/")
  set(MVQ_TEST_SOURCE_DIR "Z:${CMAKE_SOURCE_DIR}")
else()
  add_compile_options(-Wall -Wextra -Wno-unused-parameter)
  if(MVQ_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g -O1)
    add_link_options(-fsanitize=address,undefined)
  elseif(MVQ_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=address,undefined)
  endif()
  set(MVQ_TEST_OUTPUT_DIR "${CMAKE_BINARY_DIR}/test-results/")
  set(MVQ_TEST_SOURCE_DIR "${CMAKE_SOURCE_DIR}")
endif()

if(NOT MVQ_FUZZ)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# mvq_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One test executable is one CTest test (one process, as Wine start-up is slow).
# Each writes its GoogleTest XML report, which ./moviquill test sums up.
# Tests find the project (and ../shared/corpus beside it) through MVQ_SOURCE_DIR.
function(mvq_add_gtest name)
  if(MVQ_FUZZ)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "GTEST_OUTPUT=xml:${MVQ_TEST_OUTPUT_DIR};MVQ_SOURCE_DIR=${MVQ_TEST_SOURCE_DIR};MVQ_TRACE_NOTIMPL=1"
    TIMEOUT 600)
endfunction()

# mvq_records_sound(TEST...): tests that record what they play through the sound
# loopback. A VM's audio path now and then underruns for 20-60 ms, which stretches
# a recording; ./moviquill test runs these again when they fail (tools/lib/test.sh).
# Call it where the tests are added.
function(mvq_records_sound)
  foreach(test ${ARGN})
    if(TEST ${test})
      set_property(TEST ${test} APPEND PROPERTY LABELS loopback)
    endif()
  endforeach()
endfunction()

# mvq_add_fuzzer(NAME SOURCES a.cpp LIBS lib1): only in the fuzz build.
function(mvq_add_fuzzer name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(MVQ_FUZZ)
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endif()
endfunction()

# mvq_add_bench(NAME SOURCES a.cpp LIBS lib1): executable bench-NAME, built only in the
# benchmark build (native, -DMVQ_BENCH=ON, see tools/lib/bench.sh); target "benches"
# builds them all.
option(MVQ_BENCH "Build the benchmark programs (native only)" OFF)
function(mvq_add_bench name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(MVQ_BENCH AND NOT WIN32)
    add_executable(bench-${name} ${T_SOURCES})
    target_link_libraries(bench-${name} PRIVATE ${T_LIBS})
    if(NOT TARGET benches)
      add_custom_target(benches)
    endif()
    add_dependencies(benches bench-${name})
  endif()
endfunction()

# mvq_add_wine_bench(NAME SOURCES a.cpp LIBS lib1): a benchmark that needs the Windows
# platform (the control, GDI, COM). Executable bench-NAME.exe, built only in the
# Windows benchmark build (build/bench-win: MinGW, -DMVQ_BENCH=ON, Release) and run
# under Wine by ./moviquill bench (see tools/lib/bench.sh); target "wine-benches".
function(mvq_add_wine_bench name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(MVQ_BENCH AND WIN32)
    add_executable(bench-${name} ${T_SOURCES})
    target_link_libraries(bench-${name} PRIVATE ${T_LIBS})
    if(NOT TARGET wine-benches)
      add_custom_target(wine-benches)
    endif()
    add_dependencies(wine-benches bench-${name})
  endif()
endfunction()

# mvq_com_in_c_form(TARGET PUBLIC|PRIVATE): COM called in its C form (explicit
# vtables and the Interface_Method macros), the same for every target that does.
function(mvq_com_in_c_form target scope)
  target_compile_definitions(${target} ${scope} CINTERFACE COBJMACROS)
endfunction()

# mvq_com_objects(TARGET): the target also defines COM objects of its own; their
# vtables are read-only. Private only: MinGW's vfw.h does not compile with
# CONST_VTABLE, so it must not reach what includes the AVI headers.
function(mvq_com_objects target)
  mvq_com_in_c_form(${target} PRIVATE)
  target_compile_definitions(${target} PRIVATE CONST_VTABLE)
endfunction()
