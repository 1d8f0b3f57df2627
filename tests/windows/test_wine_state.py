"""Ten runs in one process of the Windows host leave it as they found it:
the floating-point control words, the cursor (show count and handle), the
engine's window class, the current directory, the locale, and the counts of
threads, handles and GDI and USER objects (vistel-host --check-state). The
runs end by Escape, by the window's close button, and by a failing
callback.

The previews show a small room in a small window: what the check guards
(the device, its window and class, the cursor, the textures' release) comes
with every preview whatever its size, and under the emulated test machine's
software renderer a preview of the sample level at the default size takes
minutes where this one takes seconds."""

import os
import shutil
import tempfile
import unittest

import wine_e2e as e2e

RUNS = 10
# The window size saved in the editor's settings for these runs.
WINDOW_SIZE = (160, 120)


class WineProcessStateTest(unittest.TestCase):
    def check_output(self, run):
        status = run.wait()
        output = run.read_output()
        self.assertEqual(status, 0, output)
        self.assertNotIn("changed the process", output)
        self.assertEqual(output.count("state after run"), RUNS, output)

    def preview(self, run):
        """The preview window once it draws (titled with the frame rate). A
        window that comes up without the input focus does not draw: bare
        Xvfb has no window manager to activate it, so the test focuses the
        host's untitled windows, as a user's click would, until one draws."""
        def drawing():
            run.check_running()
            windows = e2e.find_x_windows("FPS")
            if windows:
                return windows[0]
            untitled = set(e2e.find_x_windows("^$"))
            host_windows = e2e.xdotool("search", "--onlyvisible", "--classname", "^tarvo\\.exe$",
                                       check=False).split()
            for window in host_windows:
                if int(window) in untitled:
                    e2e.focus(window)
            return None
        return e2e.wait_until(drawing, timeout=120, interval=1.0, what="the preview drawing")

    def dismiss(self, run, title):
        box = run.wait_for_x_window(title)
        e2e.key(box, "Return")
        e2e.wait_for_x_window_gone(box)

    def small_preview_folders(self):
        """An editor directory whose saved settings ask for the small window,
        and the small room's document."""
        folder = tempfile.mkdtemp(prefix="vistel-wine-state-")
        self.addCleanup(shutil.rmtree, folder, True)
        editor = os.path.join(folder, "editor")
        os.makedirs(os.path.join(editor, "Plugins"))
        with open(os.path.join(editor, "Plugins", "vistel.cfg"), "wb") as f:
            f.write(e2e.settings_file(WINDOW_SIZE[0], WINDOW_SIZE[1], 32, 500.0))
        return editor, e2e.write_small_level(os.path.join(folder, "level"))

    def test_runs_closed_by_escape_and_by_the_close_button(self):
        editor, level = self.small_preview_folders()
        with e2e.HostRun("--check-state", "--runs", str(RUNS), editor_dir=editor, level=level) as run:
            for attempt in range(RUNS):
                run.confirm_settings_sheet()
                preview = self.preview(run)
                self.assertEqual(e2e.x_window_size(preview), WINDOW_SIZE)
                if attempt % 2 == 0:
                    e2e.key(preview, "Escape")
                    e2e.wait_for_x_window_gone(preview)
                else:
                    e2e.close_and_wait(preview)
            self.check_output(run)

    def test_runs_ended_by_a_failing_callback(self):
        # The level is refused and no earlier scene file is there: the run
        # reports the error, then that there is no level, and ends.
        with e2e.HostRun("--check-state", "--runs", str(RUNS), "--fail", "scene:getdata:-1") as run:
            for attempt in range(RUNS):
                run.confirm_settings_sheet()
                self.dismiss(run, "^Error in Callback$")
                self.dismiss(run, "^Tarvo Vistel Plugin$")
            self.check_output(run)


if __name__ == "__main__":
    unittest.main()
