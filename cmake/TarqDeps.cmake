# Third-party libraries, all from Debian packages (scripts/install-deps.sh installs them).
find_package(PkgConfig REQUIRED)
pkg_check_modules(COIN_CBC REQUIRED IMPORTED_TARGET cbc)
pkg_check_modules(COIN_CLP REQUIRED IMPORTED_TARGET clp)
pkg_check_modules(COIN_UTILS REQUIRED IMPORTED_TARGET coinutils)
pkg_check_modules(IPOPT REQUIRED IMPORTED_TARGET ipopt)
pkg_check_modules(BONMIN REQUIRED IMPORTED_TARGET bonmin)
find_package(ZLIB REQUIRED)
find_package(Threads REQUIRED)

find_path(DSDP_INCLUDE_DIR dsdp5.h PATH_SUFFIXES dsdp REQUIRED)
find_library(DSDP_LIBRARY dsdp REQUIRED)

# DSDP ships no version macro; the Debian package version stands in for it.
execute_process(COMMAND dpkg-query -W -f=\${Version} libdsdp-dev
                OUTPUT_VARIABLE TARQ_DSDP_VERSION ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX REPLACE "^([0-9.]+).*" "\\1" TARQ_DSDP_VERSION "${TARQ_DSDP_VERSION}")
if(NOT TARQ_DSDP_VERSION)
  set(TARQ_DSDP_VERSION "5")
endif()

if(TARQ_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()
