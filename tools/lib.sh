# Shared by the tools/ scripts: paths, the build, Xvfb and the Wine prefix.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root="${DESKLING_BUILD_ROOT:-$root/build}"
jobs=$(nproc 2>/dev/null || echo 2)

# Configures and builds one flavour: x86_64, i686 or native.
build_flavour() {
  local flavour=$1; shift
  local dir="$build_root/$flavour" args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
  case $flavour in
    x86_64|i686) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$flavour.cmake"
                        -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tools/wine-run") ;;
    native) args+=(-DDESKLING_SANITIZE=ON) ;;
  esac
  # The compiler cache is shared between clones and worktrees: paths below the parent folder are hashed
  # relative, so a fresh clone rebuilds from cache.
  if command -v ccache >/dev/null; then
    args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}" CCACHE_NOHASHDIR=1
  fi
  cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

started_xvfb=""
# Starts Xvfb on a free display unless one is already given (screen size WxH, default 1280x800);
# stop_xvfb ends it.
ensure_display() {
  local size=${1:-1280x800}
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    started_xvfb=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    kill "$started_xvfb" 2>/dev/null; started_xvfb=""
  done
  echo "could not start Xvfb" >&2; return 1
}
stop_xvfb() { [ -n "$started_xvfb" ] && kill "$started_xvfb" 2>/dev/null; started_xvfb=""; }

# Creates a Wine prefix configured for our tests: the interface face installed, no crash dialog,
# unmanaged windows (no 2 s stall when an activated window is destroyed without a window manager).
make_wine_prefix() {
  local prefix
  prefix=$(realpath -m "$1")
  export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$prefix/.deskling-prefix-2" ]; then
    rm -rf "$prefix"; mkdir -p "$prefix"
    wineboot -i >/dev/null 2>&1 || { echo "wineboot failed for $prefix" >&2; return 1; }
    # The interface face, as a real font under its own names: Wine's name replacements would leave the
    # enumerated full name as the free face's, and the program chooses its face by that name.
    local face="$build_root/fonts/msyh.ttf"
    if [ ! -f "$face" ]; then
      mkdir -p "$build_root/fonts"
      "$root/tools/alias-font" /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$face.tmp" && mv "$face.tmp" "$face"
    fi
    cp "$face" "$prefix/drive_c/windows/Fonts/msyh.ttf" || return 1
    cat > "$prefix/deskling.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"Microsoft YaHei (TrueType)"="msyh.ttf"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
    wine regedit /S "$prefix/deskling.reg" >/dev/null 2>&1 || { echo "regedit failed for $prefix" >&2; return 1; }
    wineserver -w
    touch "$prefix/.deskling-prefix-2"
  fi
}

# Starts a persistent wineserver and Wine's own background processes outside any test, so that no
# test's output pipes are inherited by them (CTest would wait for those pipes to close).
start_wine_services() {
  # A server still running for this prefix (an earlier run's) answers "already running" and is used as it is.
  wineserver -p 2>/dev/null || true
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# Runs CTest on one built flavour; Windows flavours run under Wine in the build's own prefix.
run_ctest() {
  local flavour=$1; shift
  if [ "$flavour" != native ]; then
    ensure_display
    make_wine_prefix "$build_root/$flavour/wineprefix"
    start_wine_services
  fi
  (cd "$build_root/$flavour" && ctest --output-on-failure "$@")
}

# Runs every built fuzzer on its committed seed corpus with the libFuzzer limit given (-max_total_time=S or
# -runs=N) and prints one line each: executions, crashes, seconds. What a run finds new goes to a scratch folder,
# so the committed corpus changes only by hand; a crashing input lands in build/fuzz/artifacts/<name>/. Every
# fuzzer runs; false when any crashed.
run_fuzzers() {
  local limit=$1 fuzzer name found log started tenths crashes failed=0
  for fuzzer in "$build_root"/fuzz/fuzz/*Fuzzer; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer" Fuzzer)
    found=$(mktemp -d)
    log="$build_root/fuzz/$name.log"
    rm -rf "$build_root/fuzz/artifacts/$name"
    mkdir -p "$build_root/fuzz/artifacts/$name"
    started=$(date +%s%N)
    if ! "$fuzzer" "$limit" -print_final_stats=1 -artifact_prefix="$build_root/fuzz/artifacts/$name/" \
        "$found" "$root/tests/fuzz/corpus/$name" >"$log" 2>&1; then
      tail -n 40 "$log" >&2
      failed=1
    fi
    crashes=$(find "$build_root/fuzz/artifacts/$name" -type f | wc -l)
    tenths=$((($(date +%s%N) - started) / 100000000))
    printf 'fuzz: %-20s %9s executions %3s crashes %6d.%d s\n' "$name" \
      "$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")" "$crashes" $((tenths / 10)) $((tenths % 10))
    rm -rf "$found"
  done
  return $failed
}
