#!/usr/bin/env python3
"""The Linux program end to end: on a virtual display, driven like a user with
xdotool, its sound captured (SOLVANE_AUDIO=capture:DIR) and measured.

usage: play_test.py SOLVANE ARTIFACT_DIR   (run under xvfb-run)
"""
import array
import math
import os
import subprocess
import sys
import tempfile
import time

PANEL = (42, 32)  # the client area's place on a screen without a window manager
RATE = 48000


def run(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kw).stdout


def await_(condition, what, timeout=10.0):
    """Waits for condition() to hold, polling; fails the test after timeout."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    sys.exit(f"FAILED: waited {timeout} s for {what}")


def tone(path, hz, seconds):
    """A stereo 16-bit sine at half of full scale, written by sox."""
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", path, "synth", str(seconds), "sine", str(hz),
                    "vol", "0.5"], check=True)


class Capture:
    """A captured float WAV, stereo at 48 kHz."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()[46:]
        samples = array.array("f")
        samples.frombytes(data[: len(data) // 8 * 8])
        self.left, self.right = samples[0::2], samples[1::2]

    def sounding(self):
        """The first and one past the last frame above -60 dBFS."""
        loud = [i for i in range(len(self.left)) if abs(self.left[i]) > 0.001 or abs(self.right[i]) > 0.001]
        return (loud[0], loud[-1] + 1) if loud else (None, None)

    @staticmethod
    def level(samples, start, end):
        part = samples[start:end]
        power = sum(x * x for x in part) / max(1, len(part))
        return 10 * math.log10(power) if power > 0 else -200.0

    @staticmethod
    def frequency(samples, start, end):
        ups = [i for i in range(start + 1, end) if samples[i - 1] < 0 <= samples[i]]
        return (len(ups) - 1) * RATE / (ups[-1] - ups[0]) if len(ups) > 2 else 0.0


class Panel:
    def __init__(self, program, captures):
        env = dict(os.environ, SOLVANE_AUDIO="capture:" + captures)
        self.process = subprocess.Popen([program], env=env)
        self.captures = captures
        self.window = await_(self.find, "the panel")
        run("xdotool", "windowfocus", "--sync", self.window)

    @staticmethod
    def find():
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^SOLVANE$"],
                               capture_output=True, text=True)
        return found.stdout.split()[0] if found.returncode == 0 and found.stdout.split() else None

    def keys(self, *keys):
        run("xdotool", "key", "--delay", "30", *keys)

    def type(self, text):
        run("xdotool", "type", "--delay", "5", text)

    def field(self, mnemonic_keys, text):
        """Puts text into the field a mnemonic reaches (its old text selected)."""
        self.keys(*mnemonic_keys)
        self.keys("BackSpace")
        if text:
            self.type(text)

    def click(self, x, y):
        run("xdotool", "mousemove", "--sync", str(PANEL[0] + x), str(PANEL[1] + y), "click", "1")

    def clipboard_of_focused_field(self):
        self.keys("ctrl+a", "ctrl+c")
        return run("xclip", "-o", "-selection", "clipboard")

    def capture(self, serial):
        return os.path.join(self.captures, f"graph{serial}-0.wav")

    def finished(self, serial, quiet=0.4):
        """True once a graph's capture has stopped growing for a while."""
        path = self.capture(serial)
        if not os.path.exists(path):
            return False
        return time.time() - os.path.getmtime(path) > quiet


def check(condition, message):
    if not condition:
        sys.exit("FAILED: " + message)
    print("ok:", message)


def main(program, artifacts):
    os.makedirs(artifacts, exist_ok=True)
    files = tempfile.mkdtemp(prefix="solvane-e2e-")
    captures = tempfile.mkdtemp(prefix="solvane-capture-")
    tone(f"{files}/a.wav", 440, 1.0)
    tone(f"{files}/b.wav", 660, 1.0)
    tone(f"{files}/c.wav", 880, 1.0)
    tone(f"{files}/long.wav", 440, 8.0)
    tone(f"{files}/short.wav", 440, 0.3)

    panel = Panel(program, captures)
    # Three tracks, with delays of 1.5 and 2 seconds before tracks 2 and 3.
    panel.field(["alt+1"], f"{files}/a.wav")
    panel.field(["alt+2"], f"{files}/b.wav")
    panel.field(["alt+3"], f"{files}/c.wav")
    panel.field(["alt+d"], "1.5")
    panel.keys("Tab")
    panel.keys("BackSpace")
    panel.type("2")
    run("import", "-window", "root", "-crop", "560x140+0+0", f"{artifacts}/linux-panel.png")
    panel.keys("alt+p")
    await_(lambda: panel.finished(2), "the third track to end", 15)
    starts = [Capture(panel.capture(i)).sounding()[0] / RATE for i in range(3)]
    check(abs(starts[1] - starts[0] - 1.5) < 0.03 + 0.05, f"track 2 starts 1.5 s after track 1 ({starts[1] - starts[0]:.3f})")
    check(abs(starts[2] - starts[0] - 3.5) < 0.03 + 0.1, f"track 3 starts 3.5 s after track 1 ({starts[2] - starts[0]:.3f})")

    # The end of the last track reset the panel: Play is enabled again. One
    # track this time, and no delays (the panel sleeps through them), with
    # the bars and the spinner used while it plays.
    panel.field(["alt+2"], "")
    panel.field(["alt+3"], "")
    panel.field(["alt+d"], "")
    panel.keys("Tab", "BackSpace")
    panel.field(["alt+1"], f"{files}/long.wav")
    panel.keys("alt+p")
    await_(lambda: os.path.exists(panel.capture(3)), "the replaced graph to play")
    time.sleep(0.6)
    panel.click(151 * 2 + 4, 11 * 2 + 10)  # track 1's volume bar, left arrow: -6 dB
    time.sleep(0.6)
    panel.keys("alt+b", "Next", "Next", "Next", "Next")  # balance to its right end
    time.sleep(0.6)
    panel.click(231 * 2 + 10, 11 * 2 + 4)  # track 1's spinner, upper arrow: a semitone up
    time.sleep(0.6)
    panel.keys("alt+s")
    await_(lambda: panel.finished(3), "Stop to silence the track")
    panel.keys("alt+r")
    rate_text = panel.clipboard_of_focused_field()
    check(rate_text == "105.9463094359295354", f"the rate field reads {rate_text}")

    c = Capture(panel.capture(3))
    first, last = c.sounding()
    length = (last - first) / RATE
    check(length < 7, f"Stop silenced the track before its end ({length:.2f} s of 8)")
    window = RATE // 10
    levels = [(Capture.level(c.left, i, i + window), Capture.level(c.right, i, i + window))
              for i in range(first, last - window, window)]
    full = levels[1][0]
    after_volume = [l for l in levels if abs(l[0] - (full - 6)) < 0.5 and abs(l[1] - (full - 6)) < 0.5]
    check(len(after_volume) >= 3, f"the volume click lowered the level by 6 dB (from {full:.1f} dB)")
    silent_left = [i for i, l in enumerate(levels) if l[0] < -80]
    check(len(silent_left) >= 3, "the balance bar at its right end silenced the left channel")
    tail = Capture.frequency(c.right, last - 2 * window, last - window // 2)
    check(abs(tail - 466.16) < 3, f"the spinner raised 440 Hz to {tail:.1f} Hz")
    check(abs(Capture.level(c.right, last - 2 * window, last - window) - (full - 6)) < 0.7,
          "the right channel kept its level")

    # Loop: a short track plays again and again until Loop is cleared.
    panel.field(["alt+1"], f"{files}/short.wav")
    panel.keys("alt+l", "alt+p")
    await_(lambda: os.path.exists(panel.capture(9)) and os.path.exists(panel.capture(12)), "two replays")
    panel.keys("alt+l")
    await_(lambda: all(panel.finished(s, 0.8) for s in range(6, 40, 3) if os.path.exists(panel.capture(s))),
           "the loop to end once Loop is cleared")
    replays = [s for s in range(6, 60, 3) if os.path.exists(panel.capture(s))]
    check(len(replays) >= 3, f"Loop played the track {len(replays)} times")

    panel.keys("Escape")
    code = panel.process.wait(10)
    check(code == 0, "Esc closed the panel with exit code 0")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
