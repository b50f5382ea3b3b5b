#!/usr/bin/env python3
"""Works the real panel under Xvfb from the keyboard alone (after one click
on STR to stop following): xdotool key presses on the main row and the
keypad, checked against the packets in the simulated radio's log. With
--wine, the Windows build's native window under Wine."""

import argparse
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from panel_e2e import DEADLINE, drive, knob_centre, wait_until  # noqa: E402


def sent(panel, since):
    """What each packet the radio received after `since` meant, in order."""
    return [re.sub(r"^TX (?:[0-9A-F]{2} )+", "", line)
            for line in panel.text()[since:].splitlines() if line.startswith("TX ")]


def error_box(panel, present):
    """Waits until the error box ("Ravolin", beside "Ravolin 3.0") is up, or gone."""
    def seen():
        out = subprocess.run(["xdotool", "search", "--name", "^Ravolin$"], env=panel.env,
                             capture_output=True, text=True, timeout=DEADLINE)
        return bool(out.stdout.split()) == present
    wait_until("the error box to be " + ("up" if present else "gone"), seen)


def scenario(panel):
    panel.expect("OPEN in")
    panel.expect("tenths 5")  # the first follow tick
    panel.click("STR")  # follow off: nothing but the keys tunes the panel
    start = len(panel.text())
    panel.mark()

    # The first follow tick put the station's "abc" into the frequency, so
    # "+" opens the error box. The panel takes no key while it is up: the
    # "5" goes nowhere, and SET after the box sends nothing for "abc".
    panel.xdo("key", "plus")
    error_box(panel, True)
    panel.xdo("key", "5")
    panel.xdo("key", "Return")  # the box's OK
    error_box(panel, False)
    panel.xdo("mousemove", "--window", panel.window, "1", "1", "click", "1")  # the focus back on the panel
    panel.xdo("key", "Return", "comma", "4")
    panel.expect("tenths 4")

    # Five digits, then a sixth on the keypad sets the tenths; Enter sends.
    panel.xdo("key", "1", "4", "2", "0", "0", "KP_3")
    panel.expect("tenths 3")
    panel.xdo("key", "Return")
    panel.expect("-> 14200 kHz SSB")
    # The keypad's digits and Enter.
    panel.xdo("key", "KP_7", "KP_0", "KP_5", "KP_0", "KP_Enter")
    panel.expect("-> 7050 kHz SSB")
    # "," and "." (and the keypad's decimal key) make the next digit the tenths.
    panel.xdo("key", "comma", "5")
    panel.expect("tenths 5")
    panel.xdo("key", "period", "KP_6")
    panel.expect("tenths 6")
    panel.xdo("key", "KP_Decimal", "7")
    panel.expect("tenths 7")
    # The step buttons, on the main row (a shifted key on this layout) and the keypad.
    panel.xdo("key", "plus")
    panel.expect("-> 7051 kHz SSB")
    panel.xdo("key", "minus")
    panel.expect("-> 7050 kHz SSB")
    panel.xdo("key", "KP_Add")
    panel.expect("-> 7051 kHz SSB")
    panel.xdo("key", "KP_Subtract")
    panel.expect("-> 7050 kHz SSB")

    # With the track bar focused (a click on its knob), the arrow keys still
    # move it, and a digit and Enter still reach their buttons.
    x, y = knob_centre(7, panel.wine)
    panel.xdo("mousemove", "--window", panel.window, str(x), str(y), "click", "1")
    panel.expect("tenths 7")  # the end of the click on the knob
    panel.xdo("key", "Right")
    panel.expect("tenths 8")
    panel.xdo("key", "9", "Return")
    panel.expect("-> 9 kHz SSB")

    # Every key pressed its button once and nothing else was sent.
    frequency = ["freq-word N=", "mode SSB"]
    expected = (["tenths 4", "tenths 3"] + frequency + frequency + ["tenths 5", "tenths 6", "tenths 7"] + frequency * 4
                + ["tenths 7", "tenths 8"] + frequency)
    got = sent(panel, start)
    if panel.wine:
        # The native track bar notifies a click on its knob and an arrow key
        # more than once (the move, then the end of it), each one a tenths
        # packet of the same position.
        got = [g for i, g in enumerate(got) if i == 0 or not (g.startswith("tenths") and g == got[i - 1])]
    assert len(got) == len(expected) and all(g.startswith(e) for g, e in zip(got, expected)), \
        "packets sent:\n" + "\n".join(got)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--ravolin", required=True)
    parser.add_argument("--sim-dir", required=True)
    parser.add_argument("--wine", action="store_true", help="run a Windows build of the panel under Wine")
    args = parser.parse_args()

    def prepare(workdir):
        # No station: the first follow tick copies in the tenths 5 and a
        # frequency that is no number, which sends nothing and sets up the
        # error box.
        with open(os.path.join(workdir, "host.ini"), "w") as f:
            f.write("\n")
        with open(os.path.join(workdir, "freq.ini"), "w") as f:
            f.write("abc\n5\nSSB\n0\n")

    if not drive(args, prepare, scenario):
        return 1
    print("keyboard end to end: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
