#!/usr/bin/env python3
"""Works the real panel under Xvfb from the keyboard alone (after one click
on STR to stop following): xdotool key presses on the main row and the
keypad, checked against the packets in the simulated radio's log."""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from panel_e2e import drive, knob_centre, linux_panel_args  # noqa: E402


def sent(panel, since):
    """What each packet the radio received after `since` meant, in order."""
    return [re.sub(r"^TX (?:[0-9A-F]{2} )+", "", line)
            for line in panel.text()[since:].splitlines() if line.startswith("TX ")]


def scenario(panel):
    panel.expect("OPEN in")
    panel.click("STR")  # follow off: nothing but the keys tunes the panel
    start = len(panel.text())
    panel.mark()

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
    x, y = knob_centre(7)
    panel.xdo("mousemove", "--window", panel.window, str(x), str(y), "click", "1")
    panel.expect("tenths 7")  # the end of the click on the knob
    panel.xdo("key", "Right")
    panel.expect("tenths 8")
    panel.xdo("key", "9", "Return")
    panel.expect("-> 9 kHz SSB")

    # Every key pressed its button once and nothing else was sent.
    frequency = ["freq-word N=", "mode SSB"]
    expected = (["tenths 3"] + frequency + frequency + ["tenths 5", "tenths 6", "tenths 7"] + frequency * 4
                + ["tenths 7", "tenths 8"] + frequency)
    got = sent(panel, start)
    assert len(got) == len(expected) and all(g.startswith(e) for g, e in zip(got, expected)), \
        "packets sent:\n" + "\n".join(got)


def main():
    args = linux_panel_args()

    def prepare(workdir):
        # No station, and the panel's own start state on disk: the follow
        # ticks before STR send nothing.
        with open(os.path.join(workdir, "host.ini"), "w") as f:
            f.write("\n")
        with open(os.path.join(workdir, "freq.ini"), "w") as f:
            f.write("7050\n0\nSSB\n0\n")

    if not drive(args, prepare, scenario):
        return 1
    print("keyboard end to end: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
