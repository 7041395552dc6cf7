#!/bin/sh
# The intraday pane pair end to end, kelochart against matplotlib, side by side in one run.
#   bench/cli/compare_matplotlib.sh [BUILD_DIR]   (a Release build with KELOCHART_BUILD_BENCH=ON)
set -eu
build=${1:-build-bench}
here=$(dirname "$0")
csv=$(mktemp --suffix=.csv)
trap 'rm -f "$csv"' EXIT
"$build/apps/kelochart" sample -o "$csv"
KELOCHART_BENCH_CSV="$csv" "$build/bench/kelochart_cli_bench" --benchmark_filter='BM_CliIntradayEndToEnd/800/600' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
/usr/bin/python3 "$here/matplotlib_intraday.py" "$csv" --runs 20 --out "${MPL_OUT:-/dev/null}"
