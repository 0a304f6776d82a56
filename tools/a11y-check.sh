#!/usr/bin/env bash
# Shows what a screen reader sees of kelt, with no real display: starts a private X server (Xvfb),
# session bus and AT-SPI bus, runs kelt in them and prints its accessible tree via a11y-tree.py.
# Usage: tools/a11y-check.sh [file.klt] [a11y-tree.py options, e.g. --depth 4 or --find NAME]
# Needs: xvfb at-spi2-core python3-pyatspi gir1.2-atspi-2.0 dbus (xdotool optional).
# KELT=path runs another kelt binary.
# Settings, recovery files and buses are all temporary; the whole run ends within about 30 s.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
kelt="${KELT:-$here/build/src/kelt}"
file=()
if [[ $# -gt 0 && $1 != -* ]]; then file=("$(realpath "$1")"); shift; fi
[[ -x $kelt ]] || { echo "a11y-check: no kelt binary at $kelt" >&2; exit 2; }

tmp="$(mktemp -d)"
pids=()
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill -TERM -- "-${pids[i]}" 2>/dev/null || true; done
  sleep 0.3
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill -KILL -- "-${pids[i]}" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Each helper runs in its own process group (setsid), so cleanup ends it with all it spawned.
start() { setsid "$@" & pids+=($!); }
# wait_file FILE WHAT: waits up to 5 s for FILE to have content.
wait_file() {
  local _
  for _ in $(seq 50); do [[ -s $1 ]] && return 0; sleep 0.1; done
  echo "a11y-check: timed out waiting for $2" >&2
  exit 3
}

mkdir -m 700 "$tmp/run" "$tmp/config" "$tmp/data" "$tmp/cache"
export XDG_RUNTIME_DIR="$tmp/run" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" \
  XDG_CACHE_HOME="$tmp/cache"
unset AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY

start Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log"
wait_file "$tmp/display" "Xvfb"
DISPLAY=":$(head -n1 "$tmp/display")"
export DISPLAY

start dbus-daemon --session --nofork --print-address=3 3>"$tmp/bus" 2>"$tmp/dbus.log"
wait_file "$tmp/bus" "the session bus"
DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$tmp/bus")"
export DBUS_SESSION_BUS_ADDRESS

# The launcher starts the accessibility bus; that bus starts at-spi2-registryd on first use.
start /usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 >"$tmp/atspi.log" 2>&1

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
  start "$kelt" "${file[@]}" >"$tmp/kelt.log" 2>&1

if ! timeout 18 /usr/bin/python3 "$here/tools/a11y-tree.py" --wait 15 --depth 0 >/dev/null; then
  echo "a11y-check: timed out: kelt's frame did not show on the AT-SPI desktop" >&2
  kill -0 "${pids[-1]}" 2>/dev/null || echo "a11y-check: kelt has exited" >&2
  tail -n 20 "$tmp/kelt.log" "$tmp/atspi.log" >&2
  exit 3
fi
# Without a window manager no window is active; give kelt's frame the input focus, as a person's
# click would, so the focused widget shows as such (only where xdotool is installed).
if command -v xdotool >/dev/null; then
  timeout 5 xdotool search --sync --onlyvisible --name '^Kelt' windowfocus >/dev/null 2>&1 ||
    echo "a11y-check: could not focus kelt's window" >&2
  sleep 0.3
fi
rc=0
timeout 10 /usr/bin/python3 "$here/tools/a11y-tree.py" "$@" || rc=$?
[[ $rc -eq 124 ]] && echo "a11y-check: timed out reading kelt's accessible tree" >&2
exit "$rc"
