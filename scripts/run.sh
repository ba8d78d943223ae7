#!/usr/bin/env bash
# Builds Trellane and starts it under Wine. With a display (DISPLAY set) it opens in a Wine virtual
# desktop window there; without one it runs on a private Xvfb display, saves a screenshot of the
# panel and says where. Run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
source scripts/bench.sh
bench_build
dist="$TRELLANE_BUILD/dist"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  bench_start
  echo "run: Trellane is starting in a Wine desktop window on $DISPLAY; quit it from its panel or tray menu."
  "$BENCH_WINE" "$dist/trellane.exe"
  bench_stop
  exit 0
fi

trap bench_stop EXIT
bench_start --own-display
"$BENCH_WINE" "$dist/trellane.exe" </dev/null >/dev/null 2>&1 &
# Wait for the panel to be mapped on the display rather than for a fixed time.
for _ in $(seq 1 120); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Trellane": ("trellane.exe"' && break
  sleep 0.5
done
sleep 1
shot="$TRELLANE_BUILD/trellane-panel.png"
import -window root -crop 1024x768+0+0 "$shot"
echo "run: no display here, so Trellane ran on a private Xvfb display; screenshot of its panel: $shot"
