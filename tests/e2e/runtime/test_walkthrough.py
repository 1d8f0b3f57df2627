"""The sample level walked through in a real window: real key presses show
the info screen, toggle wireframe, save a screenshot through the Save dialog
and quit."""

import os
import subprocess
import time
import unittest

import vistel_e2e as e2e

TITLE_PREFIX = "Irrlicht - Tarvo Vistel Plugin 2.0.0 FPS:"
SAVE_DIALOG_TITLE = "Save your screenshot to file..."
WIDTH, HEIGHT = 640, 480
# Where the red message text is drawn.
MESSAGE_AREA = (10, 10, 150, 150)


class Picture:
    """An image file's pixels, read through ImageMagick."""

    def __init__(self, path):
        data = subprocess.run(["convert", path, "ppm:-"], stdout=subprocess.PIPE,
                              check=True).stdout
        magic, width, height, _, self.pixels = data.split(maxsplit=4)
        assert magic == b"P6"
        self.width, self.height = int(width), int(height)

    def count(self, area, predicate):
        x0, y0, x1, y1 = area
        found = 0
        for y in range(y0, y1):
            row = y * self.width * 3
            for x in range(x0, x1):
                i = row + x * 3
                if predicate(self.pixels[i], self.pixels[i + 1], self.pixels[i + 2]):
                    found += 1
        return found

    def red_pixels(self, area):
        return self.count(area, lambda r, g, b: r > 150 and r - max(g, b) > 80)

    def white_share(self):
        whole = (0, 0, self.width, self.height)
        return self.count(whole, lambda r, g, b: min(r, g, b) > 240) / (self.width * self.height)


class WalkthroughTest(unittest.TestCase):
    def setUp(self):
        self.run_ = e2e.HostRun()
        self.addCleanup(self.run_.cleanup)
        self.window = self.run_.wait_for_preview()
        self.assertEqual(e2e.window_size(self.window), (WIDTH, HEIGHT))
        # The loop draws only while the window has the focus; the title
        # shows the frame rate once the first frames are out.
        e2e.focus(self.window)
        e2e.wait_until(lambda: e2e.window_name(self.window).startswith(TITLE_PREFIX),
                       timeout=30, what="the frame rate in the title")
        time.sleep(1.5)  # the camera settles on the floor

    def grab(self, name):
        path = os.path.join(self.run_.tmp, name + ".png")
        e2e.grab_window(self.window, path)
        return Picture(path)

    def press(self, *keys):
        e2e.key(self.window, *keys)
        time.sleep(0.5)

    def open_save_dialog(self):
        self.press("p")
        return self.run_.wait_for_window(name=SAVE_DIALOG_TITLE, timeout=30)

    def quit_with_escape(self):
        e2e.focus(self.window)
        self.press("Escape")
        self.assertEqual(self.run_.wait(30), 0, self.run_.read_output())
        e2e.wait_for_window_gone(self.window)

    def test_info_wireframe_screenshot_and_escape(self):
        # The level's brick walls are red too: the text is what the info
        # screen adds to the picture.
        plain = self.grab("plain")
        plain_red = plain.red_pixels(MESSAGE_AREA)

        self.press("i")
        info = self.grab("info")
        self.assertGreater(info.red_pixels(MESSAGE_AREA), plain_red + 300)

        # Wireframe shows the white background through the level, and back.
        self.press("m")
        wire = self.grab("wireframe")
        self.assertGreater(wire.white_share(), plain.white_share() + 0.5)
        self.press("m")
        solid = self.grab("solid")
        self.assertLess(solid.white_share(), plain.white_share() + 0.2)

        dialog = self.open_save_dialog()
        typed = os.path.join(self.run_.tmp, "walkthrough")
        e2e.type_text(dialog, typed)
        e2e.key(dialog, "Return")
        e2e.wait_for_window_gone(dialog)
        saved = typed + ".jpg"  # the dialog added the default suffix
        e2e.wait_until(lambda: os.path.exists(saved), timeout=10, what=saved)
        with open(saved, "rb") as f:
            self.assertEqual(f.read(3), b"\xff\xd8\xff")
        shot = Picture(saved)
        self.assertEqual((shot.width, shot.height), (WIDTH, HEIGHT))
        # The info text, red, upper left; below it no more red than the
        # level itself shows (the picture is a JPEG, so a little leeway).
        self.assertGreater(shot.red_pixels(MESSAGE_AREA), plain_red + 300)
        below = (0, 160, WIDTH, HEIGHT)
        self.assertLessEqual(shot.red_pixels(below), info.red_pixels(below) + 500)

        self.quit_with_escape()

    def test_existing_file_is_not_replaced_without_consent_and_cancel_saves_nothing(self):
        existing = os.path.join(self.run_.tmp, "existing.jpg")
        with open(existing, "wb") as f:
            f.write(b"keep me")
        start = self.grab("start")

        dialog = self.open_save_dialog()
        e2e.type_text(dialog, existing)
        e2e.key(dialog, "Return")
        question = self.run_.wait_for_window(name=SAVE_DIALOG_TITLE, exclude=(dialog,),
                                             timeout=10)
        e2e.key(question, "Escape")  # do not replace
        e2e.wait_for_window_gone(question)
        e2e.key(dialog, "Escape")  # cancel the dialog
        e2e.wait_for_window_gone(dialog)
        with open(existing, "rb") as f:
            self.assertEqual(f.read(), b"keep me")
        self.assertEqual([name for name in os.listdir(self.run_.tmp) if name.endswith(".jpg")],
                         ["existing.jpg"])

        # Back in the preview the label is gone again: the lower right corner
        # looks as it did before the request.
        e2e.focus(self.window)
        time.sleep(0.5)
        after = self.grab("after")
        corner = (WIDTH - 130, HEIGHT - 30, WIDTH - 10, HEIGHT - 10)
        dark = lambda r, g, b: max(r, g, b) < 60
        self.assertEqual(after.count(corner, dark), start.count(corner, dark))

        self.quit_with_escape()


if __name__ == "__main__":
    unittest.main()
