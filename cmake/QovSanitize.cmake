# QOV_SANITIZE=address: AddressSanitizer with UndefinedBehaviorSanitizer, every
# finding fatal. QOV_SANITIZE=thread: ThreadSanitizer. Either way every target
# is built with it, and the test programs run through tests/sanitize/run,
# which sets the options and judges the reports (see suppressions.txt there).
# QOV_SANITIZE=fuzz (clang only): the same as address, with libFuzzer's
# coverage, for the fuzz targets of tests/fuzz (scripts/fuzz.sh).
#
# -O1 -g1: line tables are all a report needs, and full debug info and -O2
# would double a build that CI pays for on every submission.
set(QOV_SANITIZE "" CACHE STRING "Build with sanitizers: address (with undefined) or thread")
set_property(CACHE QOV_SANITIZE PROPERTY STRINGS "" address thread fuzz)

if(QOV_SANITIZE STREQUAL "address")
  # GCC's "undefined" leaves out float-cast-overflow.
  set(QOV_SANITIZER_FLAGS
    -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all)
elseif(QOV_SANITIZE STREQUAL "thread")
  set(QOV_SANITIZER_FLAGS -fsanitize=thread)
  # For code that must not start threads the sanitizer cannot follow.
  add_compile_definitions(QOV_THREAD_SANITIZER)
elseif(QOV_SANITIZE STREQUAL "fuzz")
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QOV_SANITIZE=fuzz needs clang (libFuzzer): configure with CXX=clang++")
  endif()
  set(QOV_SANITIZER_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
elseif(QOV_SANITIZE)
  message(FATAL_ERROR "QOV_SANITIZE is address, thread or fuzz, not \"${QOV_SANITIZE}\"")
endif()

if(QOV_SANITIZE)
  add_compile_options(${QOV_SANITIZER_FLAGS} -fno-omit-frame-pointer -O1 -g1)
  add_link_options(${QOV_SANITIZER_FLAGS})
  set(QOV_TEST_LAUNCHER ${CMAKE_SOURCE_DIR}/tests/sanitize/run)
endif()
