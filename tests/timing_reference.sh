#!/usr/bin/env bash
# Holds the program's object times against scripts/chart_times.py, a second
# reading of the same timing rules written apart from the program, on charts
# with tempo changes, extended tempos, stops and odd measure lengths.
set -euo pipefail
cli=$1
root=$(cd "$(dirname "$0")/.." && pwd)
dump=$(mktemp)
trap 'rm -f "$dump"' EXIT
for chart in "$root"/tests/data/timing/*.bms "$root"/samples/demo.bms; do
  "$cli" dump --times "$chart" >"$dump"
  python3 "$root/scripts/chart_times.py" "$chart" --compare "$dump"
done
