"""The loading screen on a big generated level: its progress changes while
the level loads, and closing the window or Escape during the load gives the
host control back at once."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

import vistel_e2e as e2e

LEVELGEN = os.environ.get("VISTEL_LEVELGEN", "vistel-levelgen")
# Big enough that its load lasts seconds even in the optimised build.
TRIANGLES = 1500000
LOADING_TITLE = "Loading the level: "
# How long the host may take to get control back after the window was asked
# to close during the load: the preview stops within half a second; the
# rest is room for a loaded machine and the sanitizer build. The load itself
# would take far longer.
RETURN_TIMEOUT = 5.0


def loading_share(window):
    """The share done the loading screen's title shows, or None once the
    title says something else."""
    match = re.match(re.escape(LOADING_TITLE) + r"(\d+)%$", e2e.window_name(window))
    return int(match.group(1)) if match else None


class LoadingScreenTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="vistel-big-level-")
        subprocess.run([LEVELGEN, "--out", cls.folder, "--triangles", str(TRIANGLES), "--no-obj"],
                       check=True, stdout=subprocess.DEVNULL)
        cls.level = os.path.join(cls.folder, "level.xml")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def start_load(self, run):
        """The preview window once its loading screen shows some progress."""
        window = run.wait_for_preview()
        e2e.wait_until(lambda: (loading_share(window) or 0) > 0, interval=0.05,
                       what="the loading screen's progress",
                       describe=lambda: "the title is %r" % e2e.window_name(window))
        return window

    def test_progress_changes_until_the_first_frame(self):
        with e2e.HostRun(level=self.level) as run:
            window = self.start_load(run)
            first = loading_share(window)
            picture = e2e.Picture.of_window(window)
            # The bar grows: a later title shows more done, and the screen is
            # drawn again.
            e2e.wait_until(lambda: (loading_share(window) or 101) > first, interval=0.05,
                           what="more progress than %d%%" % first)
            e2e.wait_for_changed_picture(window, picture)
            # The level's first frame follows; the title gives way to the
            # frame rate, which a window with the focus shows.
            e2e.wait_until(lambda: loading_share(window) is None, timeout=300,
                           what="the end of the load")
            e2e.focus(window)
            e2e.wait_for_title(window, "Irrlicht")
            e2e.close_and_wait(window)
            self.assertEqual(run.wait(), 0, run.read_output())
            self.assertIn("Loaded mesh", run.read_output())

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
                output = run.read_output()
                # Stopped, not finished: no mesh, and no error box about it.
                self.assertNotIn("Loaded mesh", output)
                self.assertNotIn("could not be read", output)


if __name__ == "__main__":
    unittest.main()
