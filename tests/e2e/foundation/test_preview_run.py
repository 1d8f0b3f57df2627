"""The reference host runs the plug-in end to end in a real window."""

import os
import struct
import subprocess
import unittest

import vistel_e2e as e2e

SETTINGS_ELEMENT = (b'<settings name="Test" author="" comments="" shadowOpacity="75">\n'
                    b'    <ambient r="92" g="92" b="92" />\n  </settings>\n')


def expected_scene_file(level_path):
    with open(level_path, "rb") as f:
        lines = f.read().split(b"\n")
    trimmed = [line.strip(b" \t\n") for line in lines]
    return trimmed[0] + SETTINGS_ELEMENT + b"".join(trimmed[1:])


class PreviewRunTest(unittest.TestCase):
    def test_info_prints_the_six_texts(self):
        out = subprocess.run([e2e.HOST, "--plugin", e2e.PLUGIN, "--info"], check=True,
                             stdout=subprocess.PIPE, text=True).stdout
        self.assertEqual(out.splitlines()[:5], [
            "PluginName: Tarvo Vistel Plugin",
            "PluginDescription: This is just a plugin using Irrlicht to show a Tarvo level.",
            "PluginTarvoVersion: 1.6",
            "PluginVersion: 2.0",
            "PluginAuthor: Quennel"])
        self.assertTrue(out.splitlines()[5].startswith("PluginEmail: "))

    def test_missing_plugin_is_a_clear_error(self):
        result = subprocess.run([e2e.HOST, "--plugin", "/nonexistent/libvistel.so", "--info"],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("cannot load the plug-in", result.stderr)

    def test_fresh_editor_run_writes_files_and_ends_when_the_window_closes(self):
        with e2e.HostRun("--runs", "2") as run:
            for attempt in range(2):
                window = run.wait_for_preview()
                e2e.wait_for_window_size(window, (640, 480))
                if attempt == 0:
                    config = run.path("Plugins", "vistel.cfg")
                    with open(config, "rb") as f:
                        data = f.read()
                    self.assertEqual(len(data), 175)
                    # a few defaults at their offsets: eye height, speeds, mode
                    self.assertEqual(struct.unpack_from("<i", data, 0)[0], 50)
                    self.assertEqual(struct.unpack_from("<ff", data, 20), (500.0, 100.0))
                    self.assertEqual(struct.unpack_from("<iii", data, 68), (480, 640, 32))
                    with open(run.path("myfile.txs"), "rb") as f:
                        self.assertEqual(f.read(), expected_scene_file(e2e.SAMPLE_LEVEL))
                e2e.close_and_wait(window)
            self.assertEqual(run.wait(), 0, run.read_output())
            # both runs asked for the install directory and the level, in two phases each
            self.assertEqual(run.read_log().count(b"call GetMem\n"), 4)


if __name__ == "__main__":
    unittest.main()
