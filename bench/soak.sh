#!/usr/bin/env bash
# Soak: many Get calls in one process, then the follow mode ticking once a
# second for a while, both against nginx on loopback. Prints descriptors and
# resident memory after the first and after the last call or tick, and the
# errors (none expected).
#
# Usage: bench/soak.sh [BUILD_DIR [FOLLOW_SECONDS [GETS]]]
#   defaults: build, 180 s, 10000 calls (or env FOLLOW_SECONDS, GETS)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
seconds=${2:-${FOLLOW_SECONDS:-180}}
gets=${3:-${GETS:-10000}}

. bench/build.sh
. bench/nginx.sh
bench_build "$build" soak ravolin_sim_radio

bench_workdir
tmp=$BENCH_TMP

mkdir -p "$tmp/www"
printf '7010\n5\nSSB\n1\n' > "$tmp/www/freq.ini"
nginx_start "$tmp"
url="http://127.0.0.1:$NGINX_PORT/freq.ini"

soak=$(realpath "$build/bench/soak")
export LD_LIBRARY_PATH="$(realpath "$build/mpusbapi/sim")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
status=0
(cd "$tmp" && "$soak" get "$url" body.out "$gets") || status=1
echo "following $url for $seconds s ..."
"$soak" follow "$url" "$seconds" || status=1
exit $status
