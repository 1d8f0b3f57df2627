"""Helpers for the end-to-end tests of the Windows build: the 64-bit
reference host and plug-in under 64-bit Wine, on an X display (Xvfb in CI),
driven as a desktop and a user would drive them: keys into the focused
window, a close request to a window.

Paths come from the environment that ctest sets: VISTEL_WINE, VISTEL_HOST,
VISTEL_PLUGIN, VISTEL_WINDOW_LIST, VISTEL_SOURCE_DIR. WINEPREFIX is the
caller's (scripts/test-windows.sh makes one inside the build directory).
"""

import ctypes
import ctypes.util
import os
import re
import shutil
import subprocess
import tempfile
import time

WINE = os.environ.get("VISTEL_WINE", "/usr/lib/wine/wine64")
HOST = os.environ.get("VISTEL_HOST", "vistel-host.exe")
PLUGIN = os.environ.get("VISTEL_PLUGIN", "vistel.dll")
WINDOW_LIST = os.environ.get("VISTEL_WINDOW_LIST", "vistel-window-list.exe")
SOURCE_DIR = os.environ.get("VISTEL_SOURCE_DIR", ".")
SAMPLE_LEVEL = os.path.join(SOURCE_DIR, "examples", "sample", "level.xml")
SETTINGS_SHEET_TITLE = "Tarvo Vistel Plugin - Version 2.0"
# Every wait of these tests is this many times as long. Under an emulator
# (scripts/vm/run-tests.sh) a Direct3D picture and a texture's upload cost
# seconds, and a preview's first frame comes minutes after the sheet's OK.
TIME_SCALE = float(os.environ.get("VISTEL_TIME_SCALE", "1"))


from host_process import E2EError, HostProcess, settings_file  # noqa: F401 (for the tests)


def wine_environment():
    environment = dict(os.environ)
    environment.setdefault("WINEDEBUG", "-all")
    # No Mono or Gecko installer prompts in a fresh prefix.
    environment.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    return environment


def windows_path(path):
    """The Windows name of a path of this machine (Wine's drive Z: is /)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_until(predicate, timeout=60.0, interval=0.3, what="condition"):
    timeout *= TIME_SCALE
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise E2EError("timed out waiting for %s (%.0f s)" % (what, timeout))
        time.sleep(interval)


# --- the Windows side: windows as Win32 sees them ---

class WinWindow:
    def __init__(self, handle, width, height, class_name, title):
        self.handle, self.width, self.height = handle, width, height
        self.class_name, self.title = class_name, title
        self.controls = []  # (id, class, text)

    def texts(self):
        return [c[2] for c in self.controls]


def list_win_windows():
    """The visible top-level windows of the Wine session, with their controls."""
    result = subprocess.run([WINE, WINDOW_LIST], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            env=wine_environment(), errors="replace", text=True, timeout=60 * TIME_SCALE)
    windows = []
    for line in result.stdout.splitlines():
        if line.startswith("window "):
            head, title = line[7:].split("|", 1)
            handle, width, height, class_name = head.split(" ", 3)
            windows.append(WinWindow(handle, int(width), int(height), class_name, title))
        elif line.startswith("control ") and windows:
            head, text = line[8:].split("|", 1)
            control_id, class_name = head.split(" ", 1)
            windows[-1].controls.append((int(control_id), class_name, text))
    return windows


def wait_for_win_window(title, timeout=90.0):
    pattern = re.compile(title)

    def find():
        for window in list_win_windows():
            if pattern.search(window.title):
                return window
        return None
    return wait_until(find, timeout, interval=0.5, what="a Windows window titled " + title)


# --- the X side: the same windows as the desktop sees them ---

def xdotool(*args, check=True):
    result = subprocess.run(["xdotool"] + [str(a) for a in args],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if check and result.returncode != 0:
        raise E2EError("xdotool %s failed: %s" % (" ".join(map(str, args)), result.stderr))
    return result.stdout


def find_x_windows(title):
    """Visible X windows whose title matches the regular expression."""
    output = xdotool("search", "--onlyvisible", "--name", title, check=False)
    return [int(w) for w in output.split()]


def wait_for_x_window(title, timeout=90.0, exclude=()):
    def find():
        windows = [w for w in find_x_windows(title) if w not in exclude]
        return windows[0] if windows else None
    return wait_until(find, timeout, what="an X window titled " + title)


def wait_for_x_window_gone(window, timeout=60.0):
    def gone():
        return subprocess.run(["xdotool", "getwindowname", str(window)], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode != 0 \
            or window not in find_x_windows(".*")
    wait_until(gone, timeout, what="window %d to close" % window)


def x_window_size(window):
    output = xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in output.split() if "=" in line)
    return int(values["WIDTH"]), int(values["HEIGHT"])


def focus(window):
    xdotool("windowfocus", "--sync", window, check=False)
    time.sleep(0.3)


def key(window, *keys, delay_ms=80):
    """Presses and releases keys in the focused window (real key events)."""
    focus(window)
    xdotool("key", "--delay", delay_ms, *keys)


def click(window, x, y):
    """A left click at a point of the window, as a user clicks."""
    focus(window)
    xdotool("mousemove", "--window", window, x, y)
    xdotool("click", 1)
    time.sleep(0.3)


def type_text(window, text):
    focus(window)
    xdotool("type", "--delay", 60, text)


class _XClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("client", _XClientMessage), ("pad", ctypes.c_long * 24)]


def close_window(window):
    """Asks the window to close with WM_DELETE_WINDOW, as a desktop does."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        raise E2EError("no X display")
    try:
        event = _XEvent()
        event.client.type = 33  # ClientMessage
        event.client.window = window
        event.client.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.client.format = 32
        event.client.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.client.data[1] = 0  # CurrentTime
        x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)


def close_and_wait(window, timeout=60.0):
    deadline = time.monotonic() + timeout * TIME_SCALE
    while True:
        close_window(window)
        try:
            wait_for_x_window_gone(window, timeout=5.0)
            return
        except E2EError:
            if time.monotonic() > deadline:
                raise


def grab_window(window, path):
    subprocess.run(["import", "-window", str(window), path], check=True)


def picture_statistics(path):
    """(mean, standard deviation) of the picture's grey values, 0 to 1."""
    output = subprocess.run(["convert", path, "-colorspace", "Gray", "-format",
                             "%[fx:mean] %[fx:standard_deviation]", "info:"],
                            stdout=subprocess.PIPE, check=True, text=True).stdout
    mean, deviation = output.split()
    return float(mean), float(deviation)


# The loading screen's background (runtime/CLoadingScreen.cpp).
LOADING_BACKGROUND = "rgb(24,28,36)"


def shows_level(path):
    """Whether a picture of the preview shows a drawn frame: not flat, and
    not the loading screen, whose last picture stays on show until the
    first frame is presented (under an emulator, seconds after the title
    gives the frame rate)."""
    mean, deviation = picture_statistics(path)
    if mean <= 0.05 or deviation <= 0.02:
        return False
    share = subprocess.run(["convert", path, "-fuzz", "1%", "-fill", "black", "+opaque", LOADING_BACKGROUND,
                            "-fill", "white", "-opaque", LOADING_BACKGROUND, "-colorspace", "Gray",
                            "-format", "%[fx:mean]", "info:"],
                           stdout=subprocess.PIPE, check=True, text=True).stdout
    return float(share) < 0.5


def red_fraction(path, geometry, least_red=0.85):
    """Share of bright red pixels (as the info text is drawn; bricks are far
    darker) in a part of the picture ("WxH+X+Y"). A JPEG blurs thin red
    text: least_red 0.7 still tells it from the bricks there."""
    # The pixels are counted here: the guest's ImageMagick prints more than
    # the value for an -fx expression with a condition.
    pixels = subprocess.run(["convert", path, "-crop", geometry, "+repage", "-depth", "8", "rgb:-"],
                            stdout=subprocess.PIPE, check=True).stdout
    least = least_red * 255
    red = sum(1 for i in range(0, len(pixels) - 2, 3)
              if pixels[i] > least and pixels[i + 1] < 76.5 and pixels[i + 2] < 76.5)
    return red / max(1, len(pixels) // 3)


def picture_format_and_size(path):
    output = subprocess.run(["identify", "-format", "%m %w %h", path], stdout=subprocess.PIPE,
                            check=True, text=True).stdout
    kind, width, height = output.split()
    return kind, int(width), int(height)


def write_small_level(folder):
    """A room of six walls with one texture (the sample's brick): a preview
    of it loads one texture and draws a few triangles, where a run of the
    sample level loads a dozen textures and draws about a thousand. Returns
    the document's path; the texture lies beside it as the editor keeps it."""
    corners = [(x, y, z) for y in (-100, 100) for z in (-200, 200) for x in (-200, 200)]
    faces = [(0, 1, 3, 2), (4, 6, 7, 5), (0, 4, 5, 1), (2, 3, 7, 6), (0, 2, 6, 4), (1, 5, 7, 3)]
    uvs = [(0, 0), (1, 0), (1, 1), (0, 1)]
    lines = ['<scene version="1.6">', "<materials>", '<category name="Walls">',
             '<material name="Brick" id="1" used="true">', '<layer type="texture">',
             '<texture file="Walls\\Brick.jpg" />', "</layer>", "</material>", "</category>",
             "</materials>", "<primitives>", '<primitive name="Room" id="1">', "<vertices>"]
    lines += ['<vertex id="%d" x="%d" y="%d" z="%d" />' % ((i,) + c) for i, c in enumerate(corners)]
    lines += ["</vertices>", "<polygons>"]
    for face in faces:
        lines.append('<poly mid="1">')
        lines += ['<vertex vid="%d" u0="%d" v0="%d" />' % ((v,) + uv) for v, uv in zip(face, uvs)]
        lines.append("</poly>")
    lines += ["</polygons>", "</primitive>", "</primitives>", "</scene>", ""]
    textures = os.path.join(folder, "Textures", "Walls")
    os.makedirs(textures, exist_ok=True)
    shutil.copy(os.path.join(os.path.dirname(SAMPLE_LEVEL), "Textures", "Walls", "Brick.jpg"), textures)
    path = os.path.join(folder, "level.xml")
    with open(path, "w") as f:
        f.write("\n".join(lines))
    return path


class HostRun(HostProcess):
    """One run of the Windows reference host under Wine, in a fresh editor
    directory (or the given one)."""

    WAIT_TIMEOUT = 120.0 * TIME_SCALE

    def __init__(self, *args, editor_dir=None, level=None, log=True):
        super().__init__("vistel-wine-", editor_dir, log)
        command = [WINE, HOST, "--editor-dir", windows_path(self.editor_dir),
                   "--plugin", windows_path(PLUGIN)]
        if self.log:
            command += ["--log", windows_path(self.log)]
        command += list(args)
        command.append(windows_path(level or SAMPLE_LEVEL))
        self.start(command, wine_environment())

    def cleanup(self):
        # The host runs again from its copy in the editor directory, a
        # Windows process of its own that outlives the launcher killed
        # here: a preview left behind would draw on and be found by the
        # next test. Every process started from this run's folder ends.
        folder = os.path.basename(self.tmp).encode()
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(os.path.join("/proc", pid, "cmdline"), "rb") as f:
                    if folder in f.read() and int(pid) != os.getpid():
                        os.kill(int(pid), 9)
            except OSError:
                pass
        super().cleanup()

    def check_running(self):
        if self.process.poll() is not None:
            raise E2EError("the host ended (%s):\n%s" % (self.process.returncode, self.read_output()))

    def wait_for_x_window(self, title, timeout=120.0, exclude=()):
        def find():
            self.check_running()
            windows = [w for w in find_x_windows(title) if w not in exclude]
            return windows[0] if windows else None
        try:
            return wait_until(find, timeout, what="an X window titled " + title)
        except E2EError as error:
            raise E2EError("%s\nhost output:\n%s" % (error, self.read_output()))

    def sheet(self):
        return self.wait_for_x_window("^%s$" % SETTINGS_SHEET_TITLE)

    def show_sheet_pages(self, sheet, count):
        """Moves count tabs to the right in the sheet, as a user does with
        the arrow keys once the tab row has the focus (a click on the
        first tab gives it the focus). Wine 10 gives the focus to a newly
        made page's first control, where the next arrow key would move a
        slider; there a user goes on with Ctrl+Tab, which Wine 8 ignores:
        VISTEL_SHEET_NEXT_PAGE_KEY names the key where it is not Right."""
        next_page = os.environ.get("VISTEL_SHEET_NEXT_PAGE_KEY", "Right")
        click(sheet, 20, 12)
        for _ in range(count):
            key(sheet, next_page)

    def confirm_settings_sheet(self):
        sheet = self.sheet()
        key(sheet, "Return")
        wait_for_x_window_gone(sheet)

    def wait_for_preview(self, exclude=()):
        """The preview window: the engine's window, titled with the frame
        rate once it draws."""
        return self.wait_for_x_window("FPS", exclude=exclude)

