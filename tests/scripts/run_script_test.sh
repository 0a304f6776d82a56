#!/usr/bin/env bash
# ./run.sh started from another folder with a relative path must hand kelt that very file: the
# script may not change the current folder. Runs the script with stand-ins for the package
# install, cmake and kelt itself, which records its folder and arguments.
set -euo pipefail
script=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

mkdir -p "$tmp/kelt/tools" "$tmp/bin" "$tmp/teacher"
cp "$script" "$tmp/kelt/run.sh"
printf '#!/bin/sh\nexit 0\n' >"$tmp/kelt/tools/install-deps.sh"
cat >"$tmp/fake-kelt" <<'KELT'
#!/bin/sh
pwd >"$KELT_TEST_OUT"
for a in "$@"; do printf '%s\n' "$a" >>"$KELT_TEST_OUT"; done
KELT
cat >"$tmp/bin/cmake" <<CMAKE
#!/bin/sh
# "cmake --build DIR ..." leaves the program in DIR/src.
if [ "\$1" = --build ]; then mkdir -p "\$2/src" && cp "$tmp/fake-kelt" "\$2/src/kelt"; fi
exit 0
CMAKE
chmod +x "$tmp/kelt/run.sh" "$tmp/kelt/tools/install-deps.sh" "$tmp/fake-kelt" "$tmp/bin/cmake"

export KELT_TEST_OUT="$tmp/out"
(cd "$tmp/teacher" && PATH="$tmp/bin:$PATH" ../kelt/run.sh "成績 1.klt")
expected=$(printf '%s\n%s' "$tmp/teacher" "成績 1.klt")
if [ "$(cat "$tmp/out")" != "$expected" ]; then
  echo "kelt was started as:"; cat "$tmp/out"
  echo "expected:"; echo "$expected"
  exit 1
fi
echo "run.sh keeps the caller's folder"
