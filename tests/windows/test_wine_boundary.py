"""The Windows plug-in as the host meets it, under Wine: the six texts and
all eight entry points, and the error box of a refused request."""

import subprocess
import unittest

import wine_e2e as e2e


class WineBoundaryTest(unittest.TestCase):
    def test_texts_and_entry_points(self):
        # The host resolves all eight entries with GetProcAddress and ends
        # with 3 when one is missing.
        result = subprocess.run([e2e.WINE, e2e.HOST, "--info", "--plugin", e2e.windows_path(e2e.PLUGIN)],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                env=e2e.wine_environment(), timeout=120)
        self.assertEqual(result.returncode, 0, result.stdout)
        lines = result.stdout.replace("\r\n", "\n").splitlines()
        for expected in ["PluginName: Tarvo Vistel Plugin",
                         "PluginDescription: This is just a plugin using Irrlicht to show a Tarvo level.",
                         "PluginTarvoVersion: 1.6",
                         "PluginVersion: 2.0",
                         "PluginAuthor: Quennel"]:
            self.assertIn(expected, lines)
        self.assertTrue(any(line.startswith("PluginEmail: ") and len(line) > len("PluginEmail: ")
                            for line in lines), result.stdout)

    def test_refused_request_shows_the_error_box(self):
        with e2e.HostRun("--fail", "installdir:getmem:4") as run:
            box = e2e.wait_for_win_window("^Error in Callback$")
            self.assertIn("Error Code 4: Invalid GetData Command.", box.texts())
            # The box has a single OK button and no owner: Return closes it.
            x_box = run.wait_for_x_window("^Error in Callback$")
            e2e.key(x_box, "Return")
            e2e.wait_for_x_window_gone(x_box)
            # The run goes on to the settings sheet; Escape ends it.
            sheet = run.sheet()
            e2e.key(sheet, "Escape")
            self.assertEqual(run.wait(), 0, run.read_output())


if __name__ == "__main__":
    unittest.main()
