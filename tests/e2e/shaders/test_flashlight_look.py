"""The sample level in a real preview window: the flashlight lights a cone
around the viewing direction, and F takes it away and brings it back."""

import unittest

import vistel_e2e as e2e

TITLE_PREFIX = "Irrlicht - Tarvo Vistel Plugin 2.0.0 FPS:"
WIDTH, HEIGHT = 640, 480
CENTRE = (WIDTH // 2 - 40, HEIGHT // 2 - 40, WIDTH // 2 + 40, HEIGHT // 2 + 40)
# Far outside the cone, and clear of the message text in the upper left.
CORNERS = [(0, HEIGHT - 60, 60, HEIGHT), (WIDTH - 60, HEIGHT - 60, WIDTH, HEIGHT)]


class FlashlightLookTest(unittest.TestCase):
    def setUp(self):
        self.run_ = e2e.HostRun()
        self.addCleanup(self.run_.cleanup)
        self.window = self.run_.wait_for_preview()
        e2e.wait_for_window_size(self.window, (WIDTH, HEIGHT))
        e2e.focus(self.window)
        e2e.wait_for_title(self.window, TITLE_PREFIX)
        self.on = e2e.wait_for_steady_picture(self.window, what="the camera to settle")

    def wait_for_centre(self, what, predicate):
        """The first picture whose mean brightness in the centre satisfies
        predicate."""
        return e2e.wait_for_picture(
            self.window, lambda p: predicate(p.mean_brightness(CENTRE)), what=what,
            describe=lambda p: "centre brightness %.1f, %.1f with the flashlight on"
            % (p.mean_brightness(CENTRE), self.on.mean_brightness(CENTRE)))

    def test_f_switches_the_lit_cone_off_and_on(self):
        on = self.on
        centre_on = on.mean_brightness(CENTRE)
        e2e.key(self.window, "f")
        # The cone is lit: without it the centre is clearly darker. The start
        # looks across the sample's hall: the centre of the view is some 700
        # units away, where the cone has faded a good deal.
        off = self.wait_for_centre("the cone to go dark", lambda b: b < centre_on - 25)
        e2e.key(self.window, "f")
        self.wait_for_centre("the cone to come back", lambda b: abs(b - centre_on) <= 8)

        # The sample level is lightmapped: outside the cone it keeps its look.
        for corner in CORNERS:
            self.assertAlmostEqual(on.mean_brightness(corner), off.mean_brightness(corner),
                                   delta=6)

        e2e.key(self.window, "Escape")
        self.assertEqual(self.run_.wait(), 0, self.run_.read_output())


if __name__ == "__main__":
    unittest.main()
