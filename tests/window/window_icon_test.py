#!/usr/bin/env python3
"""The calculator window's icons as the desktop gets them: starts Vintrel.exe
under Wine and reads the X window's _NET_WM_ICON property, where Wine puts the
window's big and small icons (WM_GETICON does not cross processes under Wine).

usage: window_icon_test.py WINE_RUN VINTREL_EXE
"""

import re
import subprocess
import sys
import time

# How long the window may take to appear (a first Wine start is slow).
WINDOW_TIMEOUT_S = 60
# The icon's near-black ground, as opaque ARGB.
GROUND = 0xFF0A0A0A
# The icon sizes the window carries: the big icon and the small one.
WANTED_SIZES = {32, 16}


def find_window():
    """The X window id of the window titled "Vintrel", or None."""
    tree = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True).stdout
    match = re.search(r'^\s*(0x[0-9a-f]+) "Vintrel":', tree, re.MULTILINE)
    return match.group(1) if match else None


def read_icons(window):
    """The images of _NET_WM_ICON as {size: [ARGB pixels]}."""
    out = subprocess.run(
        ["xprop", "-id", window, "-notype", "-f", "_NET_WM_ICON", "32c", " $0+", "_NET_WM_ICON"],
        capture_output=True, text=True).stdout
    values = [int(v) for v in re.findall(r"\d+", out.partition(" ")[2])]
    icons = {}
    while len(values) >= 2:
        width, height = values[0], values[1]
        pixels = values[2:2 + width * height]
        if width != height or len(pixels) != width * height:
            raise AssertionError(f"malformed icon {width}x{height} with {len(pixels)} pixels")
        icons[width] = pixels
        values = values[2 + width * height:]
    return icons


def is_magenta(argb):
    red, green, blue = (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF
    return red > 150 and blue > 150 and green < red // 2


def check(icons):
    """A list of what is wrong with the icons."""
    faults = []
    if set(icons) != WANTED_SIZES:
        faults.append(f"icon sizes {sorted(icons)}, wanted {sorted(WANTED_SIZES)}")
    for size, pixels in icons.items():
        if any(p >> 24 != 0xFF for p in pixels):
            faults.append(f"{size}x{size}: not every pixel is opaque")
        corners = [pixels[0], pixels[size - 1], pixels[-size], pixels[-1]]
        if any(c != GROUND for c in corners):
            faults.append(f"{size}x{size}: corners {[hex(c) for c in corners]}, wanted the near-black ground")
        if not any(is_magenta(p) for p in pixels):
            faults.append(f"{size}x{size}: no magenta line drawing")
    return faults


def main():
    wine_run, exe = sys.argv[1], sys.argv[2]
    program = subprocess.Popen([wine_run, exe])
    try:
        deadline = time.monotonic() + WINDOW_TIMEOUT_S
        window = find_window()
        while window is None and time.monotonic() < deadline:
            time.sleep(0.2)
            window = find_window()
        if window is None:
            print("no X window \"Vintrel\" appeared")
            return 1
        # Wine sets the property once the icons are in; give it a moment.
        icons = {}
        while set(icons) != WANTED_SIZES and time.monotonic() < deadline:
            icons = read_icons(window)
            time.sleep(0.1)
        faults = check(icons)
        for fault in faults:
            print(fault)
        print("icons:", ", ".join(f"{s}x{s}" for s in sorted(icons)), "OK" if not faults else "FAILED")
        return 1 if faults else 0
    finally:
        program.terminate()
        try:
            program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()


if __name__ == "__main__":
    sys.exit(main())
