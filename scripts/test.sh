#!/usr/bin/env bash
# Builds and runs every test: the unit and window tests through CTest, then a
# short, bounded fuzzing run of the chart reader.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")

# The program must build with clang as well as with g++ (the fuzzer's
# compiler); the tests and benchmarks are g++'s alone.
CC=clang CXX=clang++ cmake -S . -B build-clang -DBEATLOOM_BUILD_TESTS=OFF -DBEATLOOM_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-clang -j"$(nproc)" --target beatloom beatloom-cli >/dev/null
echo "clang: the program and the command-line tool build"

# The fuzzer gets its own clang build; a fixed seed and time keep the run
# repeatable enough not to make the test command flaky.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DBEATLOOM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null
corpus=$(mktemp -d)
cp fuzz/corpus/* "$corpus"/ 2>/dev/null || true
./build-fuzz/fuzz/reader_fuzz -seed=1 -max_total_time=20 -rss_limit_mb=2048 -print_final_stats=0 -artifact_prefix=build-fuzz/ "$corpus" 2>build-fuzz/fuzz.log ||
  { tail -40 build-fuzz/fuzz.log; exit 1; }
rm -rf "$corpus"
echo "fuzz: reader ran 20 s without a crash"

# The other readers of outside bytes get a few seconds each from their seeds:
# the clipboard text, the settings and language files, the players' list and
# a player's arguments, JPEG pictures (whose headers may claim any size, so
# the memory limit is tight) and DDRV charts.
for target in clipboard ini players jpeg ddrv; do
  corpus=$(mktemp -d)
  cp fuzz/seeds/"$target"/* "$corpus"/ 2>/dev/null || true
  limit=2048
  [ "$target" = jpeg ] && limit=1024
  ./build-fuzz/fuzz/"$target"_fuzz -seed=1 -max_total_time=5 -rss_limit_mb="$limit" -malloc_limit_mb="$limit" \
    -print_final_stats=0 -artifact_prefix=build-fuzz/ "$corpus" 2>build-fuzz/"$target"_fuzz.log ||
    { tail -40 build-fuzz/"$target"_fuzz.log; exit 1; }
  rm -rf "$corpus"
done
echo "fuzz: clipboard, ini, players, jpeg and ddrv ran 5 s each without a crash"
