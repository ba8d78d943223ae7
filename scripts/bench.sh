# The Wine test bench, sourced by the test and run scripts: a private prefix inside the build folder
# with a 1024x768 virtual desktop, on an Xvfb display of its own (or the caller's display), and a
# clean stop of every process it started. BENCH_DESKTOP=WIDTHxHEIGHT (for the benchmarks) gives a
# virtual desktop of that size instead, in a prefix of its own and on a display of the same size, so
# the prefix the tests use keeps its 1024x768. TRELLANE_PRESET picks the edition: mingw-i686 (the
# default) runs in a 32-bit prefix, mingw-x86_64 in a 64-bit (WoW64) prefix that runs 32-bit
# programs too.
#   bench_build [cmake --build arguments]
#                                 configures (with the array BENCH_CMAKE_ARGS, if set) and builds the
#                                 cross build in $TRELLANE_BUILD
#   bench_start [--own-display]   sets WINEPREFIX, DISPLAY and friends, starts wineserver
#   bench_stop                    ends every Wine process of the prefix and the Xvfb it started

TRELLANE_ROOT=${TRELLANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
TRELLANE_PRESET=${TRELLANE_PRESET:-mingw-i686}
TRELLANE_BUILD=${TRELLANE_BUILD:-$TRELLANE_ROOT/build/$TRELLANE_PRESET}
BENCH_XVFB_PID=
# The loader that starts the edition's own programs: the 64-bit one runs natively even where 32-bit
# code runs only under emulation; 32-bit programs started from there get the 32-bit loader.
if [ "$TRELLANE_PRESET" = mingw-x86_64 ]; then
  export WINEARCH=win64 BENCH_WINE=/usr/lib/wine/wine64
else
  export WINEARCH=win32 BENCH_WINE=wine
fi

# A lane of its own (BENCH_LANE) has its own prefix, server and display, so lanes never meet.
BENCH_DESKTOP=${BENCH_DESKTOP:-}
if [ -n "$BENCH_DESKTOP" ] && ! [[ "$BENCH_DESKTOP" =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]]; then
  echo "bench: BENCH_DESKTOP must be WIDTHxHEIGHT, not '$BENCH_DESKTOP'" >&2
  return 1 2>/dev/null || exit 1
fi
export WINEPREFIX="$TRELLANE_BUILD/wineprefix${BENCH_LANE:+-$BENCH_LANE}${BENCH_DESKTOP:+-$BENCH_DESKTOP}"
export WINEDEBUG=${WINEDEBUG:--all}
# Nothing is written outside the prefix (no menu entries, no file associations), and no dialog
# offers to download Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export LOCPATH=/usr/local/lib/trellane/locale

bench_quiet() { "$@" </dev/null >/dev/null 2>&1; }

# The preset's settings in whichever folder TRELLANE_BUILD names, so that the build, its Wine prefix
# and the tests run there always belong together.
bench_build() {
  cmake --preset "$TRELLANE_PRESET" -B "$TRELLANE_BUILD" ${BENCH_CMAKE_ARGS[@]+"${BENCH_CMAKE_ARGS[@]}"} >/dev/null
  cmake --build "$TRELLANE_BUILD" "$@"
}

# Bumped whenever the prefix's settings below change, so older prefixes are made anew.
BENCH_PREFIX_VERSION=3
bench_prefix_ready() { [ -f "$WINEPREFIX/.trellane-bench-$BENCH_PREFIX_VERSION" ]; }

bench_make_prefix() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  echo "bench: creating the Wine prefix (once)"
  bench_quiet "$BENCH_WINE" wineboot -i
  local reg="$TRELLANE_BUILD/bench.reg"
  # regedit reads UTF-16 files, which carry the Japanese font names.
  cat <<'REG' | sed "s/@DESKTOP@/${BENCH_DESKTOP:-1024x768}/" | iconv -f UTF-8 -t UTF-16 > "$reg"
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="@DESKTOP@"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS Shell Dlg"="Tahoma"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
REG
  bench_quiet "$BENCH_WINE" regedit /S "$("$BENCH_WINE" winepath -w "$reg" 2>/dev/null)"
  # The window buttons are letters of the Marlett symbol font; without it captions show "0 1 r".
  # Wine ships the font (Debian: fonts-wine) but does not put it into a new prefix.
  local marlett=/usr/share/wine/fonts/marlett.ttf
  [ -f "$marlett" ] && cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
  bench_quiet wineserver -w
  touch "$WINEPREFIX/.trellane-bench-$BENCH_PREFIX_VERSION"
}

bench_start() {
  if [ "${1:-}" = "--own-display" ] || [ -z "${DISPLAY:-}" ]; then
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # Room around the 1024x768 desktop as before; a desktop of another size gets a screen its size.
    Xvfb -displayfd 3 -screen 0 "${BENCH_DESKTOP:-1280x1024}x24" -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
    BENCH_XVFB_PID=$!
    local number
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
  fi
  # A server left from an earlier run could keep an old hook section alive in its processes.
  bench_quiet wineserver -k || true
  bench_prefix_ready || bench_make_prefix
  # Start the server and the services with every stream closed: a service started by the first
  # test would otherwise inherit ctest's output pipe, and ctest would wait for it forever.
  bench_quiet wineserver -p
  bench_quiet "$BENCH_WINE" cmd /c exit
  export TRELLANE_BENCH=1
}

bench_stop() {
  bench_quiet wineserver -k || true
  bench_quiet wineserver -w || true
  if [ -n "$BENCH_XVFB_PID" ]; then
    kill "$BENCH_XVFB_PID" 2>/dev/null || true
    wait "$BENCH_XVFB_PID" 2>/dev/null || true
    BENCH_XVFB_PID=
  fi
}
