#!/usr/bin/env python3
"""Builds the Debian package from the build tree and checks it: what it holds,
lintian, the desktop entry and metainfo validators, that its dependencies
resolve on this machine (a simulated install: nothing on the machine is
installed or removed), and the program unpacked into a scratch root, started
through its launcher under Xvfb with a scratch HOME."""

import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from panel_e2e import DEADLINE, start_xvfb, wait_until  # noqa: E402

EXPECTED = [
    "usr/bin/ravolin",
    "usr/lib/ravolin/libmpusbapi.so",
    "usr/lib/ravolin/sim/libmpusbapi.so",
    "usr/lib/udev/rules.d/70-ravolin-radio.rules",
    "usr/libexec/ravolin/ravolin-launcher",
    "usr/share/applications/org.ravolin.Ravolin.desktop",
    "usr/share/metainfo/org.ravolin.Ravolin.metainfo.xml",
    "usr/share/icons/hicolor/scalable/apps/ravolin.svg",
    "usr/share/man/man1/ravolin.1.gz",
    "usr/share/doc/ravolin/copyright",
    "usr/share/doc/ravolin/changelog.gz",
] + ["usr/share/icons/hicolor/%dx%d/apps/ravolin.png" % (s, s) for s in (16, 22, 24, 32, 48, 64, 128, 256)]


def run(*command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=300, **kwargs)


def the_deb(deb_dir):
    debs = glob.glob(os.path.join(deb_dir, "ravolin_*.deb"))
    if len(debs) != 1:
        raise AssertionError("expected one package in %s, found %s (did package_build pass?)" % (deb_dir, debs))
    return debs[0]


def unpacked(deb):
    root = tempfile.mkdtemp(prefix="ravolin-root-")
    subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
    return root


def build(args):
    for old in glob.glob(os.path.join(args.deb_dir, "ravolin_*.deb")):
        os.remove(old)
    result = run("cpack", "--config", os.path.join(args.build_dir, "CPackConfig.cmake"), "-B", args.deb_dir)
    print(result.stdout + result.stderr)
    assert result.returncode == 0, "cpack failed"
    deb = the_deb(args.deb_dir)
    print("%s: %d bytes" % (os.path.basename(deb), os.path.getsize(deb)))


def contents(args):
    deb = the_deb(args.deb_dir)
    fields = run("dpkg-deb", "--field", deb).stdout
    print(fields)
    assert re.search(r"^Package: ravolin$", fields, re.M), "package name"
    assert re.search(r"^Section: hamradio$", fields, re.M), "section"
    depends = re.search(r"^Depends: (.*)$", fields, re.M)
    assert depends and "libusb-1.0-0" in depends.group(1) and "libfltk1.3" in depends.group(1), \
        "shlibdeps should name the libraries the binaries link"

    root = unpacked(deb)
    try:
        missing = [path for path in EXPECTED if not os.path.isfile(os.path.join(root, path))]
        assert not missing, "missing from the package: %s" % missing
        assert os.access(os.path.join(root, "usr/libexec/ravolin/ravolin-launcher"), os.X_OK)
        for binary in ["usr/bin/ravolin", "usr/lib/ravolin/libmpusbapi.so", "usr/lib/ravolin/sim/libmpusbapi.so"]:
            described = run("file", "-b", os.path.join(root, binary)).stdout
            assert ", stripped" in described, "%s is not stripped: %s" % (binary, described)
        dynamic = run("readelf", "-d", os.path.join(root, "usr/bin/ravolin")).stdout
        # RUNPATH, not RPATH, so that LD_LIBRARY_PATH still comes first.
        assert re.search(r"\(RUNPATH\)\s+Library runpath: \[\$ORIGIN/\.\./lib/ravolin\]", dynamic), dynamic
        assert "(RPATH)" not in dynamic, dynamic
        # uaccess is acted on by 73-seat-late.rules: the rule must come before it.
        rules = [os.path.basename(p) for p in glob.glob(os.path.join(root, "usr/lib/udev/rules.d/*.rules"))]
        assert rules and all(int(name.split("-")[0]) < 73 for name in rules), rules
        for size in (16, 22, 24, 32, 48, 64, 128, 256):
            png = os.path.join(root, "usr/share/icons/hicolor/%dx%d/apps/ravolin.png" % (size, size))
            assert "%d x %d" % (size, size) in run("file", "-b", png).stdout, png
    finally:
        shutil.rmtree(root, ignore_errors=True)


def lint(args):
    result = run("lintian", "--fail-on", "error", "--display-info", the_deb(args.deb_dir))
    print(result.stdout + result.stderr)
    assert result.returncode == 0, "lintian reports errors"
    assert not re.search(r"^E: ", result.stdout, re.M)


def validate(args):
    root = unpacked(the_deb(args.deb_dir))
    try:
        for command in (["desktop-file-validate", "usr/share/applications/org.ravolin.Ravolin.desktop"],
                        ["appstreamcli", "validate", "--no-net", "usr/share/metainfo/org.ravolin.Ravolin.metainfo.xml"]):
            result = run(*command[:-1], os.path.join(root, command[-1]))
            print(" ".join(command) + "\n" + result.stdout + result.stderr)
            assert result.returncode == 0, command[0] + " failed"
        with open(os.path.join(root, "usr/share/metainfo/org.ravolin.Ravolin.metainfo.xml")) as f:
            assert "<modalias>usb:v04D8p000C*</modalias>" in f.read()
    finally:
        shutil.rmtree(root, ignore_errors=True)


def resolve(args):
    # A simulation: apt works out what the install would need and changes nothing.
    result = run("apt-get", "install", "--simulate", "--no-install-recommends", "./" + os.path.basename(the_deb(args.deb_dir)),
                 cwd=args.deb_dir)
    print(result.stdout + result.stderr)
    assert result.returncode == 0, "the package's dependencies do not resolve"
    assert re.search(r"^(Inst|Conf) ravolin ", result.stdout, re.M), "apt would not install it"


def read(path):
    with open(path, errors="replace") as f:
        return f.read()


class Started:
    """The unpacked program started through its launcher, as the menu does."""

    def __init__(self, root, display, home, extra_env):
        desktop = read(os.path.join(root, "usr/share/applications/org.ravolin.Ravolin.desktop"))
        command = re.search(r"^Exec=(\S+)$", desktop, re.M).group(1)
        assert command.startswith("/usr/"), command
        env = {k: v for k, v in os.environ.items() if k not in ("LD_LIBRARY_PATH", "XDG_CONFIG_HOME")}
        env.update(HOME=home, DISPLAY=display, **extra_env)
        self.env = env
        self.log = os.path.join(home, "stderr.txt")
        with open(self.log, "w") as err:
            self.proc = subprocess.Popen([root + command], cwd="/", env=env, stdin=subprocess.DEVNULL,
                                         stdout=err, stderr=subprocess.STDOUT)

    def radio_line(self):
        return wait_until("the radio line", lambda: re.search(r"^ravolin: radio: .*$", read(self.log), re.M)).group(0)

    def window_up(self):
        out = subprocess.run(["xdotool", "search", "--sync", "--name", "^Ravolin 3.0$"], env=self.env,
                             capture_output=True, text=True, timeout=DEADLINE)
        return out.stdout.split()

    def stop(self):
        running = self.proc.poll() is None
        if running:
            self.proc.terminate()
            self.proc.wait(timeout=DEADLINE)
        return running


def start(args):
    root = unpacked(the_deb(args.deb_dir))
    xvfb, display = start_xvfb()
    try:
        # First start from the menu: the per-user folder is made, and the
        # program loads the library unpacked beside it, with no
        # LD_LIBRARY_PATH, through its run path.
        home = tempfile.mkdtemp(prefix="ravolin-home-", dir=root)
        panel = Started(root, display, home, {})
        try:
            assert panel.window_up(), "no window"
            line = panel.radio_line()
            print(line)
            assert line.startswith("ravolin: radio: %s/usr/lib/ravolin/libmpusbapi.so " % os.path.realpath(root)), line
            folder = os.path.join(home, ".config", "ravolin")
            assert read(os.path.join(folder, "host.ini")).split("\n")[0] == "", "host.ini's first line is not empty"
            assert read(os.path.join(folder, "freq.ini")) == "7050\n0\nSSB\n0\n", read(os.path.join(folder, "freq.ini"))
        finally:
            assert panel.stop(), "the panel ended on its own:\n" + read(panel.log)

        # Again, with XDG_CONFIG_HOME naming a folder whose host.ini is the
        # user's own (left alone), and LD_LIBRARY_PATH picking the simulated
        # radio ahead of the run path.
        config = os.path.join(home, "elsewhere")
        os.makedirs(os.path.join(config, "ravolin"))
        with open(os.path.join(config, "ravolin", "host.ini"), "w") as f:
            f.write("\nthe user's own\n")
        sim = os.path.join(root, "usr/lib/ravolin/sim")
        panel = Started(root, display, home, {"XDG_CONFIG_HOME": config, "LD_LIBRARY_PATH": sim})
        try:
            assert panel.window_up(), "no window"
            line = panel.radio_line()
            print(line)
            assert line.startswith("ravolin: radio: %s/libmpusbapi.so (the simulated radio): both pipes open"
                                   % os.path.realpath(sim)), line
            assert read(os.path.join(config, "ravolin", "host.ini")) == "\nthe user's own\n"
            assert read(os.path.join(config, "ravolin", "freq.ini")) == "7050\n0\nSSB\n0\n"
        finally:
            assert panel.stop(), "the panel ended on its own:\n" + read(panel.log)
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(root, ignore_errors=True)


def main():
    steps = {"build": build, "contents": contents, "lint": lint, "validate": validate, "resolve": resolve,
             "start": start}
    parser = argparse.ArgumentParser()
    parser.add_argument("step", choices=sorted(steps))
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--deb-dir", required=True)
    args = parser.parse_args()
    os.makedirs(args.deb_dir, exist_ok=True)
    steps[args.step](args)
    print("package %s: ok" % args.step)
    return 0


if __name__ == "__main__":
    sys.exit(main())
