#!/usr/bin/env bash
# Holds the program's object times against scripts/chart_times.py, a second
# reading of the same timing rules written apart from the program, on charts
# with tempo changes, extended tempos, stops and odd measure lengths.
set -euo pipefail
cli=$1
root=$(cd "$(dirname "$0")/.." && pwd)
dump=$(mktemp)
saved=$(mktemp)
trap 'rm -f "$dump" "$saved"' EXIT
for chart in "$root"/tests/data/timing/*.bms "$root"/samples/demo.bms; do
  "$cli" dump --times "$chart" >"$dump"
  python3 "$root/scripts/chart_times.py" "$chart" --compare "$dump"
  # A save keeps every object at its time: the saved chart, read apart from
  # the program, holds the objects the original's dump holds, at the same
  # seconds (off-grid cells, stops and tempo changes between ticks included).
  "$cli" save "$chart" "$saved"
  python3 "$root/scripts/chart_times.py" "$saved" --compare "$dump"
done
