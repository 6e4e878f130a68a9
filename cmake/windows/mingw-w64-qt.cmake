# The full Windows build: mingw-w64 (mingw-w64.cmake) plus the Qt and C libraries that
# scripts/build-windows cross-builds into one prefix. The prefix comes from
# -DOHMLET_WINDOWS_PREFIX=... or the environment variable of the same name.
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")

if(NOT OHMLET_WINDOWS_PREFIX AND DEFINED ENV{OHMLET_WINDOWS_PREFIX})
  set(OHMLET_WINDOWS_PREFIX "$ENV{OHMLET_WINDOWS_PREFIX}")
endif()
if(OHMLET_WINDOWS_PREFIX)
  # First, so our zlib wins over a DLL-only zlib some mingw-w64 packages drop in the sysroot.
  list(PREPEND CMAKE_FIND_ROOT_PATH "${OHMLET_WINDOWS_PREFIX}")
  # try_compile projects read the toolchain again without the cache.
  set(ENV{OHMLET_WINDOWS_PREFIX} "${OHMLET_WINDOWS_PREFIX}")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OHMLET_WINDOWS_PREFIX)

# moc, rcc and uic run on the build machine: Debian's Qt of the same version.
set(QT_HOST_PATH "/usr" CACHE PATH "Host Qt for the code generators")
set(QT_HOST_PATH_CMAKE_DIR "/usr/lib/x86_64-linux-gnu/cmake" CACHE PATH "Host Qt's CMake packages")

# pkg-config sees only the prefix, and hands out static link lines: the C libraries there
# are static, so their private dependencies (zlib, Win32 libraries) must be linked too.
if(OHMLET_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${OHMLET_WINDOWS_PREFIX}/lib/pkgconfig:${OHMLET_WINDOWS_PREFIX}/share/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()
set(PKG_CONFIG_ARGN --static CACHE STRING "Arguments for pkg-config")
