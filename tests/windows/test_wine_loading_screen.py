"""The loading screen under Wine on a big level (the sample's primitives
many times over): its progress changes while the level loads, and closing
the window or Escape during the load gives the host control back at once."""

import os
import re
import shutil
import tempfile
import unittest

import wine_e2e as e2e

# Copies of the sample level's primitives: about 200 MB of document, whose
# load lasts seconds under Wine.
COPIES = 1500
LOADING_TITLE = "Loading the level: "
# The preview stops within half a second; the rest is room for Wine on a
# loaded machine. The load itself would take far longer.
RETURN_TIMEOUT = 5.0


def write_big_level(folder):
    with open(e2e.SAMPLE_LEVEL, "rb") as f:
        sample = f.read()
    start = sample.index(b"<primitives>") + len(b"<primitives>")
    end = sample.index(b"</primitives>")
    with open(os.path.join(folder, "level.xml"), "wb") as f:
        f.write(sample[:start])
        for _ in range(COPIES):
            f.write(sample[start:end])
        f.write(sample[end:])
    shutil.copytree(os.path.join(os.path.dirname(e2e.SAMPLE_LEVEL), "Textures"),
                    os.path.join(folder, "Textures"))
    return os.path.join(folder, "level.xml")


def loading_share(window):
    name = e2e.xdotool("getwindowname", window, check=False).strip()
    match = re.match(re.escape(LOADING_TITLE) + r"(\d+)%$", name)
    return int(match.group(1)) if match else None


class WineLoadingScreenTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="vistel-wine-big-level-")
        cls.level = write_big_level(cls.folder)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def start_load(self, run):
        run.confirm_settings_sheet()
        window = run.wait_for_x_window("^" + LOADING_TITLE)
        e2e.wait_until(lambda: (loading_share(window) or 0) > 0, interval=0.05,
                       what="the loading screen's progress")
        return window

    def test_progress_changes_until_the_first_frame(self):
        with e2e.HostRun(level=self.level) as run:
            window = self.start_load(run)
            first = loading_share(window)
            e2e.wait_until(lambda: (loading_share(window) or 101) > first, interval=0.05,
                           what="more progress than %d%%" % first)
            preview = run.wait_for_preview()
            self.assertEqual(preview, window)
            e2e.close_and_wait(preview)
            self.assertEqual(run.wait(), 0, run.read_output())

    def test_closing_or_escape_during_the_load_returns_to_the_host(self):
        for how in ("close", "escape"):
            with self.subTest(how=how), e2e.HostRun(level=self.level) as run:
                window = self.start_load(run)
                if how == "close":
                    e2e.close_window(window)
                else:
                    e2e.key(window, "Escape")
                run.wait_for_run_end(RETURN_TIMEOUT)
                self.assertEqual(run.wait(), 0, run.read_output())
                self.assertFalse(e2e.find_x_windows("^" + LOADING_TITLE))


if __name__ == "__main__":
    unittest.main()
