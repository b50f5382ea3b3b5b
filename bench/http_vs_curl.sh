#!/usr/bin/env bash
# Compares the HTTP component with curl against the same nginx, in one run:
#   (1) whole processes, one GET of a 4-line file each
#   (2) 1000 GETs of that file in one process (curl: one invocation, 1000 URLs)
#   (3) a 1 GiB body captured to a file
#   (4) CPU time per fetch and peak memory
# Usage: bench/http_vs_curl.sh [BUILD_DIR]   (default: build)
# nginx runs on a free loopback port from a temporary folder, with a sparse
# 1 GiB file; everything is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
ours="$build/bench/http_get"
measure="bench/http_measure.py"
[ -x "$ours" ] || { echo "missing $ours: cmake --build $build --target http_get" >&2; exit 2; }

runs=${RUNS:-200}
many=${MANY:-1000}
big_runs=${BIG_RUNS:-3}

. bench/nginx.sh
bench_workdir
tmp=$BENCH_TMP

mkdir -p "$tmp/www"
printf '7010\n5\nSSB\n1\n' > "$tmp/www/small.txt"
truncate -s 1G "$tmp/www/big.bin"
# Read it once before anything is measured: the first read of a file puts it
# in the page cache, and whichever peer ran first would pay for that (nginx's
# side of its capture), not for its own work.
cat "$tmp/www/big.bin" > /dev/null

nginx_start "$tmp"
port=$NGINX_PORT

small="http://127.0.0.1:$port/small.txt"
big="http://127.0.0.1:$port/big.bin"
out="$tmp/out"

# Warm up both, and check that both fetch the right bytes.
"$ours" "$small" "$out.ours"; curl -0 -s -o "$out.curl" "$small"
cmp -s "$out.ours" "$tmp/www/small.txt" || { echo "ours fetched the wrong bytes" >&2; exit 1; }
cmp -s "$out.curl" "$tmp/www/small.txt" || { echo "curl fetched the wrong bytes" >&2; exit 1; }

# Each pair runs in turns, so that a change of load falls on both alike.
{ read -r o1_wall o1_user o1_sys o1_rss; read -r c1_wall c1_user c1_sys c1_rss; } < <(python3 "$measure" "$runs" \
  "$ours" "$small" "$out.ours" ::: curl -0 -s -o "$out.curl" "$small")

curl_args=()
for _ in $(seq 1 "$many"); do curl_args+=(-o "$out.curl" "$small"); done
{ read -r o2_wall o2_user o2_sys o2_rss; read -r c2_wall c2_user c2_sys c2_rss; } < <(python3 "$measure" 1 \
  "$ours" "$small" "$out.ours" "$many" ::: curl -0 -s "${curl_args[@]}")

{ read -r o3_wall o3_user o3_sys o3_rss; read -r c3_wall c3_user c3_sys c3_rss; } < <(python3 "$measure" "$big_runs" \
  --fresh "$out.ours" "$ours" "$big" "$out.ours" ::: --fresh "$out.curl" curl -0 -s -o "$out.curl" "$big")
[ "$(stat -c %s "$out.ours")" -eq $((1 << 30)) ] || { echo "ours: short 1 GiB body" >&2; exit 1; }
[ "$(stat -c %s "$out.curl")" -eq $((1 << 30)) ] || { echo "curl: short 1 GiB body" >&2; exit 1; }
rm -f "$out.ours" "$out.curl"

python3 - "$runs" "$many" "$big_runs" \
  "$o1_wall" "$c1_wall" "$o1_user" "$o1_sys" "$c1_user" "$c1_sys" "$o1_rss" "$c1_rss" \
  "$o2_wall" "$c2_wall" "$o2_user" "$o2_sys" "$c2_user" "$c2_sys" \
  "$o3_wall" "$c3_wall" "$o3_user" "$o3_sys" "$c3_user" "$c3_sys" "$o3_rss" "$c3_rss" <<'PY'
import sys
a = sys.argv[1:]
runs, many, big_runs = int(a[0]), int(a[1]), int(a[2])
f = [float(x) for x in a[3:]]
(o1w, c1w, o1u, o1s, c1u, c1s, o1r, c1r,
 o2w, c2w, o2u, o2s, c2u, c2s,
 o3w, c3w, o3u, o3s, c3u, c3s, o3r, c3r) = f
rows = [
    ("(1) one GET per process, ms per run", o1w / runs * 1e3, c1w / runs * 1e3, "lower"),
    (f"(2) {many} GETs in one process, GETs/s", many / o2w, many / c2w, "higher"),
    ("(3) 1 GiB body to a file, MiB/s", 1024 * big_runs / o3w, 1024 * big_runs / c3w, "higher"),
    ("(4) CPU ms per process in (1)", (o1u + o1s) / runs * 1e3, (c1u + c1s) / runs * 1e3, "lower"),
    ("    CPU ms per GET in (2)", (o2u + o2s) / many * 1e3, (c2u + c2s) / many * 1e3, "lower"),
    ("    CPU s per 1 GiB capture", (o3u + o3s) / big_runs, (c3u + c3s) / big_runs, "lower"),
    ("    peak RSS, small GET, KiB", o1r, c1r, "lower"),
    ("    peak RSS, 1 GiB capture, KiB", o3r, c3r, "lower"),
]
print(f"{'':40} {'ravolin':>12} {'curl':>12} {'ravolin/curl':>13}")
for name, ours, curl, better in rows:
    ratio = ours / curl if curl else float("nan")
    print(f"{name:40} {ours:12.3f} {curl:12.3f} {ratio:12.2f}x  ({better} is better)")
PY
