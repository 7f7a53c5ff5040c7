# shellcheck shell=bash
# Sourced by the scripts in tools/: where things are, Wine's environment, the
# cross build and a private display, in one place.
#   VELTRANE_BUILD  the cross build folder (default build/win32)

veltrane_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
veltrane_build=$(realpath -m "${VELTRANE_BUILD:-$veltrane_root/build/win32}")
veltrane_exe=$veltrane_build/resources/veltrane.exe
veltrane_harness=$veltrane_build/tools/e2e_harness/veltrane_e2e.exe

# Every prefix here is the tools' own; making one must never stop to offer
# Mono or Gecko.
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

# Configures the cross build folder if it is not yet; a plain configure gives a
# Release build. With a build type, a folder configured otherwise is switched.
configure_cross() {
  local type=${1:-}
  if [ -f "$veltrane_build/build.ninja" ]; then
    [ -z "$type" ] && return 0
    grep -qx "CMAKE_BUILD_TYPE:STRING=$type" "$veltrane_build/CMakeCache.txt" && return 0
  fi
  cmake -S "$veltrane_root" -B "$veltrane_build" -G Ninja ${type:+-DCMAKE_BUILD_TYPE=$type} \
    -DCMAKE_TOOLCHAIN_FILE="$veltrane_root/cmake/mingw-i686.cmake" >/dev/null
}

# Configures if needed and builds TARGETS (all by default), the output into
# LOG; on failure shows its end.
build_cross() {
  local log=$1; shift
  mkdir -p "$(dirname "$log")"
  if configure_cross >"$log" 2>&1 && ninja -C "$veltrane_build" "$@" >>"$log" 2>&1; then return 0; fi
  tail -n 30 "$log" >&2
  return 1
}

# A unix path as Wine's Z: drive shows it.
windows_path() { echo "Z:${1//\//\\}"; }

# Starts a private Xvfb and exports DISPLAY; stop_xvfb ends it. Xvfb hands its
# display number through a file in DIR once it takes clients, which on a busy
# machine can take seconds.
xvfb_pid=
start_xvfb() {
  local dir=$1 screen=${2:-1280x1024x24} tenths=0
  mkdir -p "$dir"
  rm -f "$dir/display"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$dir/display" 2>/dev/null &
  xvfb_pid=$!
  until [ -s "$dir/display" ]; do
    if ! kill -0 "$xvfb_pid" 2>/dev/null || [ "$tenths" -ge 600 ]; then
      echo "Xvfb did not start" >&2
      stop_xvfb
      return 1
    fi
    sleep 0.1
    tenths=$((tenths + 1))
  done
  export DISPLAY=:$(cat "$dir/display")
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  xvfb_pid=
}
