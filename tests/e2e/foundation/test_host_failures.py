"""Host errors show the "Error in Callback" box, and the run goes on."""

import os
import unittest

import vistel_e2e as e2e

ERROR_BOX = "^Error in Callback$"


class HostFailureTest(unittest.TestCase):
    def dismiss_error_box(self, run):
        box = run.wait_for_window(name=ERROR_BOX)
        e2e.key(box, "Return")
        e2e.wait_for_window_gone(box)

    def test_failures_are_reported_and_the_preview_still_opens(self):
        # (arguments, where the error box shows: before the settings sheet,
        # after it, or not at all, where the scene file is written)
        cases = [
            # install directory refused: reported; the scene file then lands in
            # the working directory, since the run appends to an empty prefix
            (["--fail", "installdir:getmem:4"], "before", "myfile.txs"),
            # the level refused in its second phase, with a code shown unsigned
            (["--fail", "scene:getdata:-1"], "after", None),
            # no new scene data: silent
            (["--empty-scene"], None, None),
            # install directory refused in its second phase: silent
            (["--fail", "installdir:getdata:7"], None, "myfile.txs"),
        ]
        for args, box, scene_in_working_directory in cases:
            with self.subTest(args=args), e2e.HostRun(*args) as run:
                if box == "before":
                    self.dismiss_error_box(run)
                run.confirm_settings_sheet()
                if box == "after":
                    self.dismiss_error_box(run)
                window = run.wait_for_preview(sheet=False)
                self.assertEqual(e2e.find_windows(name=ERROR_BOX), [])
                e2e.close_and_wait(window)
                self.assertEqual(run.wait(), 0, run.read_output())
                if scene_in_working_directory:
                    self.assertTrue(os.path.exists(os.path.join(run.tmp, scene_in_working_directory)))
                else:
                    self.assertFalse(os.path.exists(run.path("myfile.txs")))


if __name__ == "__main__":
    unittest.main()
