# Helpers shared by every folder: one library target per folder, one test executable per area.

function(lumora_global_flags)
  add_compile_options(-Wall -Wextra -Wpedantic -Wnon-virtual-dtor $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>)
  if(LUMORA_WERROR)
    add_compile_options(-Werror)
  endif()
  if(LUMORA_FUZZ)
    # The libraries carry coverage for libFuzzer; each fuzzer links the fuzzer's main itself.
    add_compile_options(-g1 -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  elseif(LUMORA_SANITIZE)
    # Line tables only: a sanitizer build is for finding faults, its reports still name every file and
    # line, and it compiles a fifth faster than with full debug information. The test executables are
    # compiled at -O1 on top (see lumora_test).
    add_compile_options(-g1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endfunction()

# lumora_library(NAME SOURCES a.cpp ... [PUBLIC_LINKS ...] [PRIVATE_LINKS ...])
# The library's headers are included as "folder/header.h" from the repository root.
function(lumora_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LINKS;PRIVATE_LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_PUBLIC_LINKS)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LINKS})
  endif()
  if(ARG_PRIVATE_LINKS)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_LINKS})
  endif()
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
endfunction()

# lumora_test(NAME SOURCES a.cpp ... LINKS ... [GUI] [LABELS ...] [ENVIRONMENT ...])
# One GoogleTest executable registered as one ctest test. GUI tests run on Qt's offscreen platform.
function(lumora_test name)
  cmake_parse_arguments(ARG "GUI" "TIMEOUT" "SOURCES;LINKS;LABELS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  set_target_properties(${name} PROPERTIES AUTOMOC ON RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # Under the sanitizers the tests compile at -O1: their long bodies of assertions then take about 40 %
  # less compile time, most of CI's build, while the code they test keeps -O2. GCC 12 warns falsely
  # (-Wstringop-overflow) on std::vector::resize to a smaller size at -O1; the tests shrink with erase.
  if(LUMORA_SANITIZE)
    target_compile_options(${name} PRIVATE -O1)
  endif()
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(env "LUMORA_PROGRAM_FOLDER=${LUMORA_PROGRAM_FOLDER}" "LUMORA_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
          "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1" "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  if(ARG_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  list(APPEND env ${ARG_ENVIRONMENT})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
  if(ARG_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  endif()
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# lumora_fuzzer(NAME SOURCES ... LINKS ...): a libFuzzer target, built only in the clang fuzz build.
function(lumora_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_LINKS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()

# lumora_benchmark(NAME SOURCES ... LINKS ...): a benchmark executable in build/bench, where
# scripts/run-benchmarks.sh (make bench) finds it. It knows the sample program folder's path.
function(lumora_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE LUMORA_DEFAULT_PROGRAM_FOLDER="${LUMORA_PROGRAM_FOLDER}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
