"""The preview on Direct3D 9 under Wine: the sample level on screen, the
info screen, the flashlight key, the screenshot through the Save dialog, and
Escape."""

import os
import unittest

import wine_e2e as e2e

# Set where the Wine in use compiles the HLSL programs (scripts/test-vm.sh).
SHADERS_EXPECTED = os.environ.get("VISTEL_SHADERS_EXPECTED") == "1"


class WinePreviewTest(unittest.TestCase):
    def grab(self, run, window, name):
        path = os.path.join(run.tmp, name)
        e2e.grab_window(window, path)
        picture_dir = os.environ.get("VISTEL_PICTURE_DIR")
        if picture_dir:
            e2e.shutil.copy(path, os.path.join(picture_dir, name))
        return path

    def test_walk_through_keys_and_screenshot(self):
        with e2e.HostRun() as run:
            run.confirm_settings_sheet()
            preview = run.wait_for_preview()
            self.assertEqual(e2e.x_window_size(preview), (640, 480))

            # The level is drawn: a picture with content, not a black or
            # single-coloured window, nor the loading screen.
            e2e.wait_until(lambda: e2e.shows_level(self.grab(run, preview, "wine-preview.png")),
                           timeout=60, interval=1.0, what="the level on screen")

            # I shows the info screen (which says whether the shaders are on);
            # the picture changes.
            # (red text in the upper left corner).
            corner = "320x200+0+0"
            plain_picture = self.grab(run, preview, "wine-preview-plain.png")
            plain = e2e.red_fraction(plain_picture, corner)
            e2e.key(preview, "i")
            e2e.wait_until(lambda: e2e.red_fraction(self.grab(run, preview, "wine-preview-info.png"),
                                                    corner) > plain + 0.002,
                           timeout=30, what="the info screen")
            # P, with the info screen on: the Save dialog; a typed name gets
            # ".jpg" and a JPEG of the window's size showing what was drawn.
            e2e.key(preview, "p")
            dialog = run.wait_for_x_window("^Save your screenshot to file\\.\\.\\.$")
            shot = os.path.join(run.tmp, "shot")
            e2e.type_text(dialog, e2e.windows_path(shot))
            e2e.key(dialog, "Return")
            e2e.wait_for_x_window_gone(dialog)
            e2e.wait_until(lambda: os.path.exists(shot + ".jpg") and os.path.getsize(shot + ".jpg") > 0,
                           timeout=30, what="the screenshot file")
            self.assertEqual(e2e.picture_format_and_size(shot + ".jpg"), ("JPEG", 640, 480))
            picture_dir = os.environ.get("VISTEL_PICTURE_DIR")
            if picture_dir:
                e2e.shutil.copy(shot + ".jpg", os.path.join(picture_dir, "wine-screenshot.jpg"))
            # The frame as drawn, read from the device before it was
            # presented: the level and the info text.
            mean, deviation = e2e.picture_statistics(shot + ".jpg")
            self.assertGreater(deviation, 0.02, "the screenshot is a flat picture (mean %s)" % mean)
            self.assertGreater(e2e.red_fraction(shot + ".jpg", corner, least_red=0.7),
                               e2e.red_fraction(plain_picture, corner, least_red=0.7) + 0.002,
                               "the screenshot misses the info screen")

            # F toggles the flashlight and M the wireframe mode; nothing
            # breaks with shaders on or off. (After the screenshot: their
            # messages take the info screen's place until the next frame,
            # which takes seconds under an emulator.)
            e2e.key(preview, "f", "f", "m", "m")
            run.check_running()

            # Escape closes the preview and the run ends.
            e2e.key(preview, "Escape")
            e2e.wait_for_x_window_gone(preview)
            self.assertEqual(run.wait(), 0, run.read_output())
            # Wine 8's D3DX cannot build the HLSL programs: the preview says
            # so and draws with the built-in materials. The test machine's
            # newer Wine builds them.
            self.assertNotIn("Could not create DIRECT3D9 Driver", run.read_output())
            shaders_disabled = "shaders disabled" in run.read_output().lower()
            self.assertEqual(shaders_disabled, not SHADERS_EXPECTED, run.read_output())

    def test_close_request_then_a_second_run_with_a_windows_1252_name(self):
        # The level names its lightmap (on every lit material) with the byte
        # 0xE9, e acute in the ANSI code page. Two runs in one host process:
        # the first, with the file so named on disk, finds it and is ended
        # by the window's close request; the second, after the file lost
        # its letter, opens its own preview and draws the level without the
        # lightmap, which looks different.
        lightmap = b"Lightmaps\\Level.png"
        folder = e2e.tempfile.mkdtemp(prefix="vistel-wine-1252-")
        self.addCleanup(e2e.shutil.rmtree, folder, True)
        e2e.shutil.copytree(os.path.join(os.path.dirname(e2e.SAMPLE_LEVEL), "Textures"),
                            os.path.join(folder, "Textures"))
        lightmaps = os.path.join(folder, "Textures", "Lightmaps")
        os.rename(os.path.join(lightmaps, "Level.png"), os.path.join(lightmaps, "Levél.png"))
        with open(e2e.SAMPLE_LEVEL, "rb") as f:
            document = f.read()
        self.assertIn(lightmap, document)
        level = os.path.join(folder, "level.xml")
        with open(level, "wb") as f:
            f.write(document.replace(lightmap, b"Lightmaps\\Lev\xe9l.png"))

        means = {}
        with e2e.HostRun("--runs", "2", level=level) as run:
            first = None
            for found in (True, False):
                run.confirm_settings_sheet()
                preview = run.wait_for_preview(exclude=(first,) if first else ())
                name = "wine-1252-%s.png" % ("found" if found else "missing")
                e2e.wait_until(lambda: e2e.shows_level(self.grab(run, preview, name)),
                               timeout=60, interval=1.0, what="a drawn frame")
                means[found] = e2e.picture_statistics(self.grab(run, preview, name))[0]
                # The close request ends the run and gives the host control.
                e2e.close_and_wait(preview)
                if found:
                    run.wait_for_run_end(e2e.HostRun.WAIT_TIMEOUT)
                    first = preview
                    editor_lightmaps = run.path("Textures", "Lightmaps")
                    os.rename(os.path.join(editor_lightmaps, "Levél.png"),
                              os.path.join(editor_lightmaps, "Level.png"))
            self.assertEqual(run.wait(), 0, run.read_output())
        self.assertGreater(abs(means[True] - means[False]), 0.05, means)


if __name__ == "__main__":
    unittest.main()
