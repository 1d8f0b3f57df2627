"""The sample level with the texture file of the floor below the camera's
start removed, walked through in a real window: the camera comes to rest on
that floor, the rest of the level is drawn around it, and looking down shows
the floor in the placeholder's magenta checkerboard. The missing file is
named once in the log."""

import os
import shutil
import tempfile
import unittest

import vistel_e2e as e2e

TITLE_PREFIX = "Irrlicht - Tarvo Vistel Plugin 2.0.0 FPS:"
WIDTH, HEIGHT = 640, 480
REMOVED = os.path.join("Floors", "Wood.jpg")


def magenta(r, g, b):
    return r > 120 and b > 120 and g < 60


class MissingTextureTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.mkdtemp(prefix="vistel-e2e-missing-")
        self.addCleanup(shutil.rmtree, folder, True)
        level = os.path.join(folder, "sample")
        shutil.copytree(os.path.dirname(e2e.SAMPLE_LEVEL), level)
        os.remove(os.path.join(level, "Textures", REMOVED))
        self.run_ = e2e.HostRun(level=os.path.join(level, "level.xml"))
        self.addCleanup(self.run_.cleanup)

    def test_floor_holds_and_shows_the_placeholder(self):
        window = self.run_.wait_for_preview()
        e2e.wait_for_window_size(window, (WIDTH, HEIGHT))
        e2e.focus(window)
        e2e.wait_for_title(window, TITLE_PREFIX)
        whole = (0, 0, WIDTH, HEIGHT)
        count = lambda p: p.count(whole, magenta)
        # A camera that fell through the floor would come to rest nowhere,
        # in a picture of the white background alone.
        start = e2e.wait_for_steady_picture(window, what="the camera to settle")
        self.assertLess(start.white_share(), 0.2)

        # Looking down: the floor under the camera in the placeholder.
        e2e.xdotool("mousemove", "--window", window, WIDTH // 2, HEIGHT - 10)
        down = e2e.wait_for_picture(window, lambda p: count(p) > WIDTH * HEIGHT // 5,
                                    what="the placeholder below the camera",
                                    describe=lambda p: "%d magenta pixels" % count(p))
        self.assertLess(down.white_share(), 0.2)

        e2e.key(window, "Escape")
        self.assertEqual(self.run_.wait(), 0, self.run_.read_output())
        e2e.wait_for_window_gone(window)
        output = self.run_.read_output()
        self.assertEqual(output.count("Texture file could not be loaded: "), 1, output)
        self.assertIn(REMOVED, output)


if __name__ == "__main__":
    unittest.main()
