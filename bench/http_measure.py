#!/usr/bin/env python3
"""Runs a command a number of times and prints, on one line: total wall
seconds, user and system CPU seconds of the children, and the largest peak
resident set in KiB. Used by http_vs_curl.sh.

    http_measure.py RUNS COMMAND [ARGS...]
"""
import os
import resource
import subprocess
import sys
import time


def main():
    runs = int(sys.argv[1])
    command = sys.argv[2:]
    wall = user = system = 0.0
    peak = 0
    for _ in range(runs):
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        wall += time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"failed: {' '.join(command[:3])} ... ({status})")
        user += usage.ru_utime
        system += usage.ru_stime
        peak = max(peak, usage.ru_maxrss)
    print(f"{wall:.6f} {user:.6f} {system:.6f} {peak}")


if __name__ == "__main__":
    main()
