#!/usr/bin/env python3
"""ravolin.exe started the way a Start-menu shortcut starts it, with no
console and no standard handles (`wine start /d FOLDER PROGRAM`): its
start-up line about the radio lands in ravolin.log in that folder, with the
date and time, and a log already past 1 MiB first loses its older half, at
a line boundary."""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

DEADLINE = 60.0  # seconds; Wine under emulation is slow to start a program
BOUND = 1024 * 1024
STAMP = r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d "


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_until(what, condition):
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        result = condition()
        if result:
            return result
        time.sleep(0.05)  # polling interval, not a wait for the event
    raise AssertionError("timed out waiting for " + what)


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return b""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--ravolin", required=True)
    parser.add_argument("--sim-dir", required=True)
    args = parser.parse_args()

    folder = tempfile.mkdtemp(prefix="ravolin-log-")
    log = os.path.join(folder, "ravolin.log")
    with open(os.path.join(folder, "host.ini"), "w") as f:
        f.write("\n")
    with open(os.path.join(folder, "freq.ini"), "w") as f:
        f.write("7050\n0\nSSB\n0\n")
    # An old log just past the bound: 1 MiB and one line of numbered lines.
    old = [b"2026-01-01 00:00:00 old line %06d ..........................\r\n" % i for i in range(20000)]
    size = 0
    with open(log, "wb") as f:
        for i, line in enumerate(old):
            f.write(line)
            size += len(line)
            if size > BOUND:
                last_old = i
                break

    env = dict(os.environ, WINEPATH=windows_path(args.sim_dir))
    quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    start = subprocess.Popen(["wine", "start", "/wait", "/d", windows_path(folder), windows_path(args.ravolin)],
                             env=env, **quiet)
    problems = []
    try:
        text = wait_until("the start-up line in ravolin.log",
                          lambda: (lambda t: t if b"ravolin: radio: " in t else None)(read(log)))
        lines = text.decode(errors="replace").split("\r\n")
        if lines[-1] != "":
            problems.append("the log does not end with a whole line")
        lines = lines[:-1]
        if not re.fullmatch(STAMP + r"ravolin: radio: .*mpusbapi.*", lines[-1]):
            problems.append("last line %r" % lines[-1])
        if not re.fullmatch(STAMP + r"old line \d{6} \.+", lines[0]):
            problems.append("first line %r is not a whole old line" % lines[0])
        if len(text) > BOUND // 2 + 200 or "old line %06d" % last_old not in lines[-2]:
            problems.append("%d bytes kept, ending %r" % (len(text), lines[-2:]))
        if any("old line 000000" in line for line in lines):
            problems.append("the oldest lines were kept")
    finally:
        subprocess.run(["wine", "taskkill", "/f", "/im", "ravolin.exe"], env=env, timeout=DEADLINE, **quiet)
        try:
            start.wait(timeout=DEADLINE)
        except subprocess.TimeoutExpired:
            start.kill()
        shutil.rmtree(folder, ignore_errors=True)

    for problem in problems:
        print("ProgramLog: " + problem)
    if problems:
        return 1
    print("ProgramLog: the start-up line is in ravolin.log, the old half dropped")
    return 0


if __name__ == "__main__":
    sys.exit(main())
