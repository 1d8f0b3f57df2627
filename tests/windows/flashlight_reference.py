"""Takes the pictures that the real Windows plug-in's flashlight is compared
with (test_vm_flashlight.py): the Linux build's preview of the sample level
from where it starts, with the flashlight on (GLSL programs) and off, saved
as flashlight-on.png and flashlight-off.png in the folder given.

usage: flashlight_reference.py FOLDER (run with the environment of the Linux
end-to-end tests: VISTEL_HOST, VISTEL_PLUGIN, VISTEL_X11_CLOSE, ...)"""

import os
import sys

import vistel_e2e as e2e

SIZE = (640, 480)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    with e2e.HostRun() as run:
        window = run.wait_for_preview()
        e2e.wait_for_window_size(window, SIZE)
        e2e.focus(window)
        on = e2e.wait_for_steady_picture(window, what="the camera to settle")
        on.save(os.path.join(folder, "flashlight-on.png"))
        e2e.key(window, "f")
        e2e.wait_for_changed_picture(window, on, what="the flashlight to go off")
        off = e2e.wait_for_steady_picture(window, what="the picture without the flashlight")
        off.save(os.path.join(folder, "flashlight-off.png"))
        e2e.key(window, "Escape")
        if run.wait() != 0:
            raise e2e.E2EError("the host failed:\n" + run.read_output())
        if "shaders disabled" in run.read_output().lower():
            raise e2e.E2EError("the Linux build drew without its shaders:\n" + run.read_output())


if __name__ == "__main__":
    main(sys.argv[1])
