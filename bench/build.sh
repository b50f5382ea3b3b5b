# Sourced by the benchmark scripts: configures a build folder when it has
# never been configured, then builds the named targets in it, quietly, with
# BENCH_JOBS parallel jobs (default: one a core).
#
#   . bench/build.sh
#   bench_build build soak http_get

bench_build() {
  local dir=$1
  shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -G Ninja > /dev/null || return 1
  fi
  cmake --build "$dir" -j "${BENCH_JOBS:-$(nproc)}" --target "$@" > "$dir/bench-build.log" 2>&1 ||
    { echo "building $* in $dir failed (see $dir/bench-build.log)" >&2; return 1; }
}

# True when the build folder defines the target.
bench_has_target() {
  ninja -C "$1" -t targets all 2>/dev/null | grep -q "^$2:"
}
