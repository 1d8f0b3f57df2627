"""The Win32 settings sheet in a run of the Windows host under Wine:
Escape leaves the configuration file untouched, Return confirms it, and the
pages write the file's bytes on OK."""

import os
import shutil
import tempfile
import unittest

import wine_e2e as e2e


class WineSettingsSheetTest(unittest.TestCase):
    def prepared_run(self, config_bytes):
        editor = os.path.join(tempfile.mkdtemp(prefix="vistel-wine-sheet-"), "editor")
        self.addCleanup(shutil.rmtree, os.path.dirname(editor), True)
        config = os.path.join(editor, "Plugins", "vistel.cfg")
        os.makedirs(os.path.dirname(config))
        if config_bytes is not None:
            with open(config, "wb") as f:
                f.write(config_bytes)
        run = e2e.HostRun(editor_dir=editor)
        self.addCleanup(run.cleanup)
        return run, config

    def test_the_sheet_and_its_pages(self):
        run, config = self.prepared_run(None)
        window = e2e.wait_for_win_window("^%s$" % e2e.SETTINGS_SHEET_TITLE)
        # The About page opens first: its texts and the six tab labels.
        texts = " ".join(window.texts())
        self.assertIn("Irrlicht Tarvo Vistel by Quennel 'Brisko'", texts)
        sheet = run.sheet()
        picture_dir = os.environ.get("VISTEL_PICTURE_DIR")
        if picture_dir:
            e2e.grab_window(sheet, os.path.join(picture_dir, "wine-settings-sheet-about.png"))
        # Every page once, as a user goes through the tabs.
        run.show_sheet_pages(sheet, 5)
        if picture_dir:
            e2e.grab_window(sheet, os.path.join(picture_dir, "wine-settings-sheet.png"))
        window = e2e.wait_for_win_window("^%s$" % e2e.SETTINGS_SHEET_TITLE)
        texts = window.texts()
        for caption in ["Screen Settings:", "Enable Collision", "Position in Ellipsoid:",
                        "Shadow Opacity:", "Flashlight Fx Settings:", "Enable Laser Mode"]:
            self.assertIn(caption, texts)
        self.assertIn("640x480x32", texts)     # the Engine page's selected mode
        self.assertIn("500.000000", texts)     # the Camera page's move speed
        self.assertIn("75%", texts)            # the Level page's shadow opacity
        e2e.key(sheet, "Escape")
        self.assertEqual(run.wait(), 0, run.read_output())
        # Loading wrote the defaults (the file was missing); Escape wrote nothing more.
        with open(config, "rb") as f:
            self.assertEqual(f.read(), e2e.settings_file(640, 480, 32, 500.0))

    def test_escape_leaves_the_file_and_ends_the_run(self):
        prepared = e2e.settings_file(800, 600, 16, 123.0)
        run, config = self.prepared_run(prepared)
        before = os.stat(config).st_mtime_ns
        sheet = run.sheet()
        e2e.key(sheet, "Escape")
        self.assertEqual(run.wait(), 0, run.read_output())
        with open(config, "rb") as f:
            self.assertEqual(f.read(), prepared)
        self.assertEqual(os.stat(config).st_mtime_ns, before)

    def test_ok_writes_the_pages_and_the_preview_takes_them(self):
        prepared = e2e.settings_file(800, 600, 16, 123.0)
        run, config = self.prepared_run(prepared)
        os.utime(config, ns=(0, 0))
        sheet = run.sheet()
        # Open the Camera, Collision and Engine pages, then OK.
        run.show_sheet_pages(sheet, 3)
        e2e.key(sheet, "Return")
        e2e.wait_for_x_window_gone(sheet)
        preview = run.wait_for_preview()
        # The file was written again (OK saves), with the same settings.
        self.assertNotEqual(os.stat(config).st_mtime_ns, 0)
        with open(config, "rb") as f:
            self.assertEqual(f.read(), prepared)
        self.assertEqual(e2e.x_window_size(preview), (800, 600))
        e2e.close_and_wait(preview)
        self.assertEqual(run.wait(), 0, run.read_output())


if __name__ == "__main__":
    unittest.main()
