"""Ten runs in one process leave the host's process as they found it: the
reference host records its state before the first run and after each run
(--check-state) and ends with status 4 when a run changed it. The runs end
every way a user or a host ends them: Escape, the window's close button, and
a failing callback."""

import unittest

import vistel_e2e as e2e

RUNS = 10
EDITOR_WINDOW = "^vistel-host editor window$"
ERROR_BOX = "^Error in Callback$"
UNREADABLE_BOX = "^Tarvo Vistel Plugin$"


def dismiss(run, name):
    box = run.wait_for_window(name=name)
    e2e.key(box, "Return")
    e2e.wait_for_window_gone(box)


class ProcessStateTest(unittest.TestCase):
    def check_output(self, run):
        status = run.wait()
        output = run.read_output()
        self.assertEqual(status, 0, output)
        self.assertNotIn("changed the process", output)
        self.assertEqual(output.count("state after run"), RUNS, output)

    def test_runs_closed_by_escape_and_by_the_close_button(self):
        with e2e.HostRun("--check-state", "--runs", str(RUNS)) as run:
            editor = run.wait_for_window(name=EDITOR_WINDOW)
            for attempt in range(RUNS):
                window = run.wait_for_preview(exclude=(editor,))
                e2e.wait_for_window_size(window, (640, 480))
                if attempt % 2 == 0:
                    e2e.key(window, "Escape")
                    e2e.wait_for_window_gone(window)
                else:
                    e2e.close_and_wait(window)
            self.check_output(run)

    def test_runs_ended_by_a_failing_callback(self):
        # The level is refused and no earlier scene file is there: the run
        # reports the error, then that there is no level, and ends.
        with e2e.HostRun("--check-state", "--runs", str(RUNS), "--fail", "scene:getdata:-1") as run:
            for attempt in range(RUNS):
                run.confirm_settings_sheet()
                dismiss(run, ERROR_BOX)
                dismiss(run, UNREADABLE_BOX)
            self.check_output(run)


if __name__ == "__main__":
    unittest.main()
