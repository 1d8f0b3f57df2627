"""The part of a reference host run that the Linux and the Wine end-to-end
helpers share: a fresh temporary folder with the editor directory, the
host's log and its output, the process itself, and its clean-up; and the
bytes of a configuration file to lay out before a run."""

import os
import shutil
import struct
import subprocess
import tempfile
import time


def settings_file(width, height, bits, move_speed):
    """A configuration file of the defaults with another screen mode and
    move speed, laid out field by field."""
    camera = struct.pack("<i??2x3f5f", 50, False, False, 0.0, 0.0, 0.0,
                         move_speed, 100.0, 2.0, 5000.0, 1.0)
    collision = struct.pack("<??2x3fff", True, True, 30.0, 50.0, 30.0, -3.0, 2.0)
    engine = struct.pack("<????iii?3xf??2x", False, True, False, True, height, width, bits,
                         False, 2.0, True, False)
    fx = struct.pack("<fffffI??2x", 2.0, 30.0, 500.0, 4.0, 3.0, 0xFFFFFFFF, False, True)
    level = struct.pack("<fiiiiI?6?", 2.0, 75, 100, 100, 100, 0xFFFFFFFF, False, *[False] * 6)
    paths = struct.pack("<6I", *[0] * 6)
    data = camera + collision + engine + fx + level + paths
    assert len(data) == 175
    return data


class E2EError(AssertionError):
    pass


class HostProcess:
    """A host process whose output goes to a file in its own temporary
    folder. Subclasses build the command line and call start()."""

    WAIT_TIMEOUT = 60.0

    def __init__(self, prefix, editor_dir=None, log=True):
        self.tmp = tempfile.mkdtemp(prefix=prefix)
        self.editor_dir = editor_dir or os.path.join(self.tmp, "editor")
        self.log = os.path.join(self.tmp, "host.log") if log else None
        self.output_path = os.path.join(self.tmp, "host.out")
        self.output = None
        self.process = None

    def start(self, command, env):
        # The working directory is the run's own: a run that has no install
        # directory writes its scene file there.
        self.output = open(self.output_path, "w")
        self.process = subprocess.Popen(command, stdout=self.output, stderr=subprocess.STDOUT,
                                        cwd=self.tmp, env=env)

    @property
    def pid(self):
        return self.process.pid

    def path(self, *parts):
        return os.path.join(self.editor_dir, *parts)

    def wait(self, timeout=None):
        timeout = self.WAIT_TIMEOUT if timeout is None else timeout
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise E2EError("the host did not end within %s s\n%s" % (timeout, self.read_output()))

    def read_output(self):
        self.output.flush()
        with open(self.output_path, errors="replace") as f:
            return f.read()

    def read_log(self):
        with open(self.log, "rb") as f:
            return f.read()

    def wait_for_run_end(self, timeout):
        """Waits until the host logged that a run returned to it; the log's
        last line tells when the host has control again."""
        deadline = time.monotonic() + timeout
        while b"run returned\n" not in self.read_log():
            if time.monotonic() > deadline:
                raise E2EError("the host did not get control back within %s s\n%s"
                               % (timeout, self.read_output()))
            time.sleep(0.02)

    def cleanup(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.output is not None:
            self.output.close()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.cleanup()
        return False
