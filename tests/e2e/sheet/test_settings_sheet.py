"""The settings sheet in a real run of the reference host: OK goes on to the
preview with the file's settings, Cancel and closing end the run at once."""

import os
import shutil
import tempfile
import unittest

import vistel_e2e as e2e
from host_process import settings_file

INSTALL_DIRECTORY_REQUEST = b"<request>\n   <installdirectory />\n</request>"


def logged_calls(log):
    """(command, request) of every call the host logged."""
    calls = []
    rest = log.replace(b"run returned\n", b"")
    while rest.startswith(b"call "):
        command, rest = rest[5:].split(b"\n", 1)
        header, rest = rest.split(b"\n", 1)
        length = int(header.split()[1])
        request, rest = rest[:length], rest[length + 1:]
        _, rest = rest.split(b"\n", 1)  # result and reply size
        calls.append((command, request))
    assert rest == b"", rest[:80]
    return calls


class SettingsSheetTest(unittest.TestCase):
    def prepared_run(self):
        """A host run over an editor directory whose configuration file
        holds 800x600x16 and a move speed of 123."""
        tmp_editor = os.path.join(tempfile.mkdtemp(prefix="vistel-e2e-sheet-"), "editor")
        self.addCleanup(shutil.rmtree, os.path.dirname(tmp_editor), True)
        config = os.path.join(tmp_editor, "Plugins", "vistel.cfg")
        os.makedirs(os.path.dirname(config))
        self.config_bytes = settings_file(800, 600, 16, 123.0)
        with open(config, "wb") as f:
            f.write(self.config_bytes)
        run = e2e.HostRun(editor_dir=tmp_editor)
        self.addCleanup(run.cleanup)
        return run, config

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def test_return_confirms_the_sheet_and_the_preview_opens(self):
        run, config = self.prepared_run()
        sheet = run.wait_for_window(e2e.SETTINGS_SHEET_TITLE)
        e2e.key(sheet, "Return")
        e2e.wait_for_window_gone(sheet)
        preview = run.wait_for_window(exclude=[sheet])
        # the mode the file held, saved back unchanged by OK
        e2e.wait_for_window_size(preview, (800, 600))
        self.assertEqual(self.read(config), self.config_bytes)
        e2e.close_and_wait(preview)
        self.assertEqual(run.wait(), 0, run.read_output())
        self.assertEqual(len(logged_calls(run.read_log())), 4)

    def test_escape_and_closing_cancel_before_the_level_is_asked_for(self):
        for how in ("escape", "close"):
            with self.subTest(how=how):
                run, config = self.prepared_run()
                sheet = run.wait_for_window(e2e.SETTINGS_SHEET_TITLE)
                if how == "escape":
                    e2e.key(sheet, "Escape")
                    e2e.wait_for_window_gone(sheet)
                else:
                    e2e.close_and_wait(sheet)
                self.assertEqual(run.wait(), 0, run.read_output())
                self.assertEqual(logged_calls(run.read_log()), [
                    (b"GetMem", INSTALL_DIRECTORY_REQUEST),
                    (b"GetData", INSTALL_DIRECTORY_REQUEST)])
                self.assertEqual(self.read(config), self.config_bytes)


if __name__ == "__main__":
    unittest.main()
