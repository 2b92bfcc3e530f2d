# Sanitizer and fuzzing configurations. Both stay off in the default build.
#
#   -DTESSRA_SANITIZE=address  AddressSanitizer, UndefinedBehaviorSanitizer and
#                              LeakSanitizer over the whole test suite
#   -DTESSRA_SANITIZE=thread   ThreadSanitizer, meant for the tests labelled
#                              "threads" (target tessra_thread_tests); they
#                              link sanitizers/tsanqtsync.cpp
#   -DTESSRA_FUZZ=ON           the libFuzzer targets in fuzz/ (clang only),
#                              with AddressSanitizer and UBSan
#
# Every target of the project is instrumented alike, so use a build directory
# of its own for each configuration.

set(TESSRA_SANITIZE "" CACHE STRING "Sanitizers over the build: empty, address or thread")
set_property(CACHE TESSRA_SANITIZE PROPERTY STRINGS "" address thread)
option(TESSRA_FUZZ "Build the libFuzzer targets (clang)" OFF)

set(TESSRA_SANITIZER_DIR ${CMAKE_CURRENT_LIST_DIR}/../sanitizers)
get_filename_component(TESSRA_SANITIZER_DIR ${TESSRA_SANITIZER_DIR} ABSOLUTE)

# Environment the tests run with in a sanitizer build (a list of NAME=value).
set(TESSRA_SANITIZER_ENVIRONMENT "")

# Undefined behaviour is a failure, not a warning, and stops at once.
# float-cast-overflow is part of "undefined" in clang but not in g++.
set(TESSRA_UBSAN_FLAGS -fsanitize=undefined -fsanitize=float-cast-overflow -fno-sanitize-recover=all)
set(TESSRA_UBSAN_OPTIONS "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

if(TESSRA_FUZZ AND TESSRA_SANITIZE)
    message(FATAL_ERROR "TESSRA_FUZZ brings its own sanitizers; leave TESSRA_SANITIZE empty")
endif()

if(TESSRA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TESSRA_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++-14)")
    endif()
    # fuzzer-no-link gives every object the coverage feedback libFuzzer
    # steers by; only the fuzz executables link libFuzzer itself.
    add_compile_options(-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer ${TESSRA_UBSAN_FLAGS})
    add_link_options(-fsanitize=address ${TESSRA_UBSAN_FLAGS})
elseif(TESSRA_SANITIZE STREQUAL "address")
    # LeakSanitizer comes with AddressSanitizer on Linux.
    add_compile_options(-fsanitize=address -fno-omit-frame-pointer ${TESSRA_UBSAN_FLAGS})
    add_link_options(-fsanitize=address ${TESSRA_UBSAN_FLAGS})
    # Each allocation's stack is taken by the fast unwinder, which stops at
    # the first frame of the uninstrumented Qt: the slow one, which sees
    # through them, made the tests four times slower (ten minutes instead of
    # forty on two cores). The program's own frames keep their frame
    # pointers, so a leak of the program is still reported where it
    # allocated; lsan.supp names the Qt frames that allocate for Qt itself.
    # In a real X server the xcb plugin would load Mesa's GL driver, whose
    # LLVM brings in z3, which allocates a buffer once and never frees it.
    # The program draws nothing with GL, so the tests go without the GL
    # integration rather than suppress a library they never call.
    set(TESSRA_SANITIZER_ENVIRONMENT
        "QT_XCB_GL_INTEGRATION=none"
        "ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=1:malloc_context_size=12:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
        "LSAN_OPTIONS=suppressions=${TESSRA_SANITIZER_DIR}/lsan.supp:print_suppressions=0"
        "${TESSRA_UBSAN_OPTIONS}")
elseif(TESSRA_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
    # Qt's and glib's intercepted calls stay checked; tsan.supp names the few
    # places where ThreadSanitizer cannot see the ordering they rely on.
    set(TESSRA_SANITIZER_ENVIRONMENT
        "TSAN_OPTIONS=suppressions=${TESSRA_SANITIZER_DIR}/tsan.supp:halt_on_error=1:second_deadlock_stack=1:print_suppressions=0")
elseif(NOT TESSRA_SANITIZE STREQUAL "")
    message(FATAL_ERROR "TESSRA_SANITIZE must be empty, address or thread, not '${TESSRA_SANITIZE}'")
endif()
