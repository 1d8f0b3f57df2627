"""The flashlight of the real Windows plug-in, drawn by its HLSL programs on
Direct3D 9, against the Linux build's GLSL picture of the same view (the
sample level from where the preview starts, flashlight on, then off). Run in
the test machine (scripts/test-vm.sh), whose Wine compiles the programs;
VISTEL_FLASHLIGHT_REFERENCE names the folder of the Linux pictures
(flashlight_reference.py)."""

import os
import subprocess
import time
import unittest

import wine_e2e as e2e

REFERENCE = os.environ.get("VISTEL_FLASHLIGHT_REFERENCE", "")
# The part of the view compared: all but the top rows, where the preview
# shows its messages. "WxH+X+Y" as ImageMagick takes it.
VIEW = "640x420+0+60"
CENTRE = "80x80+280+200"
# Largest mean absolute difference from the Linux picture, as a share of
# the full colour range: the two drivers filter textures and round colours
# differently, and the flashlight adds its brightness on top.
MEAN_DIFFERENCE = 0.05
# How far the flashlight's effect on the centre's brightness (on less off,
# 0 to 1) may differ between the two.
CENTRE_EFFECT_DIFFERENCE = 0.04


def magick(*args):
    result = subprocess.run(list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    # compare answers on stderr, and ends with 1 when the pictures differ.
    return (result.stdout + result.stderr).strip()


def mean_difference(first, second, geometry=VIEW):
    """Mean absolute difference of two pictures' pixels in geometry, 0 to 1."""
    output = magick("convert", first, second, "-crop", geometry, "+repage", "-compose", "difference",
                    "-composite", "-colorspace", "Gray", "-format", "%[fx:mean]", "info:")
    return float(output)


def brightness(path, geometry=CENTRE):
    return float(magick("convert", path, "-crop", geometry, "+repage", "-colorspace", "Gray",
                        "-format", "%[fx:mean]", "info:"))


class VmFlashlightTest(unittest.TestCase):
    def grab(self, window, name):
        path = os.path.join(self.folder, name)
        e2e.grab_window(window, path)
        return path

    def steady(self, window, name):
        """A picture of the window once it has stayed alike for longer than
        a frame takes: the camera has settled. Under the emulator a frame
        takes up to half a minute, and grabs within one frame are alike
        whether the camera moves or not."""
        settle = 6.0 * e2e.TIME_SCALE
        previous = [self.grab(window, name + "-0.png"), time.monotonic()]
        count = [0]

        def alike():
            count[0] += 1
            current = self.grab(window, "%s-%d.png" % (name, count[0]))
            if mean_difference(previous[0], current, "640x480+0+0") >= 0.002:
                previous[:] = [current, time.monotonic()]
                return None
            return current if time.monotonic() - previous[1] >= settle else None
        path = e2e.wait_until(alike, timeout=240, interval=2.0, what=name + " to settle")
        final = os.path.join(self.folder, name + ".png")
        os.replace(path, final)
        picture_dir = os.environ.get("VISTEL_PICTURE_DIR")
        if picture_dir:
            e2e.shutil.copy(final, os.path.join(picture_dir, "vm-" + name + ".png"))
        return final

    @staticmethod
    def keep_output(run):
        """The host's output and log beside the pictures, for a look after
        the guest has gone."""
        folder = os.environ.get("VISTEL_PICTURE_DIR")
        if folder:
            with open(os.path.join(folder, "vm-flashlight-host.log"), "wb") as f:
                f.write(run.read_output().encode())
                if os.path.exists(run.log):
                    f.write(run.read_log())
            # The last pictures taken, when the check stopped before its own.
            grabs = sorted((name for name in os.listdir(run.tmp) if name.endswith(".png")),
                           key=lambda name: os.path.getmtime(os.path.join(run.tmp, name)))
            for name in grabs[-2:]:
                e2e.shutil.copy(os.path.join(run.tmp, name), os.path.join(folder, "vm-last-" + name))
            # The whole screen and its windows' titles, for a preview that
            # never showed its frame rate.
            subprocess.run(["import", "-window", "root", os.path.join(folder, "vm-flashlight-screen.png")])
            with open(os.path.join(folder, "vm-flashlight-windows.txt"), "w") as f:
                subprocess.run(["xwininfo", "-root", "-tree"], stdout=f, stderr=subprocess.STDOUT)

    def test_flashlight_matches_the_glsl_picture(self):
        if not REFERENCE:
            self.skipTest("no Linux reference pictures (VISTEL_FLASHLIGHT_REFERENCE)")
        with e2e.HostRun() as run:
            try:
                self.check_flashlight(run)
            finally:
                self.keep_output(run)

    @staticmethod
    def wait_for_drawing_preview(run, timeout=600):
        """The preview once its title shows the frame rate. It draws only
        while it is the active window, and with no window manager nothing
        need make it so after the sheet has gone: a user would click it, the
        test gives the focus to the windows of the preview's size. The
        first frame comes after Wine has compiled the programs, many seconds
        each on the emulated machine."""
        def find():
            run.check_running()
            drawing = e2e.find_x_windows("FPS")
            if drawing:
                return drawing[0]
            for window in e2e.find_x_windows(""):
                try:
                    if e2e.x_window_size(window) == (640, 480):
                        e2e.focus(window)
                except e2e.E2EError:
                    pass
            return None
        return e2e.wait_until(find, timeout, interval=2.0, what="the preview to draw")

    def check_flashlight(self, run):
        self.folder = run.tmp
        run.confirm_settings_sheet()
        preview = self.wait_for_drawing_preview(run)
        self.assertEqual(e2e.x_window_size(preview), (640, 480))
        # The title gives the frame rate before the first frame is on show:
        # until then the window keeps the loading screen's last picture,
        # which stays alike from grab to grab.
        e2e.wait_until(lambda: e2e.shows_level(self.grab(preview, "first.png")), timeout=180,
                       interval=2.0, what="the first frame on show")
        on = self.steady(preview, "flashlight-on")
        e2e.key(preview, "f")
        e2e.wait_until(lambda: mean_difference(on, self.grab(preview, "changed.png")) > 0.002,
                       timeout=60, interval=1.0, what="the flashlight to go off")
        off = self.steady(preview, "flashlight-off")
        e2e.key(preview, "Escape")
        e2e.wait_for_x_window_gone(preview)
        self.assertEqual(run.wait(), 0, run.read_output())
        output = run.read_output()
        # The flashlight programs were built: no fallback to the
        # built-in materials. (The lightmap program at ps_1_1 is not built
        # by this Wine: test_vm_hlsl.py.)
        self.assertNotIn("flashlight shaders disabled", output.lower())
        # Drawn by Direct3D 9, not by the engine's software renderer, which
        # the plug-in falls back to when the device cannot be made.
        self.assertIn("Using renderer: Direct3D 9.0", output)
        self.assertNotIn("Could not create DIRECT3D9 Driver", output)

        linux_on = os.path.join(REFERENCE, "flashlight-on.png")
        linux_off = os.path.join(REFERENCE, "flashlight-off.png")
        figures = {
            "on": mean_difference(on, linux_on),
            "off": mean_difference(off, linux_off),
            "effect (Direct3D)": brightness(on) - brightness(off),
            "effect (OpenGL)": brightness(linux_on) - brightness(linux_off),
        }
        print("flashlight against the GLSL picture: %s" % ", ".join(
            "%s %.4f" % item for item in figures.items()))
        self.assertLess(figures["on"], MEAN_DIFFERENCE, figures)
        self.assertLess(figures["off"], MEAN_DIFFERENCE, figures)
        self.assertGreater(figures["effect (Direct3D)"], 0.05, figures)
        self.assertAlmostEqual(figures["effect (Direct3D)"], figures["effect (OpenGL)"],
                               delta=CENTRE_EFFECT_DIFFERENCE, msg=figures)


if __name__ == "__main__":
    unittest.main()
