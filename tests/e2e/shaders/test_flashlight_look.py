"""The sample level in a real preview window: the flashlight lights a cone
around the viewing direction, and F takes it away and brings it back."""

import os
import shutil
import subprocess
import tempfile
import time
import unittest

import vistel_e2e as e2e

TITLE_PREFIX = "Irrlicht - Tarvo Vistel Plugin 2.0.0 FPS:"
WIDTH, HEIGHT = 640, 480
CENTRE = (WIDTH // 2 - 40, HEIGHT // 2 - 40, WIDTH // 2 + 40, HEIGHT // 2 + 40)
# Far outside the cone, and clear of the message text in the upper left.
CORNERS = [(0, HEIGHT - 60, 60, HEIGHT), (WIDTH - 60, HEIGHT - 60, WIDTH, HEIGHT)]


def mean_brightness(path, area):
    data = subprocess.run(["convert", path, "ppm:-"], stdout=subprocess.PIPE, check=True).stdout
    magic, width, height, _, pixels = data.split(maxsplit=4)
    assert magic == b"P6"
    width = int(width)
    x0, y0, x1, y1 = area
    total = 0
    for y in range(y0, y1):
        row = pixels[(y * width + x0) * 3:(y * width + x1) * 3]
        total += sum(row)
    return total / ((x1 - x0) * (y1 - y0) * 3)


class FlashlightLookTest(unittest.TestCase):
    def setUp(self):
        self.run_ = e2e.HostRun()
        self.addCleanup(self.run_.cleanup)
        self.window = self.run_.wait_for_preview()
        self.assertEqual(e2e.window_size(self.window), (WIDTH, HEIGHT))
        e2e.focus(self.window)
        e2e.wait_until(lambda: e2e.window_name(self.window).startswith(TITLE_PREFIX),
                       timeout=30, what="the frame rate in the title")
        time.sleep(1.5)  # the camera settles on the floor
        self.pictures = tempfile.mkdtemp(prefix="vistel-flashlight-")
        self.addCleanup(shutil.rmtree, self.pictures, True)

    def grab(self, name):
        path = os.path.join(self.pictures, name + ".png")
        time.sleep(0.5)
        e2e.grab_window(self.window, path)
        return path

    def test_f_switches_the_lit_cone_off_and_on(self):
        on = self.grab("on")
        e2e.key(self.window, "f")
        off = self.grab("off")
        e2e.key(self.window, "f")
        on_again = self.grab("on_again")

        centre_on = mean_brightness(on, CENTRE)
        centre_off = mean_brightness(off, CENTRE)
        # The start looks across the sample's hall: the centre of the view
        # is some 700 units away, where the cone has faded a good deal.
        self.assertGreater(centre_on, centre_off + 25, "the cone is lit")
        self.assertAlmostEqual(mean_brightness(on_again, CENTRE), centre_on, delta=8)
        # The sample level is lightmapped: outside the cone it keeps its look.
        for corner in CORNERS:
            self.assertAlmostEqual(mean_brightness(on, corner), mean_brightness(off, corner), delta=6)

        e2e.key(self.window, "Escape")
        self.assertEqual(self.run_.wait(), 0)


if __name__ == "__main__":
    unittest.main()
