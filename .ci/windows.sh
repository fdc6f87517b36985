#!/usr/bin/env bash
# The Windows build: cross-compile pictoswap.exe with MinGW-w64, then run the end-to-end tests of
# the native test binary against it under Wine, in a Russian environment (ANSI code page 1251, OEM
# code page 866), so the expected console bytes are those a Russian Windows console receives.
# Needs root on Debian 12 for the packages; runs without standard input.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

export DEBIAN_FRONTEND=noninteractive
need=()
for pkg in build-essential cmake libgtest-dev locales wine wine64 g++-mingw-w64-x86-64-posix \
  mingw-w64-x86-64-dev binutils-mingw-w64-x86-64; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" </dev/null
fi
if ! locale -a 2>/dev/null | grep -ix 'ru_RU\.utf-\?8' >/dev/null; then
  localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
echo "-- packages and locale: $((SECONDS - start)) s"

echo "-- cross build (build-win/pictoswap.exe)"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DPICTOSWAP_TESTS=OFF \
  -DPICTOSWAP_WERROR=ON >/dev/null
cmake --build build-win -j2
exe="$PWD/build-win/pictoswap.exe"
# Statically linked: only system DLLs may be imported.
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
echo "imports: $(echo $imports)"
if echo "$imports" | grep -qiv -E '^(kernel32|user32|msvcrt|advapi32)\.dll$'; then
  echo "pictoswap.exe needs a DLL that a bare Windows does not have" >&2
  exit 1
fi
echo "-- cross build done: $((SECONDS - start)) s"

# The native test binary of the main build (PICTOSWAP_NATIVE_BUILD, default build/), built here
# when this stage runs alone.
native=${PICTOSWAP_NATIVE_BUILD:-build}
tests=$native/tests/pictoswap_tests
if [ ! -x "$tests" ]; then
  cmake -S . -B "$native" -DPICTOSWAP_WERROR=ON >/dev/null
  cmake --build "$native" -j2
fi

# A fresh prefix, initialised once; one wine server kept up for the whole suite.
WINEPREFIX=$(mktemp -d /tmp/pictoswap-wine.XXXXXX)
export WINEPREFIX
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
wineboot -i </dev/null >/dev/null 2>&1
wineserver -w
wineserver -p
echo "-- wine prefix ready: $((SECONDS - start)) s"

# Every suite of the end-to-end test files, less those that run the tool in-process rather than
# the binary (their output is the native one whatever the build under test).
in_process="MalformedSweep"
suites=$(sed -n -E 's/^TEST(_F|_P)?\(\s*([A-Za-z0-9_]+)\s*,.*/\2/p' tests/e2e/*.cpp | sort -u |
  grep -vxF -f <(printf '%s\n' $in_process))
filter=$(printf '%s.*:' $suites)
filter=${filter%:}
echo "-- end-to-end tests under wine: $filter"
PICTOSWAP_TEST_WINDOWS=1 PICTOSWAP_TEST_RUNNER=wine PICTOSWAP_TEST_BINARY="$exe" \
  "$tests" --gtest_filter="$filter" --gtest_brief=1 </dev/null
echo "-- windows stage: $((SECONDS - start)) s"
