"""Host errors show the "Error in Callback" box, and the run goes on."""

import os
import tempfile
import unittest

import vistel_e2e as e2e
from test_preview_run import expected_scene_file

ERROR_BOX = "^Error in Callback$"
EARLIER_SCENE = b"<!-- left by an earlier run -->" + expected_scene_file(e2e.SAMPLE_LEVEL)


class HostFailureTest(unittest.TestCase):
    def dismiss_error_box(self, run):
        box = run.wait_for_window(name=ERROR_BOX)
        e2e.key(box, "Return")
        e2e.wait_for_window_gone(box)

    def test_failures_are_reported_and_the_preview_still_opens(self):
        # (arguments, where the error box shows: before the settings sheet,
        # after it, or not at all; whether the run writes a new scene file)
        cases = [
            # install directory refused: the run appends the scene file's name
            # to an empty prefix, so it lands in the working directory
            (["--fail", "installdir:getmem:4"], "before", True),
            # install directory refused in its second phase: silent
            (["--fail", "installdir:getdata:7"], None, True),
            # the level refused in its second phase, with a code shown unsigned:
            # the run loads the scene file an earlier run left
            (["--fail", "scene:getdata:-1"], "after", False),
            # no new scene data: silent, the earlier file again
            (["--empty-scene"], None, False),
        ]
        for args, box, writes_scene in cases:
            with self.subTest(args=args):
                editor = tempfile.mkdtemp(prefix="vistel-e2e-editor-")
                earlier = os.path.join(editor, "myfile.txs")
                with open(earlier, "wb") as f:
                    f.write(EARLIER_SCENE)
                with e2e.HostRun(*args, editor_dir=editor) as run:
                    if box == "before":
                        self.dismiss_error_box(run)
                    run.confirm_settings_sheet()
                    if box == "after":
                        self.dismiss_error_box(run)
                    window = run.wait_for_preview(sheet=False)
                    self.assertEqual(e2e.find_windows(name=ERROR_BOX), [])
                    e2e.close_and_wait(window)
                    self.assertEqual(run.wait(), 0, run.read_output())
                    with open(earlier, "rb") as f:
                        self.assertEqual(f.read(), EARLIER_SCENE)
                    written = os.path.join(run.tmp, "myfile.txs")
                    self.assertEqual(os.path.exists(written), writes_scene)
                e2e.shutil.rmtree(editor, ignore_errors=True)

    def test_without_any_scene_the_run_says_so_and_ends(self):
        with e2e.HostRun("--empty-scene") as run:
            run.confirm_settings_sheet()
            box = run.wait_for_window(name="^Tarvo Vistel Plugin$")
            e2e.key(box, "Return")
            self.assertEqual(run.wait(), 0, run.read_output())
            self.assertFalse(os.path.exists(run.path("myfile.txs")))


if __name__ == "__main__":
    unittest.main()
