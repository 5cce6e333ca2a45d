"""Which Debian package holds a file, and which fonts cover the program's languages."""

import glob
import os
import subprocess

# The languages of the program's built-in tables, as fontconfig names them.
LANGUAGES = ["en", "de", "it", "ru", "tr", "ar", "fa", "th"]

MERGED_DIRS = [("/usr/lib64/", "/lib64/"), ("/usr/lib/", "/lib/"), ("/usr/bin/", "/bin/"), ("/usr/sbin/", "/sbin/")]


def file_owners():
    """Every file that an installed package holds, with its packages."""
    owners = {}
    for listing in glob.glob("/var/lib/dpkg/info/*.list"):
        package = os.path.basename(listing)[: -len(".list")].split(":")[0]
        with open(listing, encoding="utf-8", errors="replace") as f:
            for path in f:
                owners.setdefault(path.rstrip("\n"), set()).add(package)
    return owners


def spellings(path):
    """The names one file has on a merged-/usr system, as it was read and where its links lead."""
    names = {path, os.path.realpath(path)}
    for name in list(names):
        for merged, legacy in MERGED_DIRS:
            if name.startswith(merged):
                names.add(legacy + name[len(merged):])
            elif name.startswith(legacy):
                names.add(merged + name[len(legacy):])
    return names


def fonts_by_language():
    """For each built-in language, the fonts on this machine that cover it."""
    reads = {}
    for language in LANGUAGES:
        files = subprocess.run(["fc-list", ":lang=" + language, "file"], check=True, capture_output=True,
                               text=True).stdout.split()
        reads[language] = [f.rstrip(":") for f in files]
    return reads


def owners_of(path, owners):
    """The packages that hold a file under any of its names."""
    found = set()
    for name in spellings(path):
        found |= owners.get(name, set())
    return found
