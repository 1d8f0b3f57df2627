"""The reference host's --check-state notices every kind of change a plug-in
can leave in the editor's process: a fixture plug-in makes one change per
case, and the host must end with status 4 naming that figure; a plug-in
that changes nothing passes. Runs the Linux host, or with VISTEL_WINE the
Windows host under Wine."""

import os
import subprocess
import tempfile
import unittest

HOST = os.environ["VISTEL_HOST"]
PLUGIN = os.environ["VISTEL_MISBEHAVING_PLUGIN"]
LEVEL = os.path.join(os.environ["VISTEL_SOURCE_DIR"], "examples", "sample", "level.xml")
WINE = os.environ.get("VISTEL_WINE")

# (fault, the figure the host must name); the counts only show from the
# second run on, as the first run may leave a fixed number behind.
BOTH = [("fpu", "x87 control word"), ("mxcsr", "MXCSR control"),
        ("directory", "current directory"), ("locale", "C locale"), ("thread", "threads")]
if WINE:
    # Wine keeps no count of GDI and USER objects (GetGuiResources answers
    # 0 whatever the process holds), so the fixture's "gdi" and "user"
    # changes cannot show there; the host still records both figures.
    CASES = BOTH + [("cursor", "cursor show count"), ("class", "window class CIrrDeviceWin32"),
                    ("handle", "handles"), ("quit", "quit message pending")]
else:
    CASES = BOTH + [("umask", "umask"), ("cursor", "cursor"), ("handle", "file descriptors")]


def run_host(fault):
    workdir = tempfile.mkdtemp(prefix="vistel-state-")
    command = [HOST, "--check-state", "--runs", "3", "--install-dir", workdir + os.sep,
               "--plugin", PLUGIN, LEVEL]
    if WINE:
        command.insert(0, WINE)
    env = dict(os.environ, VISTEL_MISBEHAVE=fault)
    env.setdefault("WINEDEBUG", "-all")
    return subprocess.run(command, cwd=workdir, env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, errors="replace", timeout=300)


def changed_figures(output):
    marker = "changed the process: "
    return [line.split(marker, 1)[1] for line in output.splitlines() if marker in line]


class StateCheckTest(unittest.TestCase):
    def test_a_plugin_that_changes_nothing_passes(self):
        result = run_host("")
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertEqual(changed_figures(result.stdout), [])
        self.assertEqual(result.stdout.count("state after run"), 3, result.stdout)

    def test_each_change_is_named_and_fails_the_host(self):
        for fault, figure in CASES:
            with self.subTest(fault=fault):
                result = run_host(fault)
                self.assertEqual(result.returncode, 4, result.stdout)
                named = [change for change in changed_figures(result.stdout)
                         if change.startswith(figure + " is ")]
                self.assertTrue(named, result.stdout)


if __name__ == "__main__":
    unittest.main()
