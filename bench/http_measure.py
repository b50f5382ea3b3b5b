#!/usr/bin/env python3
"""Runs a command a number of times and prints, on one line: total wall
seconds, user and system CPU seconds of the children, and the peak resident
set of the command in KiB. Used by the benchmark scripts.

    http_measure.py [--fresh FILE] RUNS COMMAND [ARGS...]

With --fresh, FILE (the command's output) is removed and the disks synced
before each run, outside the timing, so that no run pays for the write-back
or the truncation of the one before.

The peak comes from one more run under GNU time. A child's own maximum
resident set counts the memory of the process that forked it, up to the
exec, so read straight from a child of this script it would be Python's
size, not the command's; GNU time is small enough to stay below any
command measured here.
"""
import os
import subprocess
import sys
import tempfile
import time

GNU_TIME = "/usr/bin/time"


def run(command, fresh=None):
    """Runs the command once; returns wall seconds and its rusage."""
    if fresh:
        if os.path.exists(fresh):
            os.remove(fresh)
        os.sync()
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(command[:3])} ... ({status})")
    return wall, usage


def peak_kib(command, fresh):
    with tempfile.NamedTemporaryFile("r") as out:
        run([GNU_TIME, "-f", "%M", "-o", out.name, *command], fresh)
        return int(out.read().split()[-1])


def main():
    args = sys.argv[1:]
    fresh = None
    if args[0] == "--fresh":
        fresh, args = args[1], args[2:]
    runs = int(args[0])
    command = args[1:]
    wall = user = system = 0.0
    for _ in range(runs):
        seconds, usage = run(command, fresh)
        wall += seconds
        user += usage.ru_utime
        system += usage.ru_stime
    print(f"{wall:.6f} {user:.6f} {system:.6f} {peak_kib(command, fresh)}")


if __name__ == "__main__":
    main()
