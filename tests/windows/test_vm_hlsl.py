"""The HLSL programs compile with the D3DX of the Wine in use, at the
profiles the plug-in asks for: both stages of every flashlight program at
vs_1_1 and ps_2_0, the lightmap program at vs_1_1 and ps_1_1. Run in the test
machine (scripts/test-vm.sh), whose Wine has a shader compiler that builds
them; VISTEL_HLSL_COMPILE is the i686 vistel-hlsl-compile.exe.

Wine 10's compiler (vkd3d-shader 1.14) cannot sample a texture at all in a
pixel program of profile 1.x: every tex2D there ends in "E7008: Invalid
source count 2 for vsir instruction 0x10c (expected 0)". The lightmap
program then fails as such a compiler makes every 1.x program fail, and the
preview keeps the built-in material for it; the test accepts that one message
only, and then asks the same program to compile at 2.0, so that a fault of
the program itself still shows."""

import os
import subprocess
import unittest

import wine_e2e as e2e

COMPILER = os.environ.get("VISTEL_HLSL_COMPILE", "vistel-hlsl-compile.exe")
SHADERS = os.path.join(e2e.SOURCE_DIR, "runtime", "shaders")
PROGRAMS = [
    ("FlashlightSolidShader", "ps_2_0"),
    ("FlashlightLightmapShader", "ps_2_0"),
    ("FlashlightAlphaShader", "ps_2_0"),
    ("LightmapShader", "ps_1_1"),
]


# What a compiler without texture sampling in 1.x pixel programs says.
NO_SAMPLING_IN_PS_1 = "Invalid source count 2 for vsir instruction 0x10c (expected 0)"


def compile_program(program, *entries_and_profiles):
    source = e2e.windows_path(os.path.join(SHADERS, program + ".hlsl"))
    result = subprocess.run([e2e.WINE, COMPILER, source] + list(entries_and_profiles),
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            env=e2e.wine_environment(), timeout=300)
    print(result.stdout)
    return result


def only_sampling_errors(output):
    errors = [line for line in output.splitlines() if ": E" in line or "error" in line.lower()]
    return bool(errors) and all(NO_SAMPLING_IN_PS_1 in line for line in errors)


class VmHlslTest(unittest.TestCase):
    def test_programs_compile_at_their_profiles(self):
        for program, pixel_profile in PROGRAMS:
            with self.subTest(program):
                result = compile_program(program, "vertexMain", "vs_1_1", "pixelMain", pixel_profile)
                if result.returncode != 0 and pixel_profile.startswith("ps_1_") \
                        and only_sampling_errors(result.stdout):
                    print("%s at %s: this compiler cannot sample textures in 1.x pixel programs; "
                          "the preview keeps the built-in material" % (program, pixel_profile))
                    self.assertEqual(compile_program(program, "pixelMain", "ps_2_0").returncode, 0)
                    continue
                self.assertEqual(result.returncode, 0, result.stdout)


if __name__ == "__main__":
    unittest.main()
