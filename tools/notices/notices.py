#!/usr/bin/python3
"""The third-party notices of a TALLYBOOK package, and the check that a build
links exactly what they name.

  notices.py text  --list packaging/notices/windows.list --version 0.2.0
                   --title "TALLYBOOK 0.2.0 for Windows (64-bit)"
                   --out THIRD-PARTY-NOTICES.txt [--cxx notices_text.inc --license LICENSE]
  notices.py check --list packaging/notices/windows.list --build BUILD MAP...

`text` writes THIRD-PARTY-NOTICES.txt from the list and components.ini beside
it: a summary, then for each work its version, licence and where it comes
from, and in full the copyright file of its Debian package (for a shared
library of Debian's only where that file is). With --cxx it also writes the
same text and the project's licence as C++ constants for src/notices.

`check` reads the linker maps (GNU ld -Map) of a package's programs: the
archive members and object files they took in, the shared libraries they
need (ELF only), and every file those objects were compiled from (their
compilers' depfiles). Each must be TALLYBOOK's own or belong to a work of
components.ini, and the works found must be exactly those of the list, each
as the list says (shared or built in). Exit 1 with the differences otherwise.
"""
import argparse
import configparser
import glob
import os
import re
import subprocess
import sys

KINDS = ("static", "data", "shared")
RULE = "-" * 76


def fail(message):
    print("notices: " + message, file=sys.stderr)
    sys.exit(1)


def read_components(path):
    ini = configparser.ConfigParser(interpolation=None)
    if not ini.read(path, encoding="utf-8"):
        fail("cannot read " + path)
    components = {}
    for key in ini.sections():
        c = dict(ini[key])
        for field in ("name", "licence", "package", "linked"):
            if not c.get(field):
                fail("%s: [%s] has no %s" % (path, key, field))
        c["id"] = key
        c["pattern"] = re.compile(c["linked"])
        components[key] = c
    return components


def read_list(path, components):
    """[(component, kind)] in the list's order."""
    entries = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            if len(words) != 2 or words[0] not in components or words[1] not in KINDS:
                fail("%s:%d: expected a component of components.ini and one of %s" % (path, number, "/".join(KINDS)))
            entries.append((components[words[0]], words[1]))
    return entries


def table_for(list_path):
    return read_components(os.path.join(os.path.dirname(os.path.abspath(list_path)), "components.ini"))


# --- text ----------------------------------------------------------------------

def package_version(package):
    r = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True, text=True)
    if r.returncode != 0 or not r.stdout:
        fail("the Debian package %s is not installed; its copyright file is the licence text "
             "(apt-get install %s)" % (package, package))
    return r.stdout


def copyright_text(package):
    path = "/usr/share/doc/%s/copyright" % package
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        fail("cannot read %s: %s" % (path, e.strerror))
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        text = data.decode("latin-1")
    return path, text.replace("\r\n", "\n").rstrip("\n") + "\n"


HOW = {
    "static": "built into the programs",
    "data": "data made from it is built into the programs",
    "shared": "a shared library of Debian's that the package depends on",
}


def notices_text(entries, title):
    works = []
    out = ["THIRD-PARTY NOTICES: " + title, "",
           "TALLYBOOK is under the MIT licence (LICENSE). Its programs contain or use",
           "the following works of others, under their own licences. For each, the",
           "copyright file of the Debian package it was taken from follows in full.", ""]
    details = []
    for c, kind in entries:
        version = package_version(c["package"])
        works.append("%s %s (%s)" % (c["name"], version, c["licence"]))
        out.append("  - %s %s: %s" % (c["name"], version, c["licence"]))
        path, text = copyright_text(c["package"])
        how = HOW[kind] + ("; " + c["use"] if c.get("use") else "")
        details += ["", RULE, "%s %s" % (c["name"], version), "  Licence: " + c["licence"], "  In TALLYBOOK: " + how,
                    "  Debian package: %s %s" % (c["package"], version)]
        if c.get("source"):
            details.append("  Source: " + c["source"])
        if kind == "shared":
            details += ["  Its licence: " + path, RULE]
        else:
            details += ["  The text below: " + path, RULE, "", text.rstrip("\n")]
    return "\n".join(out + details) + "\n", works


def cxx_literal(text, delimiter="tbnotice"):
    if ")" + delimiter + '"' in text:
        fail("the text holds the raw string's delimiter " + delimiter)
    return 'R"%s(%s)%s"' % (delimiter, text, delimiter)


def command_text(a):
    entries = read_list(a.list, table_for(a.list))
    text, works = notices_text(entries, a.title)
    write(a.out, text)
    if a.cxx:
        if not a.license:
            fail("--cxx needs --license")
        with open(a.license, encoding="utf-8") as f:
            license_text = f.read()
        lines = ["// Generated by tools/notices/notices.py from %s; do not edit." % os.path.basename(a.list),
                 "inline constexpr std::string_view kLicense = %s;" % cxx_literal(license_text),
                 "inline constexpr std::string_view kThirdParty = %s;" % cxx_literal(text),
                 "inline constexpr std::array<std::string_view, %d> kWorks = {" % len(works)]
        lines += ["    %s," % cxx_literal(w) for w in works]
        lines.append("};")
        write(a.cxx, "\n".join(lines) + "\n")


def write(path, text):
    # Unchanged files keep their time, so that nothing is rebuilt for nothing.
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except OSError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


# --- check ---------------------------------------------------------------------

def read_map(path):
    """(archive members [(archive, member)], object files, the folder the map's paths are relative to)."""
    members, objects = [], []
    base = os.path.dirname(os.path.abspath(path))
    section = None
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("Archive member included"):
                section = "members"
                continue
            if line.startswith(("Allocating common symbols", "Discarded input sections", "Memory Configuration",
                                "Linker script and memory map")):
                section = "script" if line.startswith("Linker script") else None
                continue
            if section == "members" and line and not line[0].isspace():
                m = re.match(r"^(.*\.a)\(([^()]*)\)$", line)
                if m:
                    members.append((normal(base, m.group(1)), m.group(2)))
                else:
                    section = None   # the next part of the map ("Merging program properties", ...)
            elif section == "script" and line.startswith("LOAD "):
                target = line[5:].strip()
                if re.search(r"\.(o|obj)$", target):
                    objects.append(normal(base, target))
    return members, objects, base


def normal(base, path):
    return os.path.normpath(os.path.join(base, path))


def depfile_sources(depfile):
    with open(depfile, encoding="utf-8", errors="replace") as f:
        text = f.read().replace("\\\n", " ")
    files = []
    for rule in text.split("\n"):
        if ":" not in rule:
            continue
        _, _, deps = rule.partition(": ")
        for word in re.split(r"(?<!\\)\s+", deps.strip()):
            if word:
                files.append(word.replace("\\ ", " "))
    return files


def depfiles_of_member(archive, member):
    # CMake keeps an archive's objects, each with its depfile, in
    # CMakeFiles/<target>.dir beside the archive (libtb_text.a: tb_text.dir);
    # with MinGW a program's own objects are linked as <target>.dir/objects.a.
    folder = os.path.dirname(archive)
    if not folder.endswith(".dir"):
        target = re.sub(r"^lib|\.a$", "", os.path.basename(archive))
        folder = os.path.join(folder, "CMakeFiles", target + ".dir")
    return glob.glob(os.path.join(glob.escape(folder), "**", glob.escape(member) + ".d"), recursive=True)


def needed_libraries(program):
    r = subprocess.run(["readelf", "-d", program], capture_output=True, text=True)
    if r.returncode != 0:
        return []   # not ELF: a PE program's imports come from import libraries, which the map shows
    return re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", r.stdout)


def command_check(a):
    components = table_for(a.list)
    entries = read_list(a.list, components)
    # TALLYBOOK's own archives and objects are those of the build; anything
    # else the linker took in (a dependency built in a folder of the
    # sources, too) must belong to a work of components.ini.
    ours = os.path.abspath(a.build) + os.sep
    found = {}        # component id -> {kind: example}
    unexplained = set()

    def is_ours(path):
        return path.startswith(ours)

    def place(path, kind, must_explain):
        """True when `path` belongs to a work of others."""
        for c in components.values():
            if c["pattern"].search(path):
                found.setdefault(c["id"], {}).setdefault(kind, path)
                return True
        if must_explain and not is_ours(path):
            unexplained.add(path)
        return False

    for map_path in a.maps:
        members, objects, _ = read_map(map_path)
        if not members and not objects:
            fail("%s holds no archive member and no object: not a GNU ld map?" % map_path)
        depfiles = []
        for archive, member in members:
            # (A compiled resource script holds the icon, the manifest and the version.)
            if not place(archive, "static", True) and is_ours(archive) and not member.endswith(".res"):
                files = depfiles_of_member(archive, member)
                if not files:
                    fail("no depfile for %s(%s): cannot tell what it was compiled from" % (archive, member))
                depfiles += files
        for obj in objects:
            if not place(obj, "static", True) and is_ours(obj):
                if not os.path.exists(obj + ".d"):
                    fail("no depfile for %s: cannot tell what it was compiled from" % obj)
                depfiles.append(obj + ".d")
        for depfile in sorted(set(depfiles)):
            for source in depfile_sources(depfile):
                place(os.path.normpath(source), "static", False)
        program = re.sub(r"\.map$", "", map_path)
        for library in needed_libraries(program):
            place(library, "shared", True)

    problems = ["linked, but in no component of components.ini: " + p for p in sorted(unexplained)]
    listed = {c["id"]: kind for c, kind in entries}
    for cid, kinds in sorted(found.items()):
        if cid not in listed:
            problems.append("%s is in the programs (%s) but not in %s" % (cid, next(iter(kinds.values())), a.list))
        elif (listed[cid] == "shared") != ("shared" in kinds):
            problems.append("%s is listed as %s, but the programs have it %s (%s)" %
                            (cid, listed[cid], "/".join(sorted(kinds)), next(iter(kinds.values()))))
    for cid in listed:
        if cid not in found:
            problems.append("%s is listed in %s, but no program links it" % (cid, a.list))
    for p in problems:
        print("notices: " + p, file=sys.stderr)
    if problems:
        sys.exit(1)
    print("notices: %s matches what %d programs link: %s" % (os.path.basename(a.list), len(a.maps),
                                                            ", ".join(sorted(found))))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="command", required=True)
    t = sub.add_parser("text")
    t.add_argument("--list", required=True)
    t.add_argument("--title", required=True)
    t.add_argument("--out", required=True)
    t.add_argument("--cxx")
    t.add_argument("--license")
    c = sub.add_parser("check")
    c.add_argument("--list", required=True)
    c.add_argument("--build", required=True)
    c.add_argument("maps", nargs="+")
    a = parser.parse_args()
    (command_text if a.command == "text" else command_check)(a)


if __name__ == "__main__":
    main()
