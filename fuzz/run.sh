#!/bin/sh
# Builds the fuzz targets with clang's libFuzzer (package libclang-rt-14-dev) and runs one for
# the given number of seconds (default 60): klt_reader_fuzz (the default), klt_roundtrip_fuzz,
# paste_fuzz, numberrules_fuzz or recoverycells_fuzz.
# Findings land in the build folder as crash-* files.
#   fuzz/run.sh 600 klt_roundtrip_fuzz
set -eu
seconds=${1:-60}
target=${2:-klt_reader_fuzz}
here=$(cd "$(dirname "$0")" && pwd)
build=${KELT_FUZZ_BUILD:-$here/../build-fuzz}

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j1

# The seeds kept in fuzz/corpus: the shapes the reader meets (CP932 with TABs, commas, UTF-8
# with a mark, LF, half-width katakana that is also UTF-8, more lines and fields than a sheet
# holds), a pasted block, and marks as teachers type them.
corpus="$build/corpus-$target"
mkdir -p "$corpus"
cp "$here"/corpus/* "$corpus"/

cd "$build"
exec "./$target" -max_total_time="$seconds" -max_len=16384 -print_final_stats=1 -artifact_prefix="$build/" "$corpus"
