"""Running the launcher under Wine: prefixes, media and the start driver.

The prefixes live in the build tree and are made once, then reused by every
test of a run. A medium is a folder laid out as on a disc: the launcher in
its root, stand-in installers in 32bit\\ and 64bit\\.
"""

import base64
import json
import os
import shutil
import socket
import subprocess
import tempfile

BUILD_DIR = os.environ.get("BUILD_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "build", "windows"))
BUILD_DIR = os.path.abspath(BUILD_DIR)
LAUNCHER = os.path.join(BUILD_DIR, "launcher.exe")
TEST_PROGRAMS = os.path.join(BUILD_DIR, "test-programs")
RECORDING_INSTALLER = os.path.join(TEST_PROGRAMS, "recording_installer.exe")
# Its x86-64 build, from the build's x86-64 sub-build (cmake/mingw-w64-x86-64.cmake).
RECORDING_INSTALLER_X86_64 = os.path.join(BUILD_DIR, "x86-64", "test-programs", "recording_installer.exe")
# The stand-in installer of each folder of a medium, as on a real one: a
# 32-bit Windows starts the i686 build, a 64-bit Windows the x86-64 build.
INSTALLER_BUILDS = {"32bit": RECORDING_INSTALLER, "64bit": RECORDING_INSTALLER_X86_64}
DRIVER = os.path.join(TEST_PROGRAMS, "start_with_command_line.exe")
CLASSIFICATION_PROBE = os.path.join(TEST_PROGRAMS, "classification_probe.exe")
PLANTED_LIBRARY = os.path.join(TEST_PROGRAMS, "planted_library.dll")
WORK_DIR = os.path.join(BUILD_DIR, "wine-tests")

FAILURE_LINE = b"Could not start the installer\r\n"

# Where Wine runs. On a machine whose kernel cannot run 32-bit programs,
# guest/wine-guest runs Wine in an emulated Debian guest and names its
# address here; the guest sees the build tree at the same path, so every
# path below means the same on both sides. Otherwise Wine runs here.
WINE_GUEST = os.environ.get("WINE_GUEST")
# The guest's image comes with both prefixes made (guest/recipe).
GUEST_PREFIXES = "/var/lib/wine-prefixes"


def run_program(argv, env, cwd=None, timeout=120):
    """Runs a program where Wine runs; returns its exit status and the bytes
    of its standard output and standard error. These go through files, not
    pipes: the wine server's own processes would keep a pipe open long after
    the program."""
    if WINE_GUEST:
        return run_in_guest(argv, env, cwd, timeout)
    with tempfile.TemporaryFile() as stdout, tempfile.TemporaryFile() as stderr:
        completed = subprocess.run(argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=stdout, stderr=stderr,
                                   timeout=timeout)
        stdout.seek(0)
        stderr.seek(0)
        return completed.returncode, stdout.read(), stderr.read()


def run_in_guest(argv, env, cwd, timeout):
    """The same, through the guest's agent (guest/agent.py): one request a
    connection, each string sent as its exact bytes."""

    def text(value):
        return os.fsencode(value).decode("latin-1")

    request = {"argv": [text(argument) for argument in argv], "env": {text(k): text(v) for k, v in env.items()},
               "cwd": text(cwd) if cwd else None, "timeout": timeout}
    host, port = WINE_GUEST.rsplit(":", 1)
    with socket.create_connection((host, int(port)), timeout=timeout + 60) as connection:
        connection.sendall(json.dumps(request).encode("ascii") + b"\n")
        answer = connection.makefile("rb").readline()
    if not answer:
        raise ConnectionError("the Wine guest at %s gave no answer to %r" % (WINE_GUEST, argv))
    answer = json.loads(answer)
    if answer.get("timeout"):
        raise subprocess.TimeoutExpired(argv, timeout)
    if "error" in answer:
        raise OSError(answer["error"], "in the Wine guest: " + answer["message"])
    return answer["status"], base64.b64decode(answer["stdout"]), base64.b64decode(answer["stderr"])


def windows_path(unix_path, encoding="latin-1"):
    """The path as a Windows program sees it: Wine maps Z: to the Unix root."""
    return ("Z:" + os.path.abspath(unix_path).replace("/", "\\")).encode(encoding)


class Prefix:
    """A Wine prefix of one architecture, made on first use."""

    def __init__(self, arch, locale="C.UTF-8"):
        self.arch = arch
        self.path = os.path.join(GUEST_PREFIXES if WINE_GUEST else os.path.join(BUILD_DIR, "wine-prefixes"), arch)
        self.locale = locale

    def environment(self, extra=None, locale=None):
        env = {
            "PATH": "/usr/bin:/bin" if WINE_GUEST else os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": "/root" if WINE_GUEST else os.environ.get("HOME", "/root"),
            "WINEPREFIX": self.path,
            "WINEARCH": self.arch,
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "LANG": locale or self.locale,
            "LC_ALL": locale or self.locale,
        }
        env.update(extra or {})
        return env

    def ensure(self):
        if run_program(["test", "-f", os.path.join(self.path, "system.reg")], self.environment())[0] == 0:
            return
        run_program(["mkdir", "-p", os.path.dirname(self.path)], self.environment())
        status, _, stderr = run_program(["wineboot", "-i"], self.environment(), timeout=300)
        if status != 0:
            raise RuntimeError("wineboot -i failed with status %d: %s" % (status, stderr.decode("latin-1")))
        # Wait for the server to write the new registry to disk.
        run_program(["wineserver", "-w"], self.environment(), timeout=300)

    def wine(self, args, extra_env=None, locale=None, timeout=120, cwd=None):
        """Runs a Windows program; returns its exit status and the bytes of its
        standard output and standard error."""
        return run_program(["wine"] + list(args), self.environment(extra_env, locale), cwd, timeout)

    def set_version(self, name):
        """The Windows version that the prefix reports from now on."""
        self.wine(["winecfg", "-v", name], timeout=120)

    def keep_server(self):
        """Keeps the wine server up between programs, which saves seconds a start."""
        run_program(["wineserver", "-p"], self.environment(), timeout=60)

    def stop(self):
        run_program(["wineserver", "-k"], self.environment(), timeout=60)


PREFIX_32 = Prefix("win32")
PREFIX_64 = Prefix("win64")
PREFIXES = (PREFIX_32, PREFIX_64)


def open_prefixes(version=None):
    """Makes both prefixes if need be and keeps their servers up; for a test
    module's set-up. With a version, both report that release."""
    for prefix in PREFIXES:
        prefix.ensure()
        prefix.keep_server()
        if version:
            prefix.set_version(version)


def close_prefixes():
    for prefix in PREFIXES:
        prefix.stop()


def new_folder(name):
    os.makedirs(WORK_DIR, exist_ok=True)
    return tempfile.mkdtemp(prefix=name + "-", dir=WORK_DIR)


def lay_out_medium(root, launcher_name="launcher.exe", builds=("32bit", "64bit")):
    """A medium in root; returns the launcher's Unix path."""
    os.makedirs(root, exist_ok=True)
    launcher = os.path.join(root, launcher_name)
    shutil.copyfile(LAUNCHER, launcher)
    for build in builds:
        os.makedirs(os.path.join(root, build), exist_ok=True)
        shutil.copyfile(INSTALLER_BUILDS[build], os.path.join(root, build, "setup.exe"))
    return launcher


class Run:
    """What one start of the launcher left behind."""

    def __init__(self, status, milliseconds, start_error, stdout, stderr, records):
        self.status = status
        self.milliseconds = milliseconds
        self.start_error = start_error
        self.stdout = stdout
        self.stderr = stderr
        self.records = records

    def started(self):
        """(installer path, command line, current directory) of each start."""
        return [tuple(fields[1:4]) for fields in self.records if fields[0] == b"started"]

    def code_pages(self):
        return [int(fields[4]) for fields in self.records if fields[0] == b"started"]

    def pointer_bits(self):
        """32 or 64 for each start: which build of the installer ran."""
        return [int(fields[5]) for fields in self.records if fields[0] == b"started"]

    def unicode_lines(self):
        """The command line of each start as the system handed it across, in UTF-16, as text."""
        return [fields[6].decode("utf-8") for fields in self.records if fields[0] == b"started"]

    def ended(self):
        return [fields[1] for fields in self.records if fields[0] == b"ended"]


def start(prefix, application, command_line, current_directory=b"", exit_status=0, sleep_ms=0,
          encoding="latin-1", locale=None, extra_env=None, unicode_start=False):
    """Starts application (a Unix path, or None for none) with an exact command
    line (bytes) through the driver, and collects what happened. A Unicode
    start takes the command line and the directory in UTF-8."""
    if unicode_start:
        encoding = "utf-8"
    folder = new_folder("run")
    request = os.path.join(folder, "request")
    record = os.path.join(folder, "record")
    with open(request, "wb") as file:
        name = b"" if application is None else windows_path(application, encoding)
        file.write(name + b"\0" + command_line + b"\0" + current_directory + b"\0")
    env = {
        "STANDIN_RECORD": windows_path(record).decode("latin-1"),
        "STANDIN_EXIT_STATUS": str(exit_status),
        "STANDIN_SLEEP_MS": str(sleep_ms),
    }
    if unicode_start:
        env["DRIVER_UTF8"] = "1"
    env.update(extra_env or {})
    prefix.wine([DRIVER, windows_path(request).decode("latin-1")], extra_env=env, locale=locale)

    def read(path):
        if not os.path.exists(path):
            return None
        with open(path, "rb") as file:
            return file.read()

    status_text = (read(request + ".status") or b"").decode("ascii").split()
    if not status_text:
        raise AssertionError("the driver reported nothing")
    status = milliseconds = start_error = None
    if status_text[0] == "failed":
        start_error = int(status_text[1])
    else:
        status, milliseconds = int(status_text[0]), int(status_text[1])
    records = [line.split(b"\x1f") for line in (read(record) or b"").split(b"\n") if line]
    return Run(status, milliseconds, start_error, read(request + ".stdout"), read(request + ".stderr"), records)
