"""Helpers for end-to-end tests: the reference host showing real windows on
an X display (Xvfb in CI), driven as a desktop and a user would drive it.

Paths of the programs come from the environment that ctest sets:
VISTEL_HOST, VISTEL_PLUGIN, VISTEL_X11_CLOSE, VISTEL_SOURCE_DIR, and in the
sanitizer build VISTEL_HOST_PRELOAD (the LD_PRELOAD the host runs with).

Windowed tests never sleep for a fixed time: after an action they wait for
its effect, with a generous timeout (WAIT_TIMEOUT), using

  wait_until(predicate)               anything that can be polled
  wait_for_window(name) / HostRun.wait_for_window(name)
  wait_for_window_gone(window)
  wait_for_window_size(window, size)  the window has its final size
  wait_for_title(window, start)       the window's title begins with a text
  wait_for_file(path, complete)       a file exists (and its bytes are whole)
  wait_for_picture(window, predicate) a grabbed picture shows something
  wait_for_changed_picture(window, before)
  wait_for_steady_picture(window)     the picture stopped changing (a camera
                                      that has settled, a dialog painted)

Picture reads a window's or a file's pixels for such checks. A key press
is followed by a wait for what it changes (wait_for_picture with the
expected look), never by a pause.

A test that starts the host itself passes env=host_environment(), so that
the sanitizer build checks that run for leaks too. The X display should run
with -noreset (scripts/test.sh does): otherwise it resets whenever its last
client leaves and refuses connections meanwhile.
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
# The LD_PRELOAD of the host in the sanitizer build: keeps the GL driver
# loaded so the leak check can name what the driver keeps.
HOST_PRELOAD = os.environ.get("VISTEL_HOST_PRELOAD", "")

# How long a test waits for the effect of an action before it fails. Generous:
# a loaded machine and a sanitizer build make every step slow, and a passing
# test never waits longer than the effect takes.
WAIT_TIMEOUT = 60.0


from host_process import E2EError, HostProcess


def wait_until(predicate, timeout=WAIT_TIMEOUT, interval=0.2, what="condition", describe=None):
    """Polls predicate until it returns something true; that value is
    returned. On timeout the error names what was awaited and, when
    describe is given, what describe() says about the last state seen."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            detail = (": " + describe()) if describe else ""
            raise E2EError("timed out after %g s waiting for %s%s" % (timeout, what, detail))
        time.sleep(interval)


def host_environment():
    """The environment a host process runs with (the tests' own plus, in the
    sanitizer build, the preload that keeps the GL driver loaded). Other
    programs the tests start keep the plain environment."""
    env = dict(os.environ)
    if HOST_PRELOAD:
        env["LD_PRELOAD"] = HOST_PRELOAD
    return env


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


def wait_for_window(name=None, timeout=WAIT_TIMEOUT, exclude=()):
    """The first viewable top-level window (with a matching title) that is
    not in exclude."""
    def find():
        windows = [w for w in find_windows(name) if w not in exclude]
        return windows[0] if windows else None
    return wait_until(find, timeout, what="a window" + (" named " + name if name else ""))


def wait_for_window_gone(window, timeout=WAIT_TIMEOUT):
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


def wait_for_title(window, start, timeout=WAIT_TIMEOUT):
    """Waits until the window's title begins with start; returns the title."""
    last = [None]

    def title():
        last[0] = window_name(window)
        return last[0] if last[0].startswith(start) else None
    return wait_until(title, timeout, what="a title beginning with %r" % start,
                      describe=lambda: "the title is %r" % last[0])


def wait_for_file(path, timeout=WAIT_TIMEOUT, complete=None):
    """Waits until the file exists and, with complete, until complete(bytes)
    is true (a file still being written is read again); returns its bytes."""
    def read():
        try:
            with open(path, "rb") as f:
                data = f.read()
        except OSError:
            return None
        # In a tuple, so that an empty file counts as found.
        return (data,) if complete is None or complete(data) else None
    return wait_until(read, timeout, what="the file " + path)[0]


def wait_for_window_size(window, size, timeout=WAIT_TIMEOUT):
    """Waits until the window's inside is size (width, height): a window may
    be mapped before it has its final size."""
    last = [None]

    def sized():
        last[0] = next((w[1:3] for w in list_windows() if w[0] == window), None)
        return last[0] == tuple(size)
    wait_until(sized, timeout, what="window %#x to be %dx%d" % ((window,) + tuple(size)),
               describe=lambda: "it is %s" % ("gone" if last[0] is None
                                               else "%dx%d" % last[0]))


def focus(window):
    """Gives a window the input focus, as a desktop does on a click: returns
    once the X server has moved the focus there. Events sent afterwards
    reach the window after its focus-in."""
    xdotool("windowfocus", "--sync", window)


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


def close_and_wait(window, timeout=WAIT_TIMEOUT):
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


class Picture:
    """An image's RGB pixels, read through ImageMagick: from a file
    (Picture(path)) or grabbed from a window (Picture.of_window)."""

    def __init__(self, path=None, ppm=None):
        if ppm is None:
            ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"],
                                 stdout=subprocess.PIPE, check=True).stdout
        magic, width, height, depth, self.pixels = ppm.split(maxsplit=4)
        if magic != b"P6" or depth != b"255":
            raise E2EError("not a picture: %s" % path)
        self.width, self.height = int(width), int(height)
        self.ppm = ppm

    @classmethod
    def of_window(cls, window, path=None):
        """The window's picture as the X server has it now; with path, it is
        also saved there (the suffix chooses the format)."""
        ppm = subprocess.run(["import", "-window", str(window), "-depth", "8", "ppm:-"],
                             stdout=subprocess.PIPE, check=True).stdout
        picture = cls(ppm=ppm)
        if path:
            picture.save(path)
        return picture

    def save(self, path):
        subprocess.run(["convert", "ppm:-", path], input=self.ppm, check=True)

    def whole(self):
        return (0, 0, self.width, self.height)

    def count(self, area, predicate):
        """How many pixels of area (x0, y0, x1, y1) satisfy predicate(r, g, b)."""
        x0, y0, x1, y1 = area
        found = 0
        for y in range(y0, y1):
            row = y * self.width * 3
            for x in range(x0, x1):
                i = row + x * 3
                if predicate(self.pixels[i], self.pixels[i + 1], self.pixels[i + 2]):
                    found += 1
        return found

    def mean_brightness(self, area):
        """The mean of the colour channels over area, 0 to 255."""
        x0, y0, x1, y1 = area
        total = 0
        for y in range(y0, y1):
            total += sum(self.pixels[(y * self.width + x0) * 3:(y * self.width + x1) * 3])
        return total / ((x1 - x0) * (y1 - y0) * 3)

    def red_pixels(self, area):
        return self.count(area, lambda r, g, b: r > 150 and r - max(g, b) > 80)

    def white_share(self):
        return self.count(self.whole(), lambda r, g, b: min(r, g, b) > 240) / (
            self.width * self.height)

    def difference(self, other, area=None):
        """The share (0 to 1) of the pixels of area (the whole picture by
        default) that differ between this picture and other."""
        if (self.width, self.height) != (other.width, other.height):
            return 1.0
        x0, y0, x1, y1 = area or self.whole()
        differing = 0
        for y in range(y0, y1):
            start, end = (y * self.width + x0) * 3, (y * self.width + x1) * 3
            mine, theirs = self.pixels[start:end], other.pixels[start:end]
            if mine == theirs:
                continue
            for i in range(0, end - start, 3):
                if mine[i:i + 3] != theirs[i:i + 3]:
                    differing += 1
        return differing / ((x1 - x0) * (y1 - y0))


def wait_for_picture(window, predicate, timeout=WAIT_TIMEOUT, what="a picture",
                     describe=None):
    """Grabs the window's picture until predicate(picture) is true and
    returns that picture. describe(picture), when given, tells in the
    timeout error what the last picture showed (a measured value)."""
    last = [None]

    def grab():
        last[0] = Picture.of_window(window)
        return last[0] if predicate(last[0]) else None
    return wait_until(grab, timeout, interval=0.1, what=what,
                      describe=(lambda: describe(last[0])) if describe else None)


# Pictures whose pixels differ in no more than this share count as the
# same: the frame rate shown in a text may change between two grabs.
PICTURE_TOLERANCE = 0.002


def wait_for_changed_picture(window, before, area=None, timeout=WAIT_TIMEOUT,
                             tolerance=PICTURE_TOLERANCE, what="the picture to change"):
    """Waits until the window's picture (within area) differs from before by
    more than tolerance; returns the new picture."""
    return wait_for_picture(window, lambda p: p.difference(before, area) > tolerance,
                            timeout, what=what)


def wait_for_steady_picture(window, area=None, timeout=WAIT_TIMEOUT, settle=1.0,
                            tolerance=PICTURE_TOLERANCE, what="the picture to settle"):
    """Waits until the window's picture (within area) has stopped changing:
    successive grabs over at least settle seconds, at least three of them,
    differ by no more than tolerance. Returns the last picture. Use it where
    the effect is the end of a motion (a camera falling onto the floor) or
    a window that paints itself."""
    state = {"previous": Picture.of_window(window), "since": time.monotonic(), "same": 0}

    def steady():
        current = Picture.of_window(window)
        now = time.monotonic()
        if current.difference(state["previous"], area) > tolerance:
            state["since"], state["same"] = now, 0
        else:
            state["same"] += 1
        state["previous"] = current
        if state["same"] >= 2 and now - state["since"] >= settle:
            return current
        return None
    return wait_until(steady, timeout, interval=0.1, what=what)


class HostRun(HostProcess):
    """One run of the reference host in a fresh editor directory."""

    WAIT_TIMEOUT = WAIT_TIMEOUT

    def __init__(self, *args, editor_dir=None, level=None, log=True):
        """Starts the host on level (the sample level by default) with the
        given command line options; in the sanitizer build it runs with
        host_environment(), so its leak check covers the windowed run."""
        super().__init__("vistel-e2e-", editor_dir, log)
        command = [HOST, "--editor-dir", self.editor_dir]
        if PLUGIN:
            command += ["--plugin", PLUGIN]
        if self.log:
            command += ["--log", self.log]
        command += list(args)
        command.append(level or SAMPLE_LEVEL)
        self.start(command, host_environment())

    def wait_for_window(self, name=None, timeout=WAIT_TIMEOUT, exclude=()):
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

    def confirm_settings_sheet(self, timeout=WAIT_TIMEOUT):
        """Waits for the settings sheet and confirms it with Return."""
        sheet = self.wait_for_window(name="^%s$" % SETTINGS_SHEET_TITLE, timeout=timeout)
        key(sheet, "Return")
        wait_for_window_gone(sheet)

    def wait_for_preview(self, timeout=WAIT_TIMEOUT, sheet=True, exclude=()):
        """The preview window, after confirming the settings sheet with
        Return when it is still to come; windows in exclude (the host's own)
        are not it."""
        if sheet:
            self.confirm_settings_sheet(timeout)
        return self.wait_for_window(timeout=timeout, exclude=exclude)

