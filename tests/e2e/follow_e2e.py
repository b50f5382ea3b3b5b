#!/usr/bin/env python3
"""Two real panels under Xvfb: the first serves its state feed and its
rig-control port (serve.ini), the second follows the feed (host.ini). A
click on the first, and a rigctl command to it, retune the second's
simulated radio within two of its follow ticks. The second's fetches go
through a counting relay, so the ticks are counted, not timed."""

import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from panel_e2e import DEADLINE, Panel, linux_panel_args, start_xvfb, wait_until  # noqa: E402


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class CountingRelay:
    """Passes each connection on to 127.0.0.1:target and counts them: one per
    follow fetch of the panel that uses it."""

    def __init__(self, target):
        self.target = target
        self.count = 0
        self.lock = threading.Lock()
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        threading.Thread(target=self.accept, daemon=True).start()

    def fetches(self):
        with self.lock:
            return self.count

    def accept(self):
        while True:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            with self.lock:
                self.count += 1
            threading.Thread(target=self.relay, args=(client,), daemon=True).start()

    def relay(self, client):
        try:
            with client, socket.create_connection(("127.0.0.1", self.target), timeout=DEADLINE) as server:
                client.settimeout(DEADLINE)
                request = b""
                while b"\r\n\r\n" not in request:
                    chunk = client.recv(4096)
                    if not chunk:
                        return
                    request += chunk
                server.sendall(request)
                while True:
                    chunk = server.recv(4096)
                    if not chunk:
                        return
                    client.sendall(chunk)
        except OSError:
            pass

    def stop(self):
        self.listener.close()


def write(folder, name, text):
    with open(os.path.join(folder, name), "w") as f:
        f.write(text)


def scenario(station, follower, relay, rig_port):
    station.expect("OPEN in")
    follower.expect("OPEN in")
    station.click("STR")  # the first panel is worked by hand from here on
    # The follower copies the station's start state, which is its own too:
    # wait for its first fetches, so that what follows is a change.
    wait_until("the follower's first fetches", lambda: relay.fetches() >= 2)

    def within_two_ticks(act, line):
        before = relay.fetches()
        follower.mark()
        act()
        follower.expect(line)
        ticks = relay.fetches() - before
        assert ticks <= 2, "%r reached the follower after %d of its ticks" % (line, ticks)
        print("%r reached the follower after %d of its ticks" % (line, ticks))

    station.mark()
    for key in ["1", "4", "2", "0"]:
        station.click(key)
    within_two_ticks(lambda: (station.click("0"), station.click("SET")), "-> 14200 kHz SSB")
    station.expect("-> 14200 kHz SSB")
    within_two_ticks(lambda: station.click("AM"), "-> 14200 kHz AM")

    def rigctl():
        out = subprocess.run(["rigctl", "-m", "2", "-r", "127.0.0.1:%d" % rig_port, "F", "3550700", "f"],
                             capture_output=True, text=True, timeout=DEADLINE)
        assert out.returncode == 0 and out.stdout == "3550700\n", out.stdout + out.stderr
    within_two_ticks(rigctl, "-> 3550 kHz AM")
    assert "tenths 7" in follower.text(), "the tenths did not reach the follower"


def main():
    args = linux_panel_args()

    feed_port, rig_port = free_port(), free_port()
    relay = CountingRelay(feed_port)
    xvfb, display = start_xvfb()
    folders = [tempfile.mkdtemp(prefix="ravolin-follow-e2e-") for _ in range(2)]
    panels = []
    ok = False
    try:
        # The station: both servers, no station of its own, its start state on disk.
        write(folders[0], "serve.ini", "127.0.0.1:%d\n127.0.0.1:%d\n" % (feed_port, rig_port))
        write(folders[0], "host.ini", "\n")
        write(folders[0], "freq.ini", "7050\n0\nSSB\n0\n")
        write(folders[1], "host.ini", "http://127.0.0.1:%d/freq.ini\n" % relay.port)
        panels.append(Panel(args, folders[0], display))
        panels.append(Panel(args, folders[1], display, others=[panels[0].window]))
        # Side by side: with no window manager both open at one place, and
        # clicks meant for the station would reach the follower on top.
        panels[1].xdo("windowmove", "--sync", panels[1].window, "0", "300")
        scenario(panels[0], panels[1], relay, rig_port)
        ok = all(panel.proc.poll() is None for panel in panels)
        if not ok:
            print("a panel ended on its own")
    finally:
        outputs = [panel.close() for panel in panels]
        relay.stop()
        xvfb.terminate()
        xvfb.wait()
        if not ok:
            for name, panel, output in zip(["station", "follower"], panels, outputs):
                print("--- %s output\n%s\n--- %s radio log\n%s" % (name, output, name, panel.text()))
        for folder in folders:
            shutil.rmtree(folder, ignore_errors=True)
    if not ok:
        return 1
    print("two panels end to end: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
