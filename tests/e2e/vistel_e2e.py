"""Helpers for end-to-end tests: the reference host showing real windows on
an X display (Xvfb in CI), driven as a desktop and a user would drive it.

Paths of the programs come from the environment that ctest sets:
VISTEL_HOST, VISTEL_PLUGIN, VISTEL_X11_CLOSE, VISTEL_SOURCE_DIR.
"""

import os
import re
import shutil
import subprocess
import tempfile
import time

HOST = os.environ.get("VISTEL_HOST", "vistel-host")
PLUGIN = os.environ.get("VISTEL_PLUGIN", "")
X11_CLOSE = os.environ.get("VISTEL_X11_CLOSE", "vistel-x11-close")
# The window lister is built beside the close tool.
X11_WINDOWS = os.environ.get("VISTEL_X11_WINDOWS",
                             os.path.join(os.path.dirname(X11_CLOSE), "vistel-x11-windows"))
SOURCE_DIR = os.environ.get("VISTEL_SOURCE_DIR", ".")
SAMPLE_LEVEL = os.path.join(SOURCE_DIR, "examples", "sample", "level.xml")
SETTINGS_SHEET_TITLE = "Tarvo Vistel Plugin - Version 2.0"


class E2EError(AssertionError):
    pass


def wait_until(predicate, timeout=30.0, interval=0.2, what="condition"):
    """Polls predicate until it returns something true; that value is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise E2EError("timed out waiting for " + what)
        time.sleep(interval)


def xdotool(*args, check=True):
    result = subprocess.run(["xdotool"] + [str(a) for a in args],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if check and result.returncode != 0:
        raise E2EError("xdotool %s failed: %s" % (" ".join(map(str, args)), result.stderr))
    return result.stdout


def list_windows():
    """[(window, width, height, title)] of the viewable top-level windows,
    oldest first, read over one X connection."""
    result = subprocess.run([X11_WINDOWS], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            text=True, errors="replace")
    windows = []
    for line in result.stdout.splitlines():
        fields = line.split(" ", 3)
        if len(fields) >= 3:
            title = fields[3] if len(fields) > 3 else ""
            windows.append((int(fields[0], 16), int(fields[1]), int(fields[2]), title))
    return windows


def find_windows(name=None):
    """Viewable top-level windows of the display, oldest first; with a name,
    only those whose title matches it (a regular expression).

    The engine's window carries neither a title (until the first frame rate
    is shown) nor the process id, so tests find it as the new top-level
    window; end-to-end tests run one at a time on their display."""
    pattern = re.compile(name) if name is not None else None
    return [w[0] for w in list_windows() if pattern is None or pattern.search(w[3])]


def wait_for_window(name=None, timeout=30.0, exclude=()):
    """The first viewable top-level window (with a matching title) that is
    not in exclude."""
    def find():
        windows = [w for w in find_windows(name) if w not in exclude]
        return windows[0] if windows else None
    return wait_until(find, timeout, what="a window" + (" named " + name if name else ""))


def wait_for_window_gone(window, timeout=30.0):
    wait_until(lambda: window not in find_windows(), timeout, what="window %#x to close" % window)


def _window_entry(window):
    for entry in list_windows():
        if entry[0] == window:
            return entry
    raise E2EError("window %#x is not on screen" % window)


def window_name(window):
    """The window's title, or an empty text when it has none."""
    return _window_entry(window)[3]


def window_size(window):
    """(width, height) of a window's inside."""
    entry = _window_entry(window)
    return entry[1], entry[2]


def focus(window):
    """Gives a window the input focus, as a desktop does on a click."""
    xdotool("windowfocus", "--sync", window)
    time.sleep(0.2)


def key(window, *keys, delay_ms=60):
    """Presses and releases keys in the focused window (real key events)."""
    focus(window)
    xdotool("key", "--delay", delay_ms, *keys)


def type_text(window, text):
    focus(window)
    xdotool("type", "--delay", 40, text)


def close_window(window):
    """Asks the window to close with WM_DELETE_WINDOW, as a desktop does."""
    subprocess.run([X11_CLOSE, str(window)], check=False)


def close_and_wait(window, timeout=30.0):
    """Closes a window and waits until it is gone. A window that is still
    starting up may drop the request with the rest of its early events, so
    the request is repeated now and then."""
    deadline = time.monotonic() + timeout
    while True:
        close_window(window)
        try:
            wait_for_window_gone(window, timeout=3.0)
            return
        except E2EError:
            if time.monotonic() > deadline:
                raise


def grab_window(window, path):
    """Saves the window's picture as the X server has it."""
    subprocess.run(["import", "-window", str(window), path], check=True)


class HostRun:
    """One run of the reference host in a fresh editor directory."""

    def __init__(self, *args, editor_dir=None, level=None, log=True):
        self.tmp = tempfile.mkdtemp(prefix="vistel-e2e-")
        self.editor_dir = editor_dir or os.path.join(self.tmp, "editor")
        self.log = os.path.join(self.tmp, "host.log") if log else None
        command = [HOST, "--editor-dir", self.editor_dir]
        if PLUGIN:
            command += ["--plugin", PLUGIN]
        if self.log:
            command += ["--log", self.log]
        command += list(args)
        command.append(level or SAMPLE_LEVEL)
        self.output_path = os.path.join(self.tmp, "host.out")
        self.output = open(self.output_path, "w")
        # The working directory is the test's own: a run that has no install
        # directory writes its scene file there.
        self.process = subprocess.Popen(command, stdout=self.output, stderr=subprocess.STDOUT,
                                        cwd=self.tmp)

    @property
    def pid(self):
        return self.process.pid

    def path(self, *parts):
        return os.path.join(self.editor_dir, *parts)

    def wait(self, timeout=60.0):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise E2EError("the host did not end within %s s\n%s" % (timeout, self.read_output()))

    def wait_for_window(self, name=None, timeout=60.0, exclude=()):
        """The host's next window; fails at once, with the host's output,
        when the host ends before showing one."""
        def find():
            if self.process.poll() is not None:
                raise E2EError("the host ended (%s) without a window:\n%s"
                               % (self.process.returncode, self.read_output()))
            windows = [w for w in find_windows(name) if w not in exclude]
            return windows[0] if windows else None
        try:
            return wait_until(find, timeout, what="a window of the host")
        except E2EError as error:
            if "ended" in str(error):
                raise
            raise E2EError("%s\nhost output:\n%s" % (error, self.read_output()))

    def confirm_settings_sheet(self, timeout=60.0):
        """Waits for the settings sheet and confirms it with Return."""
        sheet = self.wait_for_window(name="^%s$" % SETTINGS_SHEET_TITLE, timeout=timeout)
        key(sheet, "Return")
        wait_for_window_gone(sheet)

    def wait_for_preview(self, timeout=60.0, sheet=True):
        """The preview window, after confirming the settings sheet with
        Return when it is still to come."""
        if sheet:
            self.confirm_settings_sheet(timeout)
        return self.wait_for_window(timeout=timeout)

    def read_output(self):
        self.output.flush()
        with open(self.output_path) as f:
            return f.read()

    def read_log(self):
        with open(self.log, "rb") as f:
            return f.read()

    def cleanup(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.output.close()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.cleanup()
        return False
