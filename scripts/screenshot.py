#!/usr/bin/python3
"""Saves a screenshot of the X display in $DISPLAY once what it shows has settled.

    screenshot.py OUT.png [--timeout SECONDS]

The screen counts as settled when two grabs a second apart are equal, after at least three
seconds (the viewer needs a moment to start and to show its log). Needs python3-pil.
"""

import argparse
import os
import sys
import time

from PIL import ImageChops, ImageGrab


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--timeout", type=float, default=120)
    args = parser.parse_args()
    display = os.environ.get("DISPLAY")
    if not display:
        sys.exit("screenshot.py: DISPLAY is not set")
    start = time.monotonic()
    time.sleep(3)
    previous = None
    while True:
        image = ImageGrab.grab(xdisplay=display)
        if previous is not None and ImageChops.difference(image, previous).getbbox() is None:
            break
        if time.monotonic() - start > args.timeout:
            print("screenshot.py: the screen did not settle; saving what it shows", file=sys.stderr)
            break
        previous = image
        time.sleep(1)
    # Without a window manager the windows sit on a black root: keep only what they cover.
    box = image.convert("L").point(lambda v: 255 if v else 0).getbbox()
    if box:
        image = image.crop(box)
    image.save(args.out)


if __name__ == "__main__":
    main()
