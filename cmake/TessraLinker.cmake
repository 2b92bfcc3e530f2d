# Links with lld when it is installed: each test is an executable of its own
# that links the whole static library with its debug information, and lld
# does that several times faster than the default linker. Off with
# -DTESSRA_LLD=OFF, or when the user names a linker (-fuse-ld=...) already.

option(TESSRA_LLD "Link with lld when it is installed" ON)

if(TESSRA_LLD AND NOT "${CMAKE_EXE_LINKER_FLAGS} ${CMAKE_SHARED_LINKER_FLAGS}" MATCHES "-fuse-ld=")
    include(CheckLinkerFlag)
    check_linker_flag(CXX -fuse-ld=lld TESSRA_HAVE_LLD)
    if(TESSRA_HAVE_LLD)
        add_link_options(-fuse-ld=lld)
    endif()
endif()
