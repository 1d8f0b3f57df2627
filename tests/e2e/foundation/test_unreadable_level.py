"""A level that cannot be read: the user is told why in an error box, the
reader's complaint reaches the engine's log, and the run ends."""

import os
import tempfile
import unittest

import vistel_e2e as e2e

BOX = "^Tarvo Vistel Plugin$"


class UnreadableLevelTest(unittest.TestCase):
    def test_broken_level_is_explained_and_logged(self):
        with open(e2e.SAMPLE_LEVEL, "rb") as f:
            sample = f.read()
        # Cut inside the first material: no polygon is ever reached.
        cut = sample[:sample.index(b"<material ") + len(b"<material name=\"St")]
        folder = tempfile.mkdtemp(prefix="vistel-e2e-level-")
        self.addCleanup(e2e.shutil.rmtree, folder, True)
        level = os.path.join(folder, "broken.xml")
        with open(level, "wb") as f:
            f.write(cut)
        with e2e.HostRun(level=level) as run:
            run.confirm_settings_sheet()
            box = run.wait_for_window(name=BOX)
            e2e.key(box, "Return")
            self.assertEqual(run.wait(), 0, run.read_output())
            output = run.read_output()
            self.assertIn("not well-formed", output)
            self.assertIn("myfile.txs", output)


if __name__ == "__main__":
    unittest.main()
