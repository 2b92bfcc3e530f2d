# Compiles through ccache when it is installed, so that a fresh clone on a
# machine that built Tessra before compiles only what changed. A launcher
# given by the user (-DCMAKE_CXX_COMPILER_LAUNCHER=... or the environment
# variable of that name) is left as it is; -DTESSRA_CCACHE=OFF goes without.
#
# The settings the build relies on travel with the launcher rather than
# living in a ccache.conf that a fresh machine lacks:
#   CCACHE_BASEDIR     paths below the directory holding the sources and the
#                      build are hashed relative, so another clone of the
#                      same layout hits the same entries
#   CCACHE_NOHASHDIR   the compiler's working directory stays out of the hash
#                      of objects with debug information (their DW_AT_comp_dir
#                      may then name the clone that filled the cache)
#   CCACHE_SLOPPINESS  what precompiled headers need: the cache cannot see
#                      macros or __DATE__/__TIME__ through a .gch, and the
#                      .gch is always newer than the compilations that use it

option(TESSRA_CCACHE "Compile through ccache when it is installed" ON)

if(TESSRA_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER AND NOT DEFINED ENV{CMAKE_CXX_COMPILER_LAUNCHER})
    find_program(TESSRA_CCACHE_PROGRAM ccache)
    find_program(TESSRA_ENV_PROGRAM env)
    mark_as_advanced(TESSRA_CCACHE_PROGRAM TESSRA_ENV_PROGRAM)
    if(TESSRA_CCACHE_PROGRAM AND TESSRA_ENV_PROGRAM)
        # The deepest directory that holds both the sources and the build.
        set(base ${CMAKE_SOURCE_DIR})
        while(NOT base STREQUAL "/")
            file(RELATIVE_PATH below ${base} ${CMAKE_BINARY_DIR})
            if(NOT below MATCHES "^\\.\\.(/|$)")
                break()
            endif()
            get_filename_component(base ${base} DIRECTORY)
        endwhile()
        set(settings CCACHE_NOHASHDIR=1 CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime)
        # Relative to "/" would rewrite the paths of the system's headers too.
        if(NOT base STREQUAL "/")
            list(PREPEND settings CCACHE_BASEDIR=${base})
        endif()
        set(CMAKE_CXX_COMPILER_LAUNCHER ${TESSRA_ENV_PROGRAM} ${settings} ${TESSRA_CCACHE_PROGRAM})
        message(STATUS "Compiling through ccache (${TESSRA_CCACHE_PROGRAM})")
    endif()
endif()
