# The headers nearly every source includes, precompiled once per build
# directory: tessra_core compiles them and the project's other targets reuse
# its precompiled header; the tests reuse tessra_testsupport's, which adds
# the test library. Reuse works because these targets build with the same
# flags and definitions (warnings and the tests' few definitions of their
# own do not matter to it; sanitizer flags are the same for a whole build).
# -DTESSRA_PCH=OFF builds without, which shows a source that compiles only
# because the precompiled header brought in what it forgot to include.
#
# The list is short on purpose. g++ loads a precompiled header whole, at a
# cost that grows with its size (a few tenths of a second per 100 MB), so
# headers only some sources use cost the others more than they save:
# QCustomPlot's header, which brings in all of QtWidgets and QtPrintSupport,
# made the library's build half as slow again. Only system headers belong
# here: a header of the project's own would recompile everything whenever
# it changed.

option(TESSRA_PCH "Precompile the headers nearly every source includes" ON)

set(TESSRA_PCH_HEADERS
    <QDateTime> <QHash> <QList> <QMap> <QObject> <QSharedPointer> <QString> <QVariant>
    <algorithm> <functional> <memory> <vector>)

# clang stamps a precompiled header with the time it was made, which a
# compiler cache would take for a changed input of every source that uses it.
if(TESSRA_PCH AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options("SHELL:-Xclang -fno-pch-timestamp")
endif()

# tessra_precompile_headers(TARGET [HEADER...]): the list above and the
# headers given, precompiled for TARGET.
function(tessra_precompile_headers target)
    if(TESSRA_PCH)
        target_precompile_headers(${target} PRIVATE ${TESSRA_PCH_HEADERS} ${ARGN})
    endif()
endfunction()

# tessra_reuse_precompiled_headers(TARGET [FROM]): TARGET uses the header
# precompiled for FROM (tessra_core unless named), which it must link.
function(tessra_reuse_precompiled_headers target)
    set(from tessra_core)
    if(ARGC GREATER 1)
        set(from ${ARGV1})
    endif()
    if(TESSRA_PCH)
        target_precompile_headers(${target} REUSE_FROM ${from})
    endif()
endfunction()
