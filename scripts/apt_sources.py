#!/usr/bin/env python3
"""Reads the machine's apt sources and derives from them what the build needs,
so that nothing the scripts write names a mirror of its own:

  deb-src   the deb-src entries for the Debian archives the machine already
            uses (same URIs, suites, components and signing key as its deb
            entries), as a deb822 sources file; prints nothing when an enabled
            deb-src entry for the machine's release exists already
  mirror    one line "URI KEYRING" for the machine's main Debian archive (the
            entry whose suite is the release itself), for building a guest
            system of another release from the same mirror

Both one-line sources.list files and deb822 .sources files are read, as apt
reads them: /etc/apt/sources.list, then sources.list.d/*.list and *.sources
in name order; other file names are ignored, as are entries with Enabled: no.

usage: apt_sources.py deb-src|mirror [--root DIR] [--own FILE]
  --root DIR  the file system root whose etc/ is read (default /)
  --own FILE  a sources file this project wrote earlier: not counted as an
              existing deb-src entry, so that it is derived afresh
"""

import argparse
import os
import sys

# Suite names, besides the machine's codename, that mean a Debian release.
RELEASE_ALIASES = {"stable", "oldstable", "testing", "unstable", "sid"}

OWN_HEADER = ("# Written by vistel's scripts/build-windows.sh from this machine's deb entries.\n"
              "# Remove with: bash scripts/build-windows.sh --remove-deb-src\n")


class Entry:
    """One apt source: its types, URIs, suites, components and the other
    fields, each field kept as the lines it was written with."""

    def __init__(self, fields, origin):
        self.fields = fields  # lower-case name -> (written name, [lines])
        self.origin = origin

    def values(self, name):
        field = self.fields.get(name.lower())
        return " ".join(field[1]).split() if field else []

    @property
    def enabled(self):
        return self.values("Enabled")[:1] != ["no"]


def parse_one_line(text, origin):
    entries = []
    for raw in text.splitlines():
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        words = line.split()
        kind, rest = words[0], words[1:]
        if kind not in ("deb", "deb-src"):
            continue
        options = []
        if rest and rest[0].startswith("["):
            joined = " ".join(rest)
            end = joined.find("]")
            if end < 0:
                continue
            options = joined[1:end].split()
            rest = joined[end + 1:].split()
        if len(rest) < 2:
            continue
        fields = {"types": ("Types", [kind]), "uris": ("URIs", [rest[0]]),
                  "suites": ("Suites", [rest[1]])}
        if rest[2:]:
            fields["components"] = ("Components", [" ".join(rest[2:])])
        for option in options:
            name, _, value = option.partition("=")
            written = {"signed-by": "Signed-By", "arch": "Architectures",
                       "lang": "Languages", "trusted": "Trusted"}.get(name.lower())
            if written and value:
                fields[written.lower()] = (written, [value.replace(",", " ")])
        entries.append(Entry(fields, origin))
    return entries


def parse_deb822(text, origin):
    entries, fields, last = [], {}, None
    for line in text.splitlines() + [""]:
        if line.startswith("#"):
            continue
        if not line.strip():
            if fields:
                entries.append(Entry(fields, origin))
            fields, last = {}, None
        elif line[0] in " \t" and last:
            fields[last][1].append(line.strip())
        elif ":" in line:
            name, _, value = line.partition(":")
            last = name.strip().lower()
            fields[last] = (name.strip(), [value.strip()] if value.strip() else [])
    return [e for e in entries if e.values("Types") and e.values("URIs")]


def read_entries(root):
    etc = os.path.join(root, "etc", "apt")
    files = [os.path.join(etc, "sources.list")]
    parts = os.path.join(etc, "sources.list.d")
    if os.path.isdir(parts):
        files += [os.path.join(parts, name) for name in sorted(os.listdir(parts))
                  if name.endswith((".list", ".sources"))]
    entries = []
    for path in files:
        try:
            with open(path, encoding="utf-8", errors="replace") as handle:
                text = handle.read()
        except OSError:
            continue
        parse = parse_deb822 if path.endswith(".sources") else parse_one_line
        entries += [e for e in parse(text, path) if e.enabled]
    return entries


def codename(root):
    try:
        with open(os.path.join(root, "etc", "os-release"), encoding="utf-8") as handle:
            for line in handle:
                name, _, value = line.strip().partition("=")
                if name == "VERSION_CODENAME":
                    return value.strip('"\'')
    except OSError:
        pass
    return ""


def release_suites(entry, release):
    """The entry's suites that belong to the machine's release (bookworm,
    bookworm-updates, bookworm-security, bookworm/updates, ...)."""
    names = {release} | RELEASE_ALIASES if release else RELEASE_ALIASES
    return [s for s in entry.values("Suites")
            if s.replace("/", "-").split("-", 1)[0] in names]


def format_field(name, lines):
    if len(lines) == 1:
        return "%s: %s\n" % (name, lines[0])
    return "%s:%s\n" % (name, "".join("\n " + (line or ".") for line in lines))


def derive_deb_src(root, own=None):
    release = codename(root)
    entries = read_entries(root)
    own_path = os.path.abspath(own) if own else None
    for entry in entries:
        if "deb-src" in entry.values("Types") and release_suites(entry, release) \
                and os.path.abspath(entry.origin) != own_path:
            return ""
    stanzas = []
    for entry in entries:
        suites = release_suites(entry, release)
        if "deb" not in entry.values("Types") or not suites:
            continue
        text = "Types: deb-src\n"
        text += "URIs: %s\n" % " ".join(entry.values("URIs"))
        text += "Suites: %s\n" % " ".join(suites)
        text += "Components: %s\n" % " ".join(entry.values("Components") or ["main"])
        for name in ("signed-by", "trusted"):
            if name in entry.fields:
                text += format_field(*entry.fields[name])
        if text not in stanzas:
            stanzas.append(text)
    return OWN_HEADER + "\n" + "\n".join(stanzas) if stanzas else ""


def derive_mirror(root):
    release = codename(root)
    for entry in read_entries(root):
        if "deb" in entry.values("Types") and release in entry.values("Suites"):
            keyring = entry.values("Signed-By")
            # A key written into the entry itself is no file to hand on.
            key = keyring[0] if len(keyring) == 1 and keyring[0].startswith("/") else ""
            return ("%s %s" % (entry.values("URIs")[0], key)).strip()
    return ""


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("what", choices=["deb-src", "mirror"])
    parser.add_argument("--root", default="/")
    parser.add_argument("--own")
    arguments = parser.parse_args(argv)
    if arguments.what == "deb-src":
        sys.stdout.write(derive_deb_src(arguments.root, arguments.own))
        return 0
    mirror = derive_mirror(arguments.root)
    if not mirror:
        print("apt_sources.py: no deb entry for this machine's release in its apt sources",
              file=sys.stderr)
        return 1
    print(mirror)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
