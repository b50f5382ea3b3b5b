# Sourced by the benchmark scripts: configures a build folder when it has
# never been configured, then builds the named targets in it, quietly, with
# BENCH_JOBS parallel jobs (default: one a core).
#
#   . bench/build.sh
#   bench_build build soak http_get

# Configures the folder when it has never been configured.
bench_configure() {
  [ -f "$1/CMakeCache.txt" ] || cmake -S . -B "$1" -G Ninja > /dev/null
}

bench_build() {
  local dir=$1
  shift
  bench_configure "$dir" || return 1
  cmake --build "$dir" -j "${BENCH_JOBS:-$(nproc)}" --target "$@" > "$dir/bench-build.log" 2>&1 ||
    { echo "building $* in $dir failed (see $dir/bench-build.log)" >&2; return 1; }
}

