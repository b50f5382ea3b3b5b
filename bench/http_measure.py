#!/usr/bin/env python3
"""Runs commands a number of times and prints, for each, one line: total
wall seconds, CPU seconds (user plus system) of its runs, and the peak
resident set of the command in KiB. Used by the benchmark scripts.

    http_measure.py RUNS [--fresh FILE] COMMAND [ARGS...] [::: [--fresh FILE] COMMAND ...]

Several commands (separated by ":::") run in turns, one run of each per
round, so that a change in the machine's load falls on all of them alike.

With --fresh, FILE (the command's output) is removed and the disks synced
before each of its runs, outside the timing, so that no run pays for the
write-back or the truncation of the one before.

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


class Measured:
    def __init__(self, args):
        self.fresh = None
        if args[0] == "--fresh":
            self.fresh, args = args[1], args[2:]
        self.command = args
        self.wall = self.cpu = 0.0

    def run(self, command=None):
        """Runs once; returns wall seconds and the rusage."""
        command = command or self.command
        if self.fresh:
            if os.path.exists(self.fresh):
                os.remove(self.fresh)
            os.sync()
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"failed: {' '.join(command[:3])} ... ({status})")
        return wall, usage

    def timed_run(self):
        wall, usage = self.run()
        self.wall += wall
        self.cpu += usage.ru_utime + usage.ru_stime

    def peak_kib(self):
        with tempfile.NamedTemporaryFile("r") as out:
            self.run([GNU_TIME, "-f", "%M", "-o", out.name, *self.command])
            return int(out.read().split()[-1])


def split(args, separator=":::"):
    groups, current = [], []
    for arg in args:
        if arg == separator:
            groups.append(current)
            current = []
        else:
            current.append(arg)
    groups.append(current)
    return groups


def main():
    runs = int(sys.argv[1])
    commands = [Measured(group) for group in split(sys.argv[2:])]
    for _ in range(runs):
        for command in commands:
            command.timed_run()
    for c in commands:
        print(f"{c.wall:.6f} {c.cpu:.6f} {c.peak_kib()}")


if __name__ == "__main__":
    main()
