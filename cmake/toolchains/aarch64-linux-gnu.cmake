# Cross build for 64-bit Arm with Debian's cross compiler and the arm64 libraries installed
# beside the build machine's own (multiarch: dpkg --add-architecture arm64, then the :arm64
# -dev packages). scripts/test-arch.sh aarch64 installs them, builds and runs the tests.
#
#   cmake -S . -B build-aarch64 -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake
#
# Programs built for the target run through qemu-user: CTest's tests, the tests' discovery,
# and the programs the build itself runs (the faceplate artwork generator).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# The programs run with the multiarch dynamic loader and C library (libc6:arm64), as they would
# on an arm64 Debian. Not with "-L /usr/aarch64-linux-gnu": that pairs the cross toolchain's
# loader with the multiarch libc.so.6 of another release, and threads then hang.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64)

# Libraries and headers come from the multiarch folders of the build machine's root, programs
# (python3, the emulator) from the build machine.
set(ENV{PKG_CONFIG_LIBDIR}
    /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/pkgconfig:/usr/share/pkgconfig)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
