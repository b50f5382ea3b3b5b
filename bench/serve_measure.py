#!/usr/bin/env python3
"""The rig-control port and the state feed against their peer, in one run:

- round trip: `rigctl -m 2 -r ADDRESS f` (one process each, which connects,
  takes the capability block and asks for the frequency), in turns against
  the panel (bench/serve_panel) and against Hamlib's rigctld with its dummy
  rig (`rigctld -m 1`);
- CPU of each server process while nothing connects (share of one core);
- CPU of each while 10 clients each ask `f` ten times a second on
  connections they keep, and how long those answers took;
- the answer time of `+f` (the extended answer: echo, labelled value,
  RPRT 0) on one kept connection, asked RUNS times in turns against each;
- the state feed under `ab` (FEED_CLIENTS at once, each request on a new
  connection, as followers make them): requests a second and answer-time
  percentiles, beside nginx serving a 4-line freq.ini (NGINX_URL) under the
  same load, and the largest delay of the panel's Timer1 meanwhile.

Prints figures as lines "name value" for bench/report_table.py.

    serve_measure.py SERVE_PANEL RUNS IDLE_SECONDS LOAD_SECONDS FEED_SECONDS NGINX_URL
"""
import os
import re
import socket
import statistics
import subprocess
import sys
import threading
import time

CLIENTS = 10
RATE = 10  # requests a second, each client
FEED_CLIENTS = 50
PERCENTILES = (50, 90, 99, 100)
DEADLINE = 20.0
TICKS = os.sysconf("SC_CLK_TCK")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime, stime


def wait_listening(port):
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return
        except OSError:
            time.sleep(0.05)  # polling interval while the server starts
    sys.exit(f"nothing listens on {port}")


def share_over(pid, seconds, during=None):
    """The server's share of one core over seconds, while during() runs."""
    before, start = cpu_seconds(pid), time.monotonic()
    result = during(seconds) if during else time.sleep(seconds)
    return 100.0 * (cpu_seconds(pid) - before) / (time.monotonic() - start), result


def poll_clients(port, seconds):
    """CLIENTS connections, each asking f every 1/RATE s; the answer times."""
    times, lock, errors = [], threading.Lock(), []

    def client():
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=DEADLINE) as s:
                reader = s.makefile("rb")
                next_at = time.monotonic()
                end = next_at + seconds
                while next_at < end:
                    time.sleep(max(0.0, next_at - time.monotonic()))  # the client's own pace
                    start = time.perf_counter()
                    s.sendall(b"f\n")
                    if not reader.readline().strip().isdigit():
                        raise OSError("not a frequency")
                    with lock:
                        times.append(time.perf_counter() - start)
                    next_at += 1.0 / RATE
                s.sendall(b"q\n")
        except OSError as error:
            errors.append(str(error))

    threads = [threading.Thread(target=client) for _ in range(CLIENTS)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    if errors:
        sys.exit("a polling client failed: " + errors[0])
    return times


def plus_f(connection):
    """The time from sending +f to the end of its answer (its RPRT line)."""
    sock, reader = connection
    start = time.perf_counter()
    sock.sendall(b"+f\n")
    lines = [reader.readline() for _ in range(3)]
    wall = time.perf_counter() - start
    if lines[0] != b"get_freq:\n" or not lines[1].startswith(b"Frequency: ") or lines[2] != b"RPRT 0\n":
        sys.exit(f"+f answered {lines}")
    return wall


def rigctl_f(port):
    start = time.perf_counter()
    out = subprocess.run(["rigctl", "-m", "2", "-r", f"127.0.0.1:{port}", "f"], capture_output=True, text=True,
                         timeout=DEADLINE)
    wall = time.perf_counter() - start
    if out.returncode != 0 or not out.stdout.strip().isdigit():
        sys.exit(f"rigctl f against {port} failed: {out.stdout}{out.stderr}")
    return wall


def ab(url, seconds):
    """ab's requests a second and answer-time percentiles (ms) for url, over
    seconds of load."""
    out = subprocess.run(["ab", "-q", "-r", "-t", str(max(1, int(seconds))), "-n", "100000000", "-c", str(FEED_CLIENTS), url],
                         capture_output=True, text=True, timeout=seconds + 60)
    rate = re.search(r"^Requests per second:\s+([0-9.]+)", out.stdout, re.M)
    complete = re.search(r"^Complete requests:\s+(\d+)", out.stdout, re.M)
    failed = re.search(r"^Failed requests:\s+(\d+)", out.stdout, re.M)
    if out.returncode != 0 or not rate or not complete or int(complete.group(1)) == 0:
        sys.exit(f"ab against {url} failed: {out.stdout}{out.stderr}")
    figures = {"rps": float(rate.group(1)), "requests": int(complete.group(1)), "failed": int(failed.group(1))}
    for p in PERCENTILES:
        found = re.search(rf"^\s*{p}%\s+(\d+)", out.stdout, re.M)
        figures[f"p{p}_ms"] = int(found.group(1)) if found else -1
    return figures


class TickLog:
    """The panel's "timer1 MS" lines, with the time each arrived."""

    def __init__(self, stream):
        self.ticks, self.lock = [], threading.Lock()
        threading.Thread(target=self.read, args=(stream,), daemon=True).start()

    def read(self, stream):
        for line in stream:
            words = line.split()
            if len(words) == 2 and words[0] == "timer1":
                with self.lock:
                    self.ticks.append((time.monotonic(), float(words[1])))

    def between(self, start, end):
        with self.lock:
            return [late for at, late in self.ticks if start <= at <= end]


def feed_load(feed, nginx_url, seconds, ticks):
    """ab against the feed and against nginx, in turns; Timer1 meanwhile."""
    figures, lates = {}, []
    for _ in range(2):
        for who, url in (("ours", f"http://127.0.0.1:{feed}/freq.ini"), ("nginx", nginx_url)):
            start = time.monotonic()
            result = ab(url, seconds / 2)
            if who == "ours":
                lates += ticks.between(start, time.monotonic())
            for name, value in result.items():
                key = f"feed_{who}_{name}"
                # Counts are summed over the turns, the rate averaged; the
                # answer times are the last turn's.
                if name in ("failed", "requests", "rps"):
                    figures[key] = figures.get(key, 0) + (value / 2 if name == "rps" else value)
                else:
                    figures[key] = value
    figures["feed_s"] = seconds
    figures["feed_clients"] = FEED_CLIENTS
    figures["feed_ticks"] = len(lates)
    figures["feed_tick_late_ms"] = max(lates) if lates else -1.0
    return figures


def main():
    serve_panel, runs, idle_s, load_s = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4])
    feed_s, nginx_url = float(sys.argv[5]), sys.argv[6]
    feed, ours, theirs = free_port(), free_port(), free_port()
    total = 10 + 2 * (idle_s + load_s) + runs + 2 * feed_s
    panel = subprocess.Popen([serve_panel, f"127.0.0.1:{feed}", f"127.0.0.1:{ours}", str(int(total))],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    peer = subprocess.Popen(["rigctld", "-m", "1", "-T", "127.0.0.1", "-t", str(theirs)],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if panel.stdout.readline().strip() != "ready":
            sys.exit("serve_panel did not start")
        ticks = TickLog(panel.stdout)
        wait_listening(ours)
        wait_listening(theirs)
        figures = {"serve_runs": runs, "serve_idle_s": idle_s, "serve_load_s": load_s,
                   "serve_clients": CLIENTS, "serve_rate": RATE}
        walls = {"ours": [], "theirs": []}
        for _ in range(runs):  # in turns, so that the load falls on both alike
            walls["ours"].append(rigctl_f(ours))
            walls["theirs"].append(rigctl_f(theirs))
        connections = {who: socket.create_connection(("127.0.0.1", port), timeout=DEADLINE)
                       for who, port in (("ours", ours), ("theirs", theirs))}
        readers = {who: (sock, sock.makefile("rb")) for who, sock in connections.items()}
        plus = {"ours": [], "theirs": []}
        for _ in range(runs):
            for who in plus:
                plus[who].append(plus_f(readers[who]))
        for who, sock in connections.items():
            sock.close()
            figures[f"plusf_{who}_ms"] = 1000 * statistics.median(plus[who])
        for who, pid, port in (("ours", panel.pid, ours), ("theirs", peer.pid, theirs)):
            figures[f"rigctl_{who}_ms"] = 1000 * statistics.median(walls[who])
            figures[f"serve_idle_{who}_pct"], _ = share_over(pid, idle_s)
            share, times = share_over(pid, load_s, lambda s, port=port: poll_clients(port, s))
            figures[f"serve_load_{who}_pct"] = share
            figures[f"serve_load_{who}_answers"] = len(times)
            figures[f"serve_load_{who}_ms"] = 1000 * statistics.median(times)
            figures[f"serve_load_{who}_max_ms"] = 1000 * max(times)
        figures.update(feed_load(feed, nginx_url, feed_s, ticks))
        for name, value in figures.items():
            print(name, f"{value:.4f}" if isinstance(value, float) else value)
    finally:
        for process in (panel, peer):
            process.terminate()
            process.wait(timeout=DEADLINE)


if __name__ == "__main__":
    main()
