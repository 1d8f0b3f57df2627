"""The HLSL programs compile with the D3DX of the Wine in use, at the
profiles the plug-in asks for: both stages of every flashlight program at
vs_1_1 and ps_2_0, the lightmap program at vs_1_1 and ps_1_1. Run in the test
machine (scripts/test-vm.sh), whose Wine has a shader compiler that builds
them; VISTEL_HLSL_COMPILE is the i686 vistel-hlsl-compile.exe."""

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


class VmHlslTest(unittest.TestCase):
    def test_programs_compile_at_their_profiles(self):
        for program, pixel_profile in PROGRAMS:
            with self.subTest(program):
                source = e2e.windows_path(os.path.join(SHADERS, program + ".hlsl"))
                result = subprocess.run([e2e.WINE, COMPILER, source, "vertexMain", "vs_1_1",
                                         "pixelMain", pixel_profile],
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                        env=e2e.wine_environment(), timeout=300)
                print(result.stdout)
                self.assertEqual(result.returncode, 0, result.stdout)


if __name__ == "__main__":
    unittest.main()
