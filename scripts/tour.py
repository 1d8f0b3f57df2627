"""A short self-driving tour of the sample level in a real preview window:
real key presses and mouse moves, and a picture of every stop saved into a
folder.

The tour switches the sample's sky box on in the settings beforehand, as a
user would on the Level page; everything else keeps its default."""

import os
import shutil
import struct
import sys
import tempfile
import time

import vistel_e2e as e2e

SKY_FACES = ("Top", "Left", "Centre", "Right", "Bottom", "Back")  # the Level page's order
WIDTH, HEIGHT = 640, 480
ROTATE_SPEED = 100.0  # degrees per window width of mouse movement
MOVE_SPEED = 500.0    # units per second


def write_settings(editor_dir):
    """The default settings, with the sample's sky box from the editor's
    texture folder (where the host copies the level's textures)."""
    sky = [os.path.join(editor_dir, "Textures", "Sky", face + ".jpg").encode() for face in SKY_FACES]
    camera = struct.pack("<i??2x3f5f", 50, False, False, 0.0, 0.0, 0.0, 500.0, 100.0, 2.0, 5000.0, 1.0)
    collision = struct.pack("<??2x3fff", True, True, 30.0, 50.0, 30.0, -3.0, 2.0)
    engine = struct.pack("<????iii?3xf??2x", False, True, False, True, HEIGHT, WIDTH, 32, False, 2.0,
                         True, False)
    fx = struct.pack("<fffffI??2x", 2.0, 30.0, 500.0, 4.0, 3.0, 0xFFFFFFFF, False, True)
    level = struct.pack("<fiiiiI?6?", 2.0, 75, 100, 100, 100, 0xFFFFFFFF, True, *[True] * 6)
    paths = b"".join(struct.pack("<I", len(path)) + path for path in sky)
    os.makedirs(os.path.join(editor_dir, "Plugins"), exist_ok=True)
    with open(os.path.join(editor_dir, "Plugins", "vistel.cfg"), "wb") as f:
        f.write(camera + collision + engine + fx + level + paths)


def main():
    out_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "tour")
    os.makedirs(out_dir, exist_ok=True)
    pictures = []
    editor_parent = tempfile.mkdtemp(prefix="vistel-tour-")
    editor_dir = os.path.join(editor_parent, "editor")
    write_settings(editor_dir)

    def snap(window, name):
        path = os.path.join(out_dir, "%02d-%s.png" % (len(pictures) + 1, name))
        e2e.grab_window(window, path)
        pictures.append(path)

    shown = {}

    def settle():
        """Waits until the keys of a stop have shown their effect: the picture
        changed, then steady. A stop that changes nothing is pictured as is."""
        window, before = shown["window"], shown.get("picture")
        if before is not None:
            try:
                e2e.wait_for_changed_picture(window, before, timeout=10)
            except e2e.E2EError:
                print("the picture did not change at this stop", file=sys.stderr)
        shown["picture"] = e2e.wait_for_steady_picture(window)

    def hold(key, seconds):
        # The time a key is held is how far the camera walks.
        e2e.xdotool("keydown", key)
        time.sleep(seconds)
        e2e.xdotool("keyup", key)
        settle()

    def walk(units):
        hold("w", units / MOVE_SPEED)

    def look(window, right=0.0, up=0.0):
        """Turns the first-person camera with the mouse, in steps that keep
        the pointer inside the window (the camera centres it again)."""
        while abs(right) > 0.5 or abs(up) > 0.5:
            step_x = max(-20.0, min(20.0, right))
            step_y = max(-15.0, min(15.0, up))
            e2e.xdotool("mousemove", "--window", window,
                        WIDTH // 2 + int(round(step_x / ROTATE_SPEED * WIDTH)),
                        HEIGHT // 2 - int(round(step_y / ROTATE_SPEED * HEIGHT)))
            time.sleep(0.35)  # one mouse step per frame or two, as a hand moves
            right -= step_x
            up -= step_y
        settle()

    try:
        with e2e.HostRun(editor_dir=editor_dir) as run:
            # The settings sheet comes first: show it, then confirm it with OK.
            sheet = run.wait_for_window(name="^%s$" % e2e.SETTINGS_SHEET_TITLE)
            e2e.wait_for_steady_picture(sheet, what="the settings sheet to paint")
            snap(sheet, "settings")
            e2e.key(sheet, "Return")
            e2e.wait_for_window_gone(sheet)
            window = run.wait_for_window()
            e2e.focus(window)
            e2e.wait_for_title(window, "Irrlicht")  # the first frames are out
            shown["window"] = window
            shown["picture"] = e2e.wait_for_steady_picture(window, what="the camera to settle")
            snap(window, "start")

            e2e.key(window, "f")  # the flashlight off: the baked light alone
            settle()
            snap(window, "lightmaps")

            # The start looks a little downwards (13.5 degrees): at the foot
            # of the stairs the camera looks up at the window instead.
            walk(330)
            look(window, up=25)
            snap(window, "window")

            # Back across the hall towards the balcony, with the flashlight.
            look(window, right=180, up=-5)
            hold("s", 270 / MOVE_SPEED)
            e2e.key(window, "f")
            settle()
            snap(window, "flashlight")

            # Into the passage in the hall's right wall, and through it into
            # the workshop, looking across it from its corner.
            look(window, right=-90, up=-6.5)
            walk(300)
            snap(window, "passage")
            walk(1250)
            look(window, right=50, up=8)
            snap(window, "workshop")

            e2e.key(window, "i")
            settle()
            snap(window, "info")
            e2e.key(window, "i", "m")
            settle()
            snap(window, "wireframe")
            e2e.key(window, "m", "F1")
            settle()
            snap(window, "help")

            e2e.key(window, "Escape")
            try:
                e2e.wait_for_window_gone(window, timeout=10)
            except e2e.E2EError:
                e2e.close_window(window)
            run.wait()
    finally:
        shutil.rmtree(editor_parent, ignore_errors=True)
    print("The tour's pictures are in %s:" % out_dir)
    for path in pictures:
        print("  " + os.path.basename(path))


if __name__ == "__main__":
    main()
