enable_language(RC)
# The Windows program: one self-contained .exe that needs only the DLLs that
# every Windows has. The C++ and GCC runtimes and the thread library are
# linked in, so nothing of mingw-w64 has to travel with it.
add_link_options(-static)
# A GUI program (no console), with ASLR anywhere in the 64-bit address space
# and DEP, as Windows expects of a program today. No time stamp in the
# header, and no symbols: a build is the same bytes wherever it is made.
add_link_options(-mwindows LINKER:--dynamicbase LINKER:--high-entropy-va LINKER:--nxcompat
  LINKER:--no-insert-timestamp -s)
# The stack protector and the fortified functions come from GCC's libssp,
# which the link then takes in.
add_compile_options(-fstack-protector-strong)
add_link_options(-fstack-protector-strong)
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
# mingw-w64's GCC 12 warns of overlapping copies in libstdc++'s own string
# assignments, falsely (GCC bug 105329).
add_compile_options(-Wno-restrict)
# Wide-character Windows API, and nothing of it that the program does not use.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)

# Tests and tools run under Wine, in a prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${PROJECT_BINARY_DIR}/wine ${PROJECT_SOURCE_DIR}/tools/wine-run)
