"""Screenshots in a real window: the picture is the frame the preview drew,
even where another window covers it, and a second P that arrives while the
Save dialog is open takes no second screenshot."""

import os
import subprocess
import time
import unittest

import vistel_e2e as e2e
from test_walkthrough import Picture, SAVE_DIALOG_TITLE, TITLE_PREFIX, WIDTH, HEIGHT

X11_COVER = os.path.join(os.path.dirname(e2e.X11_CLOSE), "vistel-x11-cover")


def magenta(r, g, b):
    return r > 180 and b > 180 and g < 90


class ScreenshotTest(unittest.TestCase):
    def setUp(self):
        self.run_ = e2e.HostRun()
        self.addCleanup(self.run_.cleanup)
        self.window = self.run_.wait_for_preview()
        e2e.focus(self.window)
        e2e.wait_until(lambda: e2e.window_name(self.window).startswith(TITLE_PREFIX),
                       timeout=30, what="the frame rate in the title")

    def grab(self, name):
        path = os.path.join(self.run_.tmp, name + ".png")
        e2e.grab_window(self.window, path)
        return Picture(path)

    def save_dialog(self, exclude=()):
        return self.run_.wait_for_window(name=SAVE_DIALOG_TITLE, timeout=30, exclude=exclude)

    def quit_with_escape(self):
        e2e.key(self.window, "Escape")
        self.assertEqual(self.run_.wait(30), 0, self.run_.read_output())

    def test_a_covered_window_is_saved_as_drawn(self):
        cover = subprocess.Popen([X11_COVER, str(self.window)], stdout=subprocess.PIPE, text=True)
        self.addCleanup(cover.wait)
        self.addCleanup(cover.terminate)
        self.assertEqual(cover.stdout.readline().strip(), "ready")
        # The X server keeps nothing of the covered half of the window: read
        # from there, that half of the picture comes out black.
        left = (0, 0, WIDTH // 2, HEIGHT)

        e2e.key(self.window, "p")
        dialog = self.save_dialog()
        typed = os.path.join(self.run_.tmp, "covered")
        e2e.type_text(dialog, typed)
        e2e.key(dialog, "Return")
        e2e.wait_for_window_gone(dialog)
        saved = typed + ".jpg"
        e2e.wait_until(lambda: os.path.exists(saved) and os.path.getsize(saved) > 0,
                       timeout=10, what=saved)
        shot = Picture(saved)
        self.assertEqual((shot.width, shot.height), (WIDTH, HEIGHT))
        # The picture holds the level where the cover lies on screen: no
        # cover, and not black either.
        self.assertEqual(shot.count(left, magenta), 0)
        lit = shot.count(left, lambda r, g, b: max(r, g, b) > 40)
        self.assertGreater(lit, WIDTH * HEIGHT // 2 * 0.5)

        self.quit_with_escape()

    def test_second_p_while_the_dialog_is_open_takes_no_second_screenshot(self):
        plain = self.grab("plain")
        e2e.key(self.window, "p")
        dialog = self.save_dialog()
        # P again, in the preview window, while the dialog is open: the
        # preview reads its input only once the dialog has closed.
        e2e.key(self.window, "p")
        e2e.key(dialog, "Escape")
        e2e.wait_for_window_gone(dialog)

        # The next key reaches the preview after that P. Once its effect
        # (wireframe) is drawn, the P has been handled; no dialog came.
        e2e.key(self.window, "m")

        def outcome():
            if e2e.find_windows(name=SAVE_DIALOG_TITLE):
                return "a second Save dialog"
            if self.grab("after").white_share() > plain.white_share() + 0.5:
                return "wireframe"
            return None
        self.assertEqual(e2e.wait_until(outcome, timeout=30, what="the wireframe or a dialog"),
                         "wireframe")
        self.assertEqual([name for name in os.listdir(self.run_.tmp) if name.endswith(".jpg")], [])

        self.quit_with_escape()


if __name__ == "__main__":
    unittest.main()
