#!/usr/bin/env bash
# Load figures of `kelochart serve` with wrk on loopback (docs/performance.md):
#   bench/serve/load.sh [kelochart binary]       (default build/apps/kelochart)
# 1. the tool alone: `kelochart render intraday --batch` over the same 1,800 files (charts/s)
# 2. every request a real render: cache off, a different instrument each request, 32 connections
# 3. repeated GETs of four charts from the cache, 32 connections
# 4. resident memory after 5,000 and after 50,000 requests (cache on, 64 MiB, renders and hits)
# 5. CPU seconds of the service per real render; 6. the Node alternative on the same files
# Environment: INSTRUMENTS (1800), SECONDS_PER_RUN (20), CONNECTIONS (32), WRK_THREADS (2),
# STEPS (default "tool render cached memory cpu node": the steps to run).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
K="${1:-$ROOT/build/apps/kelochart}"
N="${INSTRUMENTS:-1800}"
T="${SECONDS_PER_RUN:-20}"
C="${CONNECTIONS:-32}"
W="${WRK_THREADS:-2}"
STEPS=" ${STEPS:-tool render cached memory cpu node} "
step() { [[ $STEPS == *" $1 "* ]]; }
WORK="$(mktemp -d)"
trap 'kill "$PID" 2>/dev/null || true; rm -rf "$WORK"' EXIT
PID=""

# 1,800 instruments: 60 generated days, each under 30 symbols (the caption carries the symbol,
# so every chart differs).
mkdir -p "$WORK/data" "$WORK/out"
for seed in $(seq 1 60); do "$K" sample --seed "$seed" -o "$WORK/day$seed.csv"; done
for i in $(seq 0 $((N - 1))); do cp "$WORK/day$((i % 60 + 1)).csv" "$WORK/data/$(printf 'S%04d' "$i").csv"; done

if step tool; then
echo "== the tool: render intraday --batch, $N charts at 400x300, 2 jobs"
start=$(date +%s.%N)
"$K" render intraday --batch "$WORK/data" --out "$WORK/out" --size 400x300 -j 2 2>/dev/null
end=$(date +%s.%N)
echo "tool: $(echo "$N / ($end - $start)" | bc -l | cut -c1-6) charts/s"
# The same with the malloc settings the service makes (docs/decisions.md, "The render service").
start=$(date +%s.%N)
MALLOC_MMAP_THRESHOLD_=33554432 MALLOC_TRIM_THRESHOLD_=268435456 \
  "$K" render intraday --batch "$WORK/data" --out "$WORK/out" --size 400x300 -j 2 2>/dev/null
end=$(date +%s.%N)
echo "tool, service's malloc settings: $(echo "$N / ($end - $start)" | bc -l | cut -c1-6) charts/s"
fi

serve() {  # cache MiB
  "$K" serve --data "$WORK/data" --port 0 --cache-mb "$1" 2>"$WORK/serve.log" &
  PID=$!
  for _ in $(seq 50); do grep -q listening "$WORK/serve.log" 2>/dev/null && break; sleep 0.1; done
  PORT=$(grep -o '127.0.0.1:[0-9]*' "$WORK/serve.log" | head -1 | cut -d: -f2)
}
stop() { kill -TERM "$PID"; wait "$PID" || true; PID=""; }
metric() { curl -s "http://127.0.0.1:$PORT/metrics" | awk -v m="$1" '$1 == m {print $2}'; }
rss() { awk '/VmRSS/ {print $2}' "/proc/$PID/status"; }

if step render; then
echo "== every request a real render (cache off), $C connections, ${T}s"
serve 0
INSTRUMENTS=$N wrk -t "$W" -c "$C" -d "${T}s" --latency -s "$ROOT/bench/serve/render.lua" "http://127.0.0.1:$PORT"
echo "cache hits $(metric kelochart_cache_hits_total), misses $(metric kelochart_cache_misses_total)"
stop

fi
if step cached; then
echo "== the same four charts from the cache, $C connections, ${T}s"
serve 64
wrk -t "$W" -c "$C" -d "${T}s" --latency -s "$ROOT/bench/serve/cached.lua" "http://127.0.0.1:$PORT"
echo "cache hits $(metric kelochart_cache_hits_total), misses $(metric kelochart_cache_misses_total)"
stop

fi
if step memory; then
echo "== resident memory: cache 64 MiB, one instrument after another (renders, then hits)"
serve 64
INSTRUMENTS=$N wrk -t "$W" -c "$C" -d 600s -s "$ROOT/bench/serve/render.lua" "http://127.0.0.1:$PORT" >/dev/null &
WRK=$!
at5k=""
while :; do
  n=$(metric kelochart_request_seconds_count)
  n=${n%.*}
  if [[ -z $at5k && ${n:-0} -ge 5000 ]]; then at5k=$(rss); echo "after $n requests: RSS $at5k kB"; fi
  if [[ ${n:-0} -ge 50000 ]]; then at50k=$(rss); echo "after $n requests: RSS $at50k kB"; break; fi
  sleep 0.5
done
kill "$WRK"; wait "$WRK" 2>/dev/null || true
echo "RSS ratio 50k/5k: $(echo "$at50k / $at5k" | bc -l | cut -c1-5); cache $(metric kelochart_cache_bytes) bytes in $(metric kelochart_cache_entries) charts"
stop

fi
if step cpu; then
echo "== CPU time of the service per real render (cache off), 8 connections, ${T}s"
serve 0
before=$(awk '{print $14 + $15}' "/proc/$PID/stat")
INSTRUMENTS=$N wrk -t 1 -c 8 -d "${T}s" -s "$ROOT/bench/serve/render.lua" "http://127.0.0.1:$PORT" | grep Requests/sec
after=$(awk '{print $14 + $15}' "/proc/$PID/stat")
n=$(metric kelochart_cache_misses_total)
ticks=$(getconf CLK_TCK)
echo "service: $n renders in $(echo "($after - $before) / $ticks" | bc -l | cut -c1-6) CPU s: $(echo "$n * $ticks / ($after - $before)" | bc -l | cut -c1-6) charts per CPU second"
stop

fi
if step node && [[ -d "$ROOT/bench/serve/node/node_modules" ]]; then
  echo "== Node: ECharts server-side SVG + resvg PNG, same files, one thread"
  (cd "$ROOT/bench/serve/node" && node render.mjs "$WORK/data" 300)
fi
