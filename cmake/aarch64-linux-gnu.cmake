# Builds for 64-bit ARM Linux with Debian's cross compilers
# (g++-aarch64-linux-gnu), and runs what it builds under qemu-user.
#
# Debian's cross compilers search the target's own headers and libraries
# (/usr/aarch64-linux-gnu, /usr/lib/aarch64-linux-gnu) and then
# /usr/include, which holds only headers that fit every architecture, such as
# CLI11's. So packages are found where they are installed, with no sysroot.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# The programs run on the cross build's C and C++ libraries. The C library
# looks for its character set converters (iconv's code pages) in
# /usr/lib/aarch64-linux-gnu/gconv, which qemu finds on the host when it is
# not under the prefix; Debian's libc6:arm64 puts them there.
find_program(ZEMBRAX_QEMU NAMES qemu-aarch64 qemu-aarch64-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZEMBRAX_QEMU} -L /usr/aarch64-linux-gnu)
# qemu-user 7.2 hangs such a program as it starts a second thread, so the
# test preset keeps the analysis to one (ZEMBRAX_THREADS=1). Linked
# statically it would not hang, but then the C library could not load its
# character set converters.
