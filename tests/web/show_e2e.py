#!/usr/bin/python3
"""The browser edition held to the native show, in headless Chromium:

  frames   each ?frame=N drawn in the browser against the same show frame of a
           native --archive capture of the same pack (mean difference per
           channel at most 1/255, at most 0.5 % of pixels more than 16 off)
  sound    played from a cue with sound: the show clock follows the sound's
           clock, and the cues come in order, each while the sound is at it
  keys     p holds the picture still; Right, paused, shows the next cue's frame

  show_e2e.py SITE MARROWICK DATA OUT   (OUT: where the pictures go)
"""

import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, BrowserError, serve_folder  # noqa: E402
from pngdiff import compare  # noqa: E402

WIDTH, HEIGHT = 640, 480
PERIOD_MS = 12

# Two frames or more a section, each showing something that can go wrong:
# (frame, what it shows).
FRAMES = [
    (700, "chess: the queen sphere-mapped in the room's sky box"),
    (1500, "chess: a title card fading over the board"),
    (2600, "chess: the pawn tumbling in its cube, the smoke's particles"),
    (3700, "ship: the ship over its sky and grass"),
    (4700, "ship: the ship with a card fading in"),
    (5700, "alien: the speaker and the walker"),
    (6600, "alien: the tumbling ship, a toon card"),
    (7500, "credits: the credits card"),
    (8400, "credits: the salute"),
]
MEAN_LIMIT = 1.0        # of 255, per channel
OFF_LIMIT = 0.005       # of the pixels
OFF_BY = 16


def native_frame(marrowick, data, frame, out):
    """Show frame `frame` from a native --archive capture, as a PNG: at 250/3
    video frames a second each video frame is one show frame."""
    video = os.path.join(out, "native-%d.mkv" % frame)
    picture = os.path.join(out, "native-%d.png" % frame)
    ms = frame * PERIOD_MS
    subprocess.run([marrowick, "--data", data, "--capture", video, "--archive", "--size", "%dx%d" % (WIDTH, HEIGHT),
                    "--fps", "250/3", "--from", "%d.%03d" % (ms // 1000, ms % 1000),
                    "--to", "%d.%03d" % ((ms + PERIOD_MS) // 1000, (ms + PERIOD_MS) % 1000)],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", video, "-frames:v", "1", picture], check=True)
    with open(picture, "rb") as f:
        return f.read()


def open_page(browser, base, query):
    page = browser.open("about:blank")
    page._send("Emulation.setDeviceMetricsOverride",
               {"width": WIDTH, "height": HEIGHT, "deviceScaleFactor": 1, "mobile": False})
    page.navigate(base + "index.html" + query)
    return page


def press(page, key, code, key_code):
    for kind in ("keyDown", "keyUp"):
        page._send("Input.dispatchKeyEvent", {"type": kind, "key": key, "code": code,
                                              "windowsVirtualKeyCode": key_code})


def chapters_of(data):
    """(name, the frame that reads it, its own time in ms) from the track's
    cue sheet, which the site's data holds in place of the track."""
    rate, cues = 0, []
    with open(data, encoding="utf-8") as f:
        for line in f:
            fields = line.split(None, 3)
            if fields[0] == "rate":
                rate = int(fields[1])
            elif fields[0] == "cue" and len(fields) == 4:
                cues.append((fields[3].strip(), int(fields[2])))
    per_frame = PERIOD_MS * rate
    return sorted(((name, ((sample + 1) * 1000 + per_frame - 1) // per_frame, sample * 1000 / rate)
                   for name, sample in cues), key=lambda c: c[1])


def check_frames(browser, base, marrowick, data, out):
    failures = []
    print("frame  mean/255  off>%d   what" % OFF_BY)
    for frame, what in FRAMES:
        page = open_page(browser, base, "?frame=%d" % frame)
        try:
            page.wait_title("^frame %d$" % frame, 120)
            web = page.canvas_png("#canvas")
        finally:
            page.close()
        with open(os.path.join(out, "web-%d.png" % frame), "wb") as f:
            f.write(web)
        native = native_frame(marrowick, data, frame, out)
        mean, off, _ = compare(web, native, OFF_BY, os.path.join(out, "diff-%d.png" % frame))
        print("%5d  %8.3f  %6.3f %%  %s" % (frame, mean, off * 100, what))
        if mean > MEAN_LIMIT or off > OFF_LIMIT:
            failures.append("frame %d (%s): mean %.3f/255, %.3f %% off" % (frame, what, mean, off * 100))
    return failures


def check_sound_and_keys(browser, base, chapters):
    failures = []
    start_cue = "queenRoll2"
    page = open_page(browser, base, "?from=" + start_cue)
    try:
        page.wait_title("^Marrowick$", 120)
        page.evaluate("new Promise(r => { const b = document.getElementById('start');"
                      " const go = () => b.disabled ? setTimeout(go, 50) : (b.click(), r()); go(); })")
        heard_ms = "(Module.marrowickSound.context.currentTime - Module.marrowickSound.startedAt) * 1000"
        page.evaluate("new Promise(r => { const go = () => Module.marrowickSound && Module.marrowickSound.source"
                      " ? r() : setTimeout(go, 50); go(); })", 120)
        began, heard_then = time.monotonic(), page.evaluate(heard_ms)
        # Eight seconds of the show, through two cues.
        while time.monotonic() - began < 8:
            browser._pump(0.25)
        seen = page.evaluate("Module.marrowickChapters || []")
        heard = page.evaluate(heard_ms) - heard_then
        wall = (time.monotonic() - began) * 1000
        names = [c["name"] for c in seen]
        expected = [name for name, _, _ in chapters]
        first = expected.index(start_cue)
        if len(names) < 2 or names != expected[first:first + len(names)]:
            failures.append("not the cues from %s on, in order: %s" % (start_cue, names))
        print("cue            frame  its own ms  heard ms  show ms")
        by_name = {name: (frame, ms) for name, frame, ms in chapters}
        for c in seen:
            frame, own_ms = by_name[c["name"]]
            shown_ms = c["frame"] * PERIOD_MS
            print("%-13s %6d  %10.0f  %8.0f  %7d" % (c["name"], c["frame"], own_ms, c["soundMs"], shown_ms))
            # The show clock follows the sound's: the frame drawn is the one due.
            if abs(c["soundMs"] - shown_ms) > PERIOD_MS:
                failures.append("%s drawn at show time %d ms while the sound was at %.0f ms"
                                % (c["name"], shown_ms, c["soundMs"]))
            # The cue is read by the frame after the one during which the sound
            # passes it: the first frame shown in it is at or after that.
            if c["frame"] < frame:
                failures.append("%s shown from frame %d, before the frame that reads it (%d)"
                                % (c["name"], c["frame"], frame))
        if abs(heard - wall) > 500:
            failures.append("the sound played %.0f ms in %.0f ms of the wall clock" % (heard, wall))

        # p: the picture holds still, the sound with it.
        press(page, "p", "KeyP", 80)
        browser._pump(0.3)
        held = page.evaluate("Module.marrowickFrame")
        browser._pump(1.0)
        if page.evaluate("Module.marrowickFrame") != held:
            failures.append("p: the show went on from frame %s" % held)
        if page.evaluate("Module.marrowickSound.context.state") != "suspended":
            failures.append("p: the sound went on")
        # Right, paused: the next cue's first frame is shown.
        press(page, "ArrowRight", "ArrowRight", 39)
        browser._pump(0.5)
        landed = page.evaluate("Module.marrowickFrame")
        next_frame = min(frame for _, frame, _ in chapters if frame > held)
        if landed != next_frame:
            failures.append("Right from frame %s showed frame %s, not the next cue's %d" % (held, landed, next_frame))
        print("p held frame %s; Right showed frame %s (next cue's: %d)" % (held, landed, next_frame))
    finally:
        for line in page.console:
            if "error" in line.lower() and "favicon" not in line and "404" not in line:
                failures.append("console: " + line)
        page.close()
    return failures


def main(argv):
    if len(argv) != 5:
        print(__doc__, file=sys.stderr)
        return 2
    site, marrowick, data, out = argv[1:]
    os.makedirs(out, exist_ok=True)
    chapters = chapters_of(os.path.join(site, "..", "data", "pack", "demot.wav"))
    failures = []
    try:
        with serve_folder(site) as base, Browser(["--autoplay-policy=no-user-gesture-required"]) as browser:
            failures += check_frames(browser, base, marrowick, data, out)
            failures += check_sound_and_keys(browser, base, chapters)
    except BrowserError as error:
        failures.append("browser: %s" % error)
    for failure in failures:
        print("FAILED: " + failure)
    print("show_e2e: %s" % ("passed" if not failures else "%d failed" % len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
