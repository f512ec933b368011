"""Lays out a sample medium and runs the launcher on it under Wine."""

import os
import shutil
import sys

import pefile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "windows"))

import wine_support as wine  # noqa: E402

MEDIUM = os.path.join(wine.BUILD_DIR, "demo", "Sample Disc")
NO_64BIT_MEDIUM = os.path.join(wine.BUILD_DIR, "demo", "Disc without 64bit")
# A folder whose name a Western system's code page (1252) cannot hold.
CYRILLIC_MEDIUM = os.path.join(wine.BUILD_DIR, "demo", "Установка")

MACHINE_NAMES = {0x14C: "i386", 0x8664: "x86-64 (AMD64)"}


def machine_type(unix_path):
    """The machine type in the program's PE header, read here, not under Wine."""
    machine = pefile.PE(unix_path, fast_load=True).FILE_HEADER.Machine
    return "%s, 0x%x" % (MACHINE_NAMES.get(machine, "another machine"), machine)


def unix_path(windows_path):
    """The file behind a Z:\\ path that Wine gave a program."""
    return windows_path[2:].replace("\\", "/")


def show_outcome(run):
    if not run.started():
        print("   installer started:      none")
    print("   launcher's output:      " + (repr(run.stdout.decode("latin-1")) if run.stdout else "none"))
    print("   launcher's exit status: %s" % (run.status if run.start_error is None else "not started"))
    print()


def show(title, prefix, launcher, arguments, exit_status=0):
    command_line = b'"' + wine.windows_path(launcher) + b'"' + (b" " + arguments if arguments else b"")
    print("== " + title)
    print("   launcher command line:  " + command_line.decode("latin-1"))
    run = wine.start(prefix, launcher, command_line, current_directory=wine.windows_path(wine.BUILD_DIR),
                     exit_status=exit_status)
    for installer, received, directory in run.started():
        print("   installer started:      " + installer.decode("latin-1"))
        print("   its machine type:       " + machine_type(unix_path(installer.decode("latin-1"))))
        print("   its command line:       [" + received.decode("latin-1") + "]")
        print("   its current directory:  " + directory.decode("latin-1"))
    show_outcome(run)


def show_unicode(title, prefix, launcher, arguments):
    """A start that gives names outside the system's code page, in UTF-16."""
    command_line = '"%s" %s' % (wine.windows_path(launcher, "utf-8").decode("utf-8"), arguments)
    print("== " + title)
    print("   launcher command line:  " + command_line)
    run = wine.start(prefix, launcher, command_line.encode("utf-8"), unicode_start=True)
    for line, code_page in zip(run.unicode_lines(), run.code_pages()):
        print("   its command line:       [" + line + "] (as the system gave it, in UTF-16)")
        print("   installer's code page:  %d (the system's own)" % code_page)
    show_outcome(run)


def show_by_hand(prefix, launcher):
    """As a person would run it: the sample installer prints what it received."""
    print("== By hand, on 64-bit Windows: wine launcher.exe /s \"C:\\My Files\"")
    status, stdout, _ = prefix.wine([launcher, "/s", "C:\\My Files"], extra_env={"STANDIN_ECHO": "1"},
                                    cwd=wine.BUILD_DIR)
    for line in stdout.decode("latin-1").splitlines():
        line = line.strip()
        print("   " + line)
        if line.startswith("installer "):
            print("   its machine type: " + machine_type(unix_path(line[len("installer "):])))
    print("   exit status (as wine passes it on, the low 8 bits): %d" % status)
    print()


def main():
    for folder in (MEDIUM, NO_64BIT_MEDIUM, CYRILLIC_MEDIUM):
        shutil.rmtree(folder, ignore_errors=True)
    launcher = wine.lay_out_medium(MEDIUM)
    cyrillic_launcher = wine.lay_out_medium(CYRILLIC_MEDIUM)
    launcher_without_64bit = wine.lay_out_medium(NO_64BIT_MEDIUM, builds=("32bit",))
    print("Sample medium: " + MEDIUM)
    for root, _, files in sorted(os.walk(MEDIUM)):
        for name in sorted(files):
            path = os.path.join(root, name)
            print("   %-18s %s" % (os.path.relpath(path, MEDIUM), machine_type(path)))
    print()

    print("Preparing Wine (the first time takes a minute)...")
    print()
    wine.open_prefixes(version="win7")
    try:
        show_by_hand(wine.PREFIX_64, launcher)
        show("32-bit Windows, no arguments", wine.PREFIX_32, launcher, b"")
        show("32-bit Windows, a few arguments", wine.PREFIX_32, launcher, b'/s /v:x "C:\\My Files" ""')
        show("64-bit Windows, a few arguments", wine.PREFIX_64, launcher, b'/s /log "C:\\My Dir\\\\"')
        show("64-bit Windows, the installer asks for a restart", wine.PREFIX_64, launcher, b"/s", exit_status=3010)
        show("64-bit Windows, a medium without its 64bit build", wine.PREFIX_64, launcher_without_64bit, b"/s")
        show_unicode("64-bit Windows, a medium in a folder named in Cyrillic", wine.PREFIX_64, cyrillic_launcher,
                     "/s /dir=Диск")
    finally:
        wine.close_prefixes()


if __name__ == "__main__":
    main()
