#!/usr/bin/env bash
# Checks the installed package from outside the source tree. Usage: scripts/check-install.sh [build-dir]
# The build directory (default build/) must be built already. The script installs it into a
# temporary prefix, checks what was installed, then builds examples/diet.cpp against that prefix
# twice, through find_package(tarq) and through pkg-config, and runs both programs, comparing their
# output with examples/expected/diet.txt. Prints one line per check; exits non-zero on the first
# failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
[[ -f "$build/CMakeCache.txt" ]] || { echo "check-install: $build is not a configured build" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tarq-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
passed=0

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; passed=$((passed + 1)); }
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

libdir="$prefix/$(cache CMAKE_INSTALL_LIBDIR)"
includedir="$prefix/$(cache CMAKE_INSTALL_INCLUDEDIR)"
bindir="$prefix/$(cache CMAKE_INSTALL_BINDIR)"
version=$(cache CMAKE_PROJECT_VERSION)
major=${version%%.*}
expected="$root/examples/expected/diet.txt"

cmake --install "$build" --prefix "$prefix" >"$work/install.log" \
  || { cat "$work/install.log" >&2; fail "cmake --install"; }

# --- What was installed.
for header in tarq/tarq.hpp tarq/exports.h tarq/model.h tarq/exception.h tarq.h tarq_params.def; do
  [[ -f "$includedir/$header" ]] || fail "header $header not installed"
done
for header in "$root"/include/tarq/*.h; do
  [[ -f "$includedir/tarq/$(basename "$header")" ]] || fail "header tarq/$(basename "$header") not installed"
done
for header in "$root"/solver/include/*.h; do
  [[ -f "$includedir/$(basename "$header")" ]] || fail "header $(basename "$header") not installed"
done
pass "headers"

for lib in tarq tarq_cpp; do
  [[ -L "$libdir/lib$lib.so" ]] || fail "lib$lib.so (development link) not installed"
  soname=$(readelf -d "$libdir/lib$lib.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [[ "$soname" == "lib$lib.so.$major" ]] || fail "lib$lib.so has SONAME '$soname', not lib$lib.so.$major"
  [[ -f "$libdir/lib$lib.so.$version" ]] || fail "lib$lib.so.$version not installed"
  if readelf -d "$libdir/lib$lib.so" | grep -E 'R(UN)?PATH' | grep -qF -e "$build" -e "$root"; then
    fail "lib$lib.so keeps a run path into the build or source tree"
  fi
done
pass "libtarq.so.$major and libtarq_cpp.so.$major with their SONAMEs"

# tarq-solve, when the build has it: installed, and it finds its libraries without help.
if grep -rq --include=cmake_install.cmake 'tarq-solve' "$build"; then
  [[ -x "$bindir/tarq-solve" ]] || fail "tarq-solve not installed"
  if env -u LD_LIBRARY_PATH ldd "$bindir/tarq-solve" | grep -q 'not found'; then
    fail "installed tarq-solve does not find its libraries: $(ldd "$bindir/tarq-solve" | grep 'not found')"
  fi
  pass "tarq-solve"
else
  echo "skip: the build has no tarq-solve"
fi

# Nothing of the build machine's trees, and no private dependency, in the package files.
package_files=("$libdir/cmake/tarq"/*.cmake "$libdir/pkgconfig/tarq.pc")
if grep -lF -e "$build" -e "$root" "${package_files[@]}"; then fail "package files name the build or source tree"; fi
if grep -liE 'coin|cbc|clp|ipopt|dsdp|zlib|threads' "${package_files[@]}"; then
  fail "package files name a private dependency"
fi
pass "package files carry no build paths and no private dependencies"

# --- A consumer through find_package: diet.cpp on tarq::tarq_cpp, and the C interface test of the
# solver library (which also reads tarq_params.def) on tarq::tarq alone, compiled as C.
mkdir -p "$work/cmake-consumer"
cp "$root/examples/diet.cpp" "$root/examples/example_support.h" "$root/tests/solver/c_api_test.c" "$work/cmake-consumer/"
cat >"$work/cmake-consumer/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(diet_consumer LANGUAGES C CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(tarq $major REQUIRED)
if(NOT tarq_VERSION STREQUAL "$version")
  message(FATAL_ERROR "found tarq \${tarq_VERSION}, installed $version")
endif()
add_executable(diet diet.cpp)
target_compile_options(diet PRIVATE -Wall -Wextra -Werror)
target_link_libraries(diet PRIVATE tarq::tarq_cpp)
add_executable(c_api c_api_test.c)
target_compile_options(c_api PRIVATE -Wall -Wextra -Werror)
target_link_libraries(c_api PRIVATE tarq::tarq)
EOF
cmake -S "$work/cmake-consumer" -B "$work/cmake-consumer/build" -DCMAKE_PREFIX_PATH="$prefix" \
  >"$work/consumer.log" 2>&1 || { cat "$work/consumer.log" >&2; fail "find_package(tarq $major)"; }
cmake --build "$work/cmake-consumer/build" >"$work/consumer.log" 2>&1 \
  || { cat "$work/consumer.log" >&2; fail "building diet.cpp with tarq::tarq_cpp and c_api_test.c with tarq::tarq"; }
# CMake gives the program a run path to the prefix: it runs without LD_LIBRARY_PATH.
env -u LD_LIBRARY_PATH "$work/cmake-consumer/build/diet" >"$work/diet-cmake.txt" \
  || fail "diet (CMake build) exited with $?"
diff -u "$expected" "$work/diet-cmake.txt" || fail "diet (CMake build) printed other text than $expected"
pass "find_package(tarq) + tarq::tarq_cpp: diet built and answered"
env -u LD_LIBRARY_PATH "$work/cmake-consumer/build/c_api" >"$work/c_api.log" 2>&1 \
  || { cat "$work/c_api.log" >&2; fail "C interface test on tarq::tarq"; }
pass "find_package(tarq) + tarq::tarq: the C interface test built as C and passed"

# A newer major version is refused.
mkdir -p "$work/newer"
cat >"$work/newer/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(newer NONE)
find_package(tarq $((major + 1)))
if(tarq_FOUND)
  message(FATAL_ERROR "tarq $version accepted for version $((major + 1))")
endif()
EOF
cmake -S "$work/newer" -B "$work/newer/build" -DCMAKE_PREFIX_PATH="$prefix" >"$work/newer.log" 2>&1 \
  || { cat "$work/newer.log" >&2; fail "version file"; }
pass "find_package(tarq $((major + 1))) refuses $version"

# --- A consumer through pkg-config.
export PKG_CONFIG_PATH="$libdir/pkgconfig"
pc_version=$(pkg-config --modversion tarq) || fail "pkg-config does not find tarq"
[[ "$pc_version" == "$version" ]] || fail "pkg-config --modversion tarq gives $pc_version, not $version"
read -r -a flags <<<"$(pkg-config --cflags --libs tarq)"
g++ -std=c++20 -Wall -Wextra -Werror "$root/examples/diet.cpp" "${flags[@]}" -o "$work/diet-pc" \
  || fail "g++ diet.cpp \$(pkg-config --cflags --libs tarq)"
LD_LIBRARY_PATH="$libdir" "$work/diet-pc" >"$work/diet-pc.txt" || fail "diet (pkg-config build) exited with $?"
diff -u "$expected" "$work/diet-pc.txt" || fail "diet (pkg-config build) printed other text than $expected"
pass "pkg-config tarq: diet built and answered"

echo "check-install: $passed passed, 0 failed"
