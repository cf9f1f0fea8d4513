# Cross builds on Debian with the multiarch packages of the target:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/debian-cross.cmake -DQUAVRIX_CROSS=arm64 ...   (or armhf)
# The compilers are Debian's cross toolchain, the libraries the target's (in
# /usr/lib/<triplet>), Qt's code generators the host's; programs built for the target run
# under qemu user emulation (tests, and the picture renderer at build time).
if(NOT QUAVRIX_CROSS)
    set(QUAVRIX_CROSS "$ENV{QUAVRIX_CROSS}")
endif()
# The compiler checks run in projects of their own: they find the choice here.
set(ENV{QUAVRIX_CROSS} "${QUAVRIX_CROSS}")
if(QUAVRIX_CROSS STREQUAL "arm64")
    set(triplet aarch64-linux-gnu)
    set(CMAKE_SYSTEM_PROCESSOR aarch64)
    set(qemu qemu-aarch64-static)
elseif(QUAVRIX_CROSS STREQUAL "armhf")
    set(triplet arm-linux-gnueabihf)
    set(CMAKE_SYSTEM_PROCESSOR armv7l)
    set(qemu qemu-arm-static)
else()
    message(FATAL_ERROR "QUAVRIX_CROSS must be arm64 or armhf")
endif()
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${triplet})
# Target libraries and packages only; programs (moc, rcc, pkg-config) from the host.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(CMAKE_PREFIX_PATH /usr/lib/${triplet}/cmake)
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${triplet}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
# -L /: the target's loader and libraries are where multiarch put them.
set(CMAKE_CROSSCOMPILING_EMULATOR ${qemu};-L;/)
