# Cross-compiles for macOS 13 with Zig's own macOS headers and libc++, no Apple SDK: the check that
# the core, the command line and their tests build for a Mac. scripts/macos-check sets it up:
#   SENTRAVEX_ZIG         the zig program
#   SENTRAVEX_MACOS_ARCH  aarch64 or x86_64
#   SENTRAVEX_MACOS_DEPS  a folder with the third-party headers and library stubs for macOS
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR ${SENTRAVEX_MACOS_ARCH})
set(CMAKE_SYSTEM_VERSION 22) # macOS 13

# Zig takes the tool as its first word: small launchers give CMake one program per tool. They drop
# the -Wl,-v of CMake's compiler probe, which zig's linker refuses (the probe tells the pointer size).
set(launchers ${CMAKE_CURRENT_BINARY_DIR}/zig-launchers)
foreach(tool cc c++ ar ranlib)
    set(target_flag "")
    if(tool STREQUAL "cc" OR tool STREQUAL "c++")
        set(target_flag "-target ${SENTRAVEX_MACOS_ARCH}-macos.13.0")
    endif()
    file(WRITE ${launchers}/${tool}
         "#!/bin/sh\nfor a; do shift; [ \"$a\" = -Wl,-v ] || set -- \"$@\" \"$a\"; done\n"
         "exec \"${SENTRAVEX_ZIG}\" ${tool} ${target_flag} \"$@\"\n")
    file(CHMOD ${launchers}/${tool} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endforeach()
set(CMAKE_C_COMPILER ${launchers}/cc)
set(CMAKE_CXX_COMPILER ${launchers}/c++)
set(CMAKE_AR ${launchers}/ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${launchers}/ranlib CACHE FILEPATH "")
# CMake asks for it on macOS; nothing built here is installed, so nothing ever runs it.
file(WRITE ${launchers}/install_name_tool "#!/bin/sh\necho 'not for this check' >&2\nexit 1\n")
file(CHMOD ${launchers}/install_name_tool PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(CMAKE_INSTALL_NAME_TOOL ${launchers}/install_name_tool CACHE FILEPATH "")

# Third-party headers and libraries come from the prepared folder only, never from this host.
set(CMAKE_FIND_ROOT_PATH ${SENTRAVEX_MACOS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
