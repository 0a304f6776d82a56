#!/bin/sh
# Builds the fuzz targets with clang's libFuzzer (package libclang-rt-14-dev) and runs one for
# the given number of seconds (default 60): klt_reader_fuzz (the default), klt_roundtrip_fuzz,
# paste_fuzz or numberrules_fuzz.
# Findings land in the build folder as crash-* files.
#   fuzz/run.sh 600 klt_roundtrip_fuzz
set -eu
seconds=${1:-60}
target=${2:-klt_reader_fuzz}
here=$(cd "$(dirname "$0")" && pwd)
build=${KELT_FUZZ_BUILD:-$here/../build-fuzz}

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j1

# A few seeds in the shapes the reader meets: CP932 with TABs, commas, UTF-8 with a mark, LF,
# half-width katakana that is also well-formed UTF-8.
corpus="$build/corpus"
mkdir -p "$corpus"
printf '\216\201  \226\274\tA\tB\r\n\t85\t\r\n\272\313\337\260\t\207\100\t\373\374\r\n\r\n' >"$corpus/seed-cp932"
printf 'name,a,b\r\n,1,2\r\n,,\r\n' >"$corpus/seed-comma"
printf '\357\273\277\346\260\217\t90\n\345\261\261\347\224\260,\n' >"$corpus/seed-utf8"
printf '\320\266\t90\r\n\346\260\217\t\r\n' >"$corpus/seed-kana"
# and two past the reader's limits: more lines than storage rows, more fields than columns.
awk 'BEGIN { for (i = 0; i < 1100; i++) printf "%d\t%d\r\n", i, i % 101 }' >"$corpus/seed-lines"
awk 'BEGIN { for (i = 0; i < 1100; i++) printf "%d,", i % 10; printf "\r\n" }' >"$corpus/seed-fields"
# and marks as teachers type them, for the number rules.
printf '1,200' >"$corpus/seed-grouped"
printf ' -72.5E+1 ' >"$corpus/seed-exponent"
printf '&H1F' >"$corpus/seed-hex"

cd "$build"
exec "./$target" -max_total_time="$seconds" -max_len=16384 -print_final_stats=1 -artifact_prefix="$build/" "$corpus"
