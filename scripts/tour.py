"""A short self-driving tour of the sample level in a real preview window:
real key presses, and a picture of every stop saved into a folder."""

import os
import sys
import time

import vistel_e2e as e2e


def settled_after(window, before):
    """The picture once a stop's keys have shown their effect: changed from
    before, then steady. A stop that changes nothing is pictured as it is."""
    try:
        e2e.wait_for_changed_picture(window, before, timeout=10)
    except e2e.E2EError:
        print("the picture did not change at this stop", file=sys.stderr)
    return e2e.wait_for_steady_picture(window)


def main():
    out_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "tour")
    os.makedirs(out_dir, exist_ok=True)
    pictures = []

    def snap(window, name):
        path = os.path.join(out_dir, "%02d-%s.png" % (len(pictures) + 1, name))
        e2e.grab_window(window, path)
        pictures.append(path)

    with e2e.HostRun() as run:
        # The settings sheet comes first: show it, then confirm it with OK.
        sheet = run.wait_for_window(name="^%s$" % e2e.SETTINGS_SHEET_TITLE)
        e2e.wait_for_steady_picture(sheet, what="the settings sheet to paint")
        snap(sheet, "settings")
        e2e.key(sheet, "Return")
        e2e.wait_for_window_gone(sheet)
        window = run.wait_for_window()
        e2e.focus(window)
        e2e.wait_for_title(window, "Irrlicht")  # the first frames are out
        before = e2e.wait_for_steady_picture(window, what="the camera to settle")
        snap(window, "start")
        stops = [
            ("info", ["i"], 0.5),
            ("walk", ["w"] * 1, 1.5),
            ("turn", ["Right"], 1.0),
            ("wireframe", ["m"], 0.5),
            ("help", ["F1"], 0.5),
        ]
        for name, keys, hold in stops:
            for k in keys:
                e2e.xdotool("keydown", k)
                time.sleep(hold)
                e2e.xdotool("keyup", k)
            before = settled_after(window, before)
            snap(window, name)
        e2e.key(window, "Escape")
        try:
            e2e.wait_for_window_gone(window, timeout=10)
        except e2e.E2EError:
            e2e.close_window(window)
        run.wait()
    print("The tour's pictures are in %s:" % out_dir)
    for path in pictures:
        print("  " + os.path.basename(path))


if __name__ == "__main__":
    main()
