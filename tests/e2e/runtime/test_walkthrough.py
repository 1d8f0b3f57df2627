"""The sample level walked through in a real window: real key presses show
the info screen, toggle wireframe, save a screenshot through the Save dialog
and quit."""

import os
import unittest

import vistel_e2e as e2e

TITLE_PREFIX = "Irrlicht - Tarvo Vistel Plugin 2.0.0 FPS:"
SAVE_DIALOG_TITLE = "Save your screenshot to file..."
WIDTH, HEIGHT = 640, 480
# Where the red message text is drawn.
MESSAGE_AREA = (10, 10, 150, 150)


# Read through ImageMagick; kept under its old name for the tests that use it.
Picture = e2e.Picture


def is_whole_jpeg(data):
    return data.startswith(b"\xff\xd8\xff") and data.rstrip(b"\0").endswith(b"\xff\xd9")


class WalkthroughTest(unittest.TestCase):
    def setUp(self):
        self.run_ = e2e.HostRun()
        self.addCleanup(self.run_.cleanup)
        self.window = self.run_.wait_for_preview()
        e2e.wait_for_window_size(self.window, (WIDTH, HEIGHT))
        # The loop draws only while the window has the focus; the title
        # shows the frame rate once the first frames are out, and the camera
        # then falls onto the floor.
        e2e.focus(self.window)
        e2e.wait_for_title(self.window, TITLE_PREFIX)
        self.start = e2e.wait_for_steady_picture(self.window, what="the camera to settle")

    def wait_for(self, what, predicate, describe):
        """The first picture of the window for which predicate holds."""
        return e2e.wait_for_picture(self.window, predicate, what=what, describe=describe)

    def open_save_dialog(self):
        e2e.key(self.window, "p")
        return self.run_.wait_for_window(name=SAVE_DIALOG_TITLE)

    def quit_with_escape(self):
        e2e.key(self.window, "Escape")
        self.assertEqual(self.run_.wait(), 0, self.run_.read_output())
        e2e.wait_for_window_gone(self.window)

    def test_info_wireframe_screenshot_and_escape(self):
        # The level's brick walls are red too: the text is what the info
        # screen adds to the picture.
        plain = self.start
        plain_red = plain.red_pixels(MESSAGE_AREA)
        red = lambda p: "%d red pixels, %d before" % (p.red_pixels(MESSAGE_AREA), plain_red)
        white = lambda p: "white share %.3f, %.3f before" % (p.white_share(), plain.white_share())

        e2e.key(self.window, "i")
        info = self.wait_for("the info screen",
                             lambda p: p.red_pixels(MESSAGE_AREA) > plain_red + 300, red)

        # Wireframe shows the white background through the level, and back.
        e2e.key(self.window, "m")
        self.wait_for("the wireframe", lambda p: p.white_share() > plain.white_share() + 0.5,
                      white)
        e2e.key(self.window, "m")
        self.wait_for("solid faces again",
                      lambda p: p.white_share() < plain.white_share() + 0.2, white)

        dialog = self.open_save_dialog()
        typed = os.path.join(self.run_.tmp, "walkthrough")
        e2e.type_text(dialog, typed)
        e2e.key(dialog, "Return")
        e2e.wait_for_window_gone(dialog)
        saved = typed + ".jpg"  # the dialog added the default suffix
        e2e.wait_for_file(saved, complete=is_whole_jpeg)
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
        start = self.start

        dialog = self.open_save_dialog()
        e2e.type_text(dialog, existing)
        e2e.key(dialog, "Return")
        question = self.run_.wait_for_window(name=SAVE_DIALOG_TITLE, exclude=(dialog,))
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
        corner = (WIDTH - 130, HEIGHT - 30, WIDTH - 10, HEIGHT - 10)
        dark = lambda r, g, b: max(r, g, b) < 60
        self.wait_for("the corner as it was before the request",
                      lambda p: p.count(corner, dark) == start.count(corner, dark),
                      lambda p: "%d dark pixels, %d before" % (p.count(corner, dark),
                                                               start.count(corner, dark)))

        self.quit_with_escape()


if __name__ == "__main__":
    unittest.main()
