"""The deb-src entries and the guest's mirror derived from a machine's apt
sources (scripts/apt_sources.py), on a table of apt configurations laid out
in a temporary folder: the machine's own apt is never read or changed."""

import os
import sys
import tempfile
import textwrap
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import apt_sources  # noqa: E402

KEY = "/usr/share/keyrings/debian-archive-keyring.gpg"

DEB822_SEVERAL_SUITES = """\
Types: deb
URIs: http://mirror.example/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: %s

Types: deb
URIs: http://mirror.example/debian-security
Suites: bookworm-security
Components: main
Signed-By: %s
""" % (KEY, KEY)

ONE_LINE = """\
# the machine's mirror
deb [arch=amd64 signed-by=%s] http://local.example/debian bookworm main non-free-firmware
deb http://local.example/debian bookworm-updates main   # updates
deb http://local.example/security bookworm-security main
""" % KEY

THIRD_PARTY = """\
Types: deb
URIs: https://vendor.example/apt
Suites: nodistro
Components: main
Signed-By: /usr/share/keyrings/vendor.gpg
"""

EMBEDDED_KEY = """\
Types: deb
URIs: http://mirror.example/debian
Suites: bookworm
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGPL0BUBEADmW5NlEPGm
 -----END PGP PUBLIC KEY BLOCK-----
"""


def stanza(uri, suites, components="main", key=KEY):
    text = "Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n" % (uri, suites, components)
    return text + ("Signed-By: %s\n" % key if key else "")


class AptSourcesTest(unittest.TestCase):
    def machine(self, files, codename="bookworm"):
        root = tempfile.mkdtemp(prefix="vistel-apt-")
        self.addCleanup(__import__("shutil").rmtree, root)
        os.makedirs(os.path.join(root, "etc", "apt", "sources.list.d"))
        with open(os.path.join(root, "etc", "os-release"), "w") as f:
            f.write('PRETTY_NAME="Debian"\nVERSION_CODENAME=%s\n' % codename)
        for name, text in files.items():
            with open(os.path.join(root, "etc", "apt", name), "w") as f:
                f.write(textwrap.dedent(text))
        return root

    def stanzas(self, text):
        self.assertTrue(text.startswith(apt_sources.OWN_HEADER))
        return [s.strip() + "\n" for s in text[len(apt_sources.OWN_HEADER):].split("\n\n") if s.strip()]

    def test_deb_src_follows_the_deb_entries(self):
        cases = [
            ("deb822, several suites and a security archive",
             {"sources.list.d/debian.sources": DEB822_SEVERAL_SUITES},
             [stanza("http://mirror.example/debian", "bookworm bookworm-updates", "main contrib"),
              stanza("http://mirror.example/debian-security", "bookworm-security")]),
            ("one-line list with options and comments",
             {"sources.list": ONE_LINE},
             [stanza("http://local.example/debian", "bookworm", "main non-free-firmware"),
              stanza("http://local.example/debian", "bookworm-updates", key=None),
              stanza("http://local.example/security", "bookworm-security", key=None)]),
            ("both kinds; a third-party archive and a disabled stanza are left out",
             {"sources.list": "deb http://local.example/debian bookworm main\n",
              "sources.list.d/debian.sources": DEB822_SEVERAL_SUITES.replace(
                  "Suites: bookworm-security\n", "Suites: bookworm-security\nEnabled: no\n"),
              "sources.list.d/vendor.sources": THIRD_PARTY,
              "sources.list.d/old.list.disabled": "deb http://old.example/debian bookworm main\n"},
             [stanza("http://local.example/debian", "bookworm", key=None),
              stanza("http://mirror.example/debian", "bookworm bookworm-updates", "main contrib")]),
            ("a key written into the entry is kept as written",
             {"sources.list.d/debian.sources": EMBEDDED_KEY},
             [stanza("http://mirror.example/debian", "bookworm", key=None) + "Signed-By:\n"
              " -----BEGIN PGP PUBLIC KEY BLOCK-----\n .\n mQINBGPL0BUBEADmW5NlEPGm\n"
              " -----END PGP PUBLIC KEY BLOCK-----\n"]),
        ]
        for name, files, expected in cases:
            with self.subTest(name):
                derived = apt_sources.derive_deb_src(self.machine(files))
                self.assertEqual(self.stanzas(derived), expected)

    def test_no_entry_when_deb_src_is_present_or_nothing_to_follow(self):
        cases = [
            ("one-line deb-src", {"sources.list": ONE_LINE + "deb-src http://local.example/debian bookworm main\n"}),
            ("deb822 with both types", {"sources.list.d/debian.sources":
                                        DEB822_SEVERAL_SUITES.replace("Types: deb\n", "Types: deb deb-src\n", 1)}),
            ("only a third-party archive", {"sources.list.d/vendor.sources": THIRD_PARTY}),
            ("no sources at all", {}),
        ]
        for name, files in cases:
            with self.subTest(name):
                self.assertEqual(apt_sources.derive_deb_src(self.machine(files)), "")

    def test_own_file_is_derived_afresh(self):
        # An entry the build wrote earlier (for a mirror the machine no longer
        # uses) is not taken as the machine's own deb-src entry.
        root = self.machine({"sources.list.d/debian.sources": DEB822_SEVERAL_SUITES,
                             "sources.list.d/vistel-deb-src.sources":
                                 stanza("http://gone.example/debian", "bookworm")})
        own = os.path.join(root, "etc", "apt", "sources.list.d", "vistel-deb-src.sources")
        self.assertEqual(apt_sources.derive_deb_src(root), "")
        derived = apt_sources.derive_deb_src(root, own=own)
        self.assertIn("URIs: http://mirror.example/debian\n", derived)
        self.assertNotIn("gone.example", derived)

    def test_guest_mirror_is_the_release_archive(self):
        cases = [
            ({"sources.list.d/debian.sources": DEB822_SEVERAL_SUITES}, "http://mirror.example/debian " + KEY),
            ({"sources.list": "deb http://local.example/security bookworm-security main\n" + ONE_LINE},
             "http://local.example/debian " + KEY),
            ({"sources.list.d/debian.sources": EMBEDDED_KEY}, "http://mirror.example/debian"),
            ({"sources.list.d/vendor.sources": THIRD_PARTY}, ""),
        ]
        for files, expected in cases:
            with self.subTest(expected):
                self.assertEqual(apt_sources.derive_mirror(self.machine(files)), expected)


if __name__ == "__main__":
    unittest.main()
