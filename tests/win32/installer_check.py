#!/usr/bin/env python3
"""The Windows installer, made with cpack and run silently (/S) in a fresh
Wine prefix of its own: it asks for no elevation; it puts the program under
%LOCALAPPDATA%\\Programs\\Ravolin and nothing under Program Files or HKLM; its
Start-menu shortcut (read from the .lnk) starts ravolin.exe in
%APPDATA%\\Ravolin, which holds host.ini with an empty first line; the
uninstall entry is under HKCU; a second install keeps the operator's
host.ini; and the uninstaller (/S) removes the program and the shortcut and
keeps the operator's files."""

import argparse
import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_resources import execution_level, manifest, resources  # noqa: E402

DEADLINE = 180.0  # seconds: a new prefix under emulation takes a minute and more
UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ravolin"
QUIET = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def read_link(path):
    """(target, working folder) of a shell link file."""
    data = open(path, "rb").read()
    flags = struct.unpack_from("<I", data, 0x14)[0]
    at = 0x4C
    target = ""
    if flags & 0x01:  # a target ID list
        at += 2 + struct.unpack_from("<H", data, at)[0]
    if flags & 0x02:  # link info, with the target's local path
        size, _, info_flags, _, base_at = struct.unpack_from("<IIIII", data, at)
        suffix_at = struct.unpack_from("<I", data, at + 24)[0]
        if info_flags & 1:
            base = data[at + base_at:data.index(b"\0", at + base_at)].decode("mbcs" if os.name == "nt" else "latin-1")
            suffix = data[at + suffix_at:data.index(b"\0", at + suffix_at)].decode("latin-1")
            target = base + suffix
        at += size
    wide = bool(flags & 0x80)
    strings = {}
    for bit, name in ((0x04, "name"), (0x08, "relative"), (0x10, "workdir"), (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, at)[0]
            length = count * (2 if wide else 1)
            raw = data[at + 2:at + 2 + length]
            strings[name] = raw.decode("utf-16-le" if wide else "latin-1").rstrip("\0")  # Wine counts the 0
            at += 2 + length
    return target, strings.get("workdir", "")


def reg_values(env, key):
    """The values of a registry key, or None when there is no such key."""
    out = subprocess.run(["wine", "reg", "query", key], env=env, capture_output=True, text=True,
                         stdin=subprocess.DEVNULL, timeout=DEADLINE)
    if out.returncode != 0 or "REG_" not in out.stdout:
        return None
    values = {}
    for line in out.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) == 3 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2]
    return values


def wait_until(what, condition):
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.1)  # polling interval, not a wait for the event
    raise AssertionError("timed out waiting for " + what)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    args = parser.parse_args()
    scratch = tempfile.mkdtemp(prefix="ravolin-installer-")
    problems = []
    env = dict(os.environ, WINEPREFIX=os.path.join(scratch, "prefix"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    env.pop("DISPLAY", None)
    try:
        made = subprocess.run(["cpack", "--config", os.path.join(args.build_dir, "CPackConfig.cmake"), "-G", "NSIS",
                               "-B", os.path.join(scratch, "out")], capture_output=True, text=True, timeout=DEADLINE)
        installers = glob.glob(os.path.join(scratch, "out", "*.exe"))
        if made.returncode != 0 or len(installers) != 1:
            print(made.stdout + made.stderr)
            print("Installer: cpack made no single installer")
            return 1
        installer = installers[0]
        level = execution_level(manifest(resources(installer)))
        if level != "asInvoker":
            problems.append("the installer asks for execution level %s" % level)

        subprocess.run(["wineboot", "-i"], env=env, timeout=DEADLINE, **QUIET)
        subprocess.run(["wine", "reg", "add", "HKCU\\Software\\Wine\\Drivers", "/v", "Graphics", "/d", "null", "/f"],
                       env=env, timeout=DEADLINE, **QUIET)
        subprocess.run(["wine", installer, "/S"], env=env, timeout=DEADLINE, **QUIET)

        drive = os.path.join(env["WINEPREFIX"], "drive_c")
        homes = glob.glob(os.path.join(drive, "users", "*", "AppData", "Local", "Programs", "Ravolin"))
        if len(homes) != 1:
            problems.append("installed in %s" % homes)
            raise StopIteration
        program = homes[0]
        user = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(program))))
        files = sorted(os.path.relpath(os.path.join(d, f), program) for d, _, fs in os.walk(program) for f in fs)
        if files != ["README.txt", "Uninstall.exe", "ravolin.exe", os.path.join("sim", "mpusbapi.dll")]:
            problems.append("the program folder holds %s" % files)
        elsewhere = glob.glob(os.path.join(drive, "Program Files*", "Ravolin"))
        if elsewhere:
            problems.append("also installed in %s" % elsewhere)

        work = os.path.join(user, "AppData", "Roaming", "Ravolin")
        host = os.path.join(work, "host.ini")
        if open(host, "rb").read().splitlines()[:1] not in ([b""], []):
            problems.append("host.ini's first line is not empty")

        link = os.path.join(user, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                            "Ravolin.lnk")
        target, workdir = read_link(link) if os.path.exists(link) else ("(no shortcut)", "")
        if not target.lower().endswith("\\appdata\\local\\programs\\ravolin\\ravolin.exe"):
            problems.append("the shortcut starts %r" % target)
        if not workdir.lower().endswith("\\appdata\\roaming\\ravolin"):
            problems.append("the shortcut starts it in %r" % workdir)

        entry = reg_values(env, "HKCU\\" + UNINSTALL_KEY) or {}
        expected = {"DisplayName": "Ravolin 3.0", "DisplayVersion": "3.0", "Publisher": "Ravolin"}
        if any(entry.get(k) != v for k, v in expected.items()) or "Uninstall.exe" not in entry.get(
                "UninstallString", ""):
            problems.append("the uninstall entry holds %r" % entry)
        if reg_values(env, "HKLM\\" + UNINSTALL_KEY) is not None:
            problems.append("an uninstall entry under HKLM")

        # The operator's files survive another install and the uninstall.
        mine = {"host.ini": b"http://192.0.2.1:8073/freq.ini\r\n", "serve.ini": b"127.0.0.1:8073\r\n"}
        for name, text in mine.items():
            open(os.path.join(work, name), "wb").write(text)
        subprocess.run(["wine", installer, "/S"], env=env, timeout=DEADLINE, **QUIET)
        subprocess.run(["wine", os.path.join(program, "Uninstall.exe"), "/S"], env=env, timeout=DEADLINE, **QUIET)
        # The uninstaller goes on in a copy of itself: wait for its work.
        wait_until("the uninstaller", lambda: not os.path.exists(program) and not os.path.exists(link))
        wait_until("the uninstall entry to go", lambda: reg_values(env, "HKCU\\" + UNINSTALL_KEY) is None)
        kept = {name: open(os.path.join(work, name), "rb").read() for name in mine if
                os.path.exists(os.path.join(work, name))}
        if kept != mine or not os.path.exists(os.path.join(work, "freq.ini")):
            problems.append("after uninstalling, the operator's folder holds %r" % sorted(os.listdir(work)))
    except StopIteration:
        pass
    except AssertionError as error:
        problems.append(str(error))
    finally:
        subprocess.run(["wineserver", "-k"], env=env, timeout=DEADLINE, **QUIET)
        shutil.rmtree(scratch, ignore_errors=True)

    for problem in problems:
        print("Installer: " + problem)
    if problems:
        return 1
    print("Installer: per user, shortcut, first-start folder, uninstall entry and uninstall as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
