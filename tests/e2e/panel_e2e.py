#!/usr/bin/env python3
"""Drives the real panel under Xvfb (with --wine, the Windows build under
Wine): clicks with xdotool at the controls, a loopback HTTP server as the
follow station, and the simulated radio's log as the record of what reached
the radio."""

import argparse
import http.server
import os
import shutil
import socket
import socketserver
import subprocess
import sys
import tempfile
import threading
import time

DEADLINE = 20.0  # seconds for any one expected event
# The first window of a new Wine prefix waits for Wine's desktop and
# services to start: up to a minute and more under emulation or load.
WINE_START_DEADLINE = 180.0


def centre(x, y, w, h):
    return x + w // 2, y + h // 2


BUTTONS = {
    "1": (248, 16, 33, 25), "2": (280, 16, 33, 25), "3": (312, 16, 33, 25),
    "4": (248, 40, 33, 25), "5": (280, 40, 33, 25), "6": (312, 40, 33, 25),
    "7": (248, 64, 33, 25), "8": (280, 64, 33, 25), "9": (312, 64, 33, 25),
    ",": (248, 88, 33, 25), "0": (280, 88, 33, 25), "SET": (312, 88, 33, 25),
    "AM": (360, 16, 33, 25), "SSB": (360, 40, 33, 25), "ARX": (360, 64, 33, 25),
    "STR": (360, 88, 33, 25), "+": (208, 16, 33, 41), "-": (208, 72, 33, 41),
}
TRACK = (8, 88, 193, 25)
KNOB = 14  # knob width along the 18-pixel track
# The native track bar under Wine: its thumb centre runs from 13 to 179
# pixels into the control, 9 below its top.
NATIVE_KNOB = (13, 179, 9)


def knob_centre(position, native=False):
    x, y, w, _ = TRACK
    if native:
        first, last, down = NATIVE_KNOB
        return x + first + int(position / 9 * (last - first) + 0.5), y + down
    return x + int(position / 9 * (w - KNOB) + 0.5) + KNOB // 2, y + 9


class Station:
    """A follow server on loopback whose answer the test changes."""

    def __init__(self, body):
        self.body = body.encode()
        self.lock = threading.Lock()
        self.started = self.finished = 0
        self.last_start = time.monotonic()
        station = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.0"

            def do_GET(self):
                with station.lock:
                    station.started += 1
                    station.last_start = time.monotonic()
                try:
                    self.send_response(200)
                    self.send_header("Content-Type", "text/plain")
                    self.end_headers()
                    self.wfile.write(station.body)
                    # The fetch has returned once the panel closes its end;
                    # the rest of its tick then runs without taking clicks.
                    self.connection.shutdown(socket.SHUT_WR)
                    self.connection.settimeout(DEADLINE)
                    while self.connection.recv(4096):
                        pass
                except OSError:
                    pass
                finally:
                    with station.lock:
                        station.finished += 1

            def log_message(self, *args):
                pass

        self.server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        self.port = self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def quiet_for(self, seconds):
        """No fetch in progress, and none started for `seconds`."""
        with self.lock:
            return self.started == self.finished and time.monotonic() - self.last_start >= seconds

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


def wait_until(what, condition):
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        result = condition()
        if result:
            return result
        time.sleep(0.02)  # polling interval, not a wait for the event
    raise AssertionError("timed out waiting for " + what)


def wine_environment(env, args, workdir):
    """A Wine prefix of its own, on this display: the display driver is
    chosen once per Wine session, so the headless suites' one won't do. The
    suite's WINEARCH is kept: win32 where Wine has only its 32-bit half."""
    env.update(WINEPREFIX=os.path.join(workdir, "wine"), WINEARCH=env.get("WINEARCH", "win64"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
               WINEPATH="Z:" + os.path.abspath(args.sim_dir).replace("/", "\\"))
    quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineboot", "-i"], env=env, timeout=WINE_START_DEADLINE, **quiet)
    # A crash ends the program at once instead of starting Wine's debugger.
    subprocess.run(["wine", "reg", "add", "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
                    "/v", "Debugger", "/d", "", "/f"], env=env, timeout=WINE_START_DEADLINE, **quiet)
    subprocess.run(["wineserver", "-w"], env=env, timeout=WINE_START_DEADLINE, **quiet)


class Panel:
    def __init__(self, args, workdir, display, others=()):
        """others: windows of panels already running on this display, which
        the search for this one's window passes over."""
        self.log = os.path.join(workdir, "sim.log")
        self.wine = args.wine
        env = dict(os.environ, DISPLAY=display, RAVOLIN_SIM_LOG=self.log,
                   LD_LIBRARY_PATH=args.sim_dir)
        env.setdefault("ASAN_OPTIONS", "detect_leaks=0")
        self.env = env
        command = [args.ravolin]
        if self.wine:
            wine_environment(env, args, workdir)
            command = ["wine", args.ravolin]
        self.proc = subprocess.Popen(command, cwd=workdir, env=env,
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        def new_window():
            out = subprocess.run(["xdotool", "search", "--sync", "--name", "^Ravolin 3.0$"], env=env,
                                 capture_output=True, text=True,
                                 timeout=WINE_START_DEADLINE if self.wine else DEADLINE)
            fresh = [window for window in out.stdout.split() if window not in others]
            return fresh[0] if fresh else None
        self.window = wait_until("the panel's window", new_window)
        self.offset = 0

    def xdo(self, *words):
        subprocess.run(["xdotool", *words], env=self.env, check=True, timeout=DEADLINE)

    def click(self, name):
        x, y = centre(*BUTTONS[name])
        self.xdo("mousemove", "--window", self.window, str(x), str(y), "click", "1")

    def text(self):
        try:
            with open(self.log, errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def expect(self, line):
        """Waits for a log line holding `line` after the last one matched."""
        def found():
            at = self.text().find(line, self.offset)
            return at + 1 if at >= 0 else 0
        self.offset = wait_until(repr(line), found) - 1 + len(line)

    def mark(self):
        self.offset = len(self.text())

    def close(self):
        if self.wine:
            # Ends the program and every process of this prefix.
            subprocess.run(["wineserver", "-k"], env=self.env, timeout=DEADLINE)
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=DEADLINE)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        return self.proc.stdout.read().decode(errors="replace")


def follow_reports_once(output):
    """The station went away once: stderr says so in one line, however many
    ticks failed, and nothing else about following."""
    lines = [line for line in output.splitlines() if line.startswith("ravolin: following ")]
    if len(lines) == 1 and " failed: " in lines[0]:
        return True
    print("expected one line saying that following failed, got %r" % lines)
    return False


def start_xvfb():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x600x24",
                             "-nolisten", "tcp"], pass_fds=[write_fd], stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        number = f.readline().strip()
    if not number:
        raise RuntimeError("Xvfb did not start")
    return xvfb, ":" + number


def scenario(panel, station, args):
    # Start-up: nothing is sent; the first follow tick copies the station in.
    panel.expect("OPEN out")
    panel.expect("tenths 3")
    panel.expect("arx on")
    panel.expect("-> 14200 kHz AM")

    # Follow off, then manual tuning on the keypad. A tick whose fetch is
    # still under way takes clicks while it waits, and then copies the
    # station in over them: a slow machine (or an emulated one) shows it.
    # So the keys wait until no fetch is under way and none has started for
    # three timer periods.
    panel.click("STR")
    wait_until("the follow mode to stop", lambda: station.quiet_for(3.0))
    panel.mark()
    for key in ["7", "0", "5", "0", "SET"]:
        panel.click(key)
    panel.expect("-> 7050 kHz AM")
    for key in [",", "5"]:
        panel.click(key)
    panel.expect("tenths 5")
    panel.click("SSB")
    panel.expect("-> 7050 kHz SSB")
    panel.click("AM")
    panel.expect("-> 7050 kHz AM")
    panel.click("ARX")
    panel.expect("arx off")
    panel.click("+")
    panel.expect("-> 7051 kHz AM")
    panel.click("-")
    panel.expect("-> 7050 kHz AM")

    # The track bar: a drag from 5 to 8, then the arrow key it now listens to.
    x0, y = knob_centre(5, panel.wine)
    panel.xdo("mousemove", "--window", panel.window, str(x0), str(y), "mousedown", "1")
    for position in [6, 7, 8]:
        time.sleep(0.05)  # xdotool loses drag steps sent back to back
        x, _ = knob_centre(position, panel.wine)
        panel.xdo("mousemove", "--window", panel.window, str(x), str(y))
    time.sleep(0.05)
    panel.xdo("mouseup", "1")
    panel.expect("tenths 6")
    panel.expect("tenths 8")
    panel.expect("tenths 8")  # the end of the drag repeats the position
    panel.xdo("key", "Right")
    panel.expect("tenths 9")

    # Follow on again: the station is copied back; then it moves.
    panel.click("STR")
    panel.expect("tenths 3")
    panel.expect("arx on")
    panel.expect("-> 14200 kHz AM")
    station.body = b"3550\r\n7\r\nSSB\r\n0\r\n"
    panel.expect("tenths 7")
    panel.expect("arx off")
    panel.expect("-> 3550 kHz SSB")
    shot = os.path.join(args.out, "panel.png")
    # Under Wine, with no window manager, the X window is the client area.
    where = ["-window", panel.window] if panel.wine else ["-window", "root", "-crop", "409x157+289+157", "+repage"]
    subprocess.run(["import", *where, shot], env=panel.env, check=True, timeout=DEADLINE)

    # The station goes away: the fetch fails, the program goes on, and the
    # step still follows the last freq.ini on disk.
    station.stop()
    panel.mark()
    panel.click("+")
    panel.expect("-> 3551 kHz SSB")
    panel.expect("-> 3550 kHz SSB")


def drive(args, prepare, scenario, finish=lambda: None, check_output=lambda output: True):
    """Starts Xvfb and the panel in a fresh folder that prepare(folder) fills,
    runs scenario(panel), then closes everything and finish()es. True when the
    scenario passed with the panel still running and check_output accepts what
    it printed; otherwise the panel's output and the radio log are printed."""
    xvfb, display = start_xvfb()
    workdir = tempfile.mkdtemp(prefix="ravolin-e2e-")
    panel = None
    ok = False
    try:
        prepare(workdir)
        panel = Panel(args, workdir, display)
        scenario(panel)
        ok = panel.proc.poll() is None
        if not ok:
            print("the panel ended on its own")
    finally:
        output = panel.close() if panel else ""
        if ok:
            ok = check_output(output)
        finish()
        xvfb.terminate()
        xvfb.wait()
        if not ok:
            print("--- panel output\n" + output)
            print("--- radio log\n" + (panel.text() if panel else ""))
        shutil.rmtree(workdir, ignore_errors=True)
    return ok


def linux_panel_args():
    """The arguments of a scenario that runs the Linux panel: the program
    and the simulated radio's folder."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--ravolin", required=True)
    parser.add_argument("--sim-dir", required=True)
    args = parser.parse_args()
    args.wine = False
    return args


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--ravolin", required=True)
    parser.add_argument("--sim-dir", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--wine", action="store_true", help="run a Windows build of the panel under Wine")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    station = Station("14200\n3\nAM\n1\n")

    def prepare(workdir):
        with open(os.path.join(workdir, "host.ini"), "w") as f:
            f.write("http://127.0.0.1:%d/freq.ini\n" % station.port)

    def finish():
        try:
            station.stop()
        except Exception:
            pass

    # A Windows GUI program's stderr may go nowhere.
    check = (lambda output: True) if args.wine else follow_reports_once
    if not drive(args, prepare, lambda panel: scenario(panel, station, args), finish, check):
        return 1
    print("end to end: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
