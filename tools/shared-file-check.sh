#!/usr/bin/env bash
# Two teachers, one year file: starts two kelt processes on one file in a private X server (Xvfb),
# types 国語 in the first and 数学 in the second with keys from outside (xdotool), saves in turn
# (the second save and a third take the other's marks through the question's default button,
# 取り込んで保存) and checks that the file ends with every mark of both.
# Usage: tools/shared-file-check.sh [folder for screenshots]   Needs: xvfb xdotool iconv
# (imagemagick for the screenshots). KELT=path runs another kelt binary. Exit 0 when all is kept.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
kelt="${KELT:-$here/build/src/kelt}"
shots="${1:-}"
[[ -x $kelt ]] || { echo "shared-file-check: no kelt binary at $kelt" >&2; exit 2; }
tmp="$(mktemp -d)"
pids=()
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT

file="$tmp/share/year.klt"
mkdir -p "$tmp/share"
printf '氏  名\t国語\t数学\r\n佐藤\t\t\r\n鈴木\t\t\r\n\r\n' | iconv -f UTF-8 -t CP932 >"$file"

Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [[ -s $tmp/display ]] && break; sleep 0.1; done
DISPLAY=":$(head -n1 "$tmp/display")"
export DISPLAY

# Each teacher's kelt with settings and recovery copies of its own; sets pid and window.
start() {
  local who=$1 d="$tmp/$1"
  mkdir -m 700 "$d" "$d/run" "$d/config" "$d/data" "$d/cache"
  XDG_RUNTIME_DIR="$d/run" XDG_CONFIG_HOME="$d/config" XDG_DATA_HOME="$d/data" \
    XDG_CACHE_HOME="$d/cache" "$kelt" "$file" >"$tmp/$who.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  window=$(window_of "$pid")
}
# The newest window a process shows: its frame, or the question a save asked.
window_of() { timeout 15 xdotool search --sync --onlyvisible --pid "$1" | tail -n1; }
keys() {
  local window=$1
  shift
  xdotool windowfocus --sync "$window"
  sleep 0.3
  for key in "$@"; do
    xdotool key --window "$window" --clearmodifiers "$key"
    sleep 0.15
  done
  sleep 1
}
# Answers the question a save asked with its default button.
answer() {
  local question
  question=$(window_of "$1")
  [[ -n $shots ]] && import -window root "$shots/$2.png"
  xdotool windowfocus --sync "$question"
  sleep 0.3
  xdotool key Return
  sleep 1
}
show() { echo "$1:"; iconv -f CP932 -t UTF-8 "$file" | sed 's/^/    /'; }

start first
first=$window pid_first=$pid
start second
second=$window pid_second=$pid

keys "$first" 8 1 Return 7 2 Return ctrl+s
show "the first teacher typed 国語 and saved"
keys "$second" Right 6 5 Return 9 0 Return ctrl+s
answer "$pid_second" second-save
show "the second typed 数学 and saved"
keys "$first" 6 0 Return ctrl+s
answer "$pid_first" third-save
show "the first typed one more and saved again"

printf '氏  名\t国語\t数学\r\n佐藤\t81\t65\r\n鈴木\t72\t90\r\n\t60\t\r\n\r\n' |
  iconv -f UTF-8 -t CP932 >"$tmp/expected.klt"
if cmp -s "$file" "$tmp/expected.klt"; then
  echo "shared-file-check: every mark of both teachers is in the file"
else
  echo "shared-file-check: marks were lost" >&2
  exit 1
fi
