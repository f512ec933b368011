"""The launcher under Wine, as 32-bit and as 64-bit Windows, against stand-in
installers that record what they were given."""

import os
import shutil
import unittest

import wine_support as wine
from wine_support import FAILURE_LINE, PREFIX_32, PREFIX_64, lay_out_medium, new_folder, start, windows_path


def setUpModule():
    wine.open_prefixes(version="win7")


def tearDownModule():
    wine.close_prefixes()


def installer(root, build):
    return windows_path(os.path.join(root, build, "setup.exe"))


class Selection(unittest.TestCase):
    def test_each_windows_starts_its_own_build(self):
        # A 64-bit Windows runs the x86-64 build, so the start crosses from
        # the launcher's WOW64 process into a 64-bit one.
        for prefix, build, bits in ((PREFIX_32, "32bit", 32), (PREFIX_64, "64bit", 64)):
            with self.subTest(prefix.arch):
                root = new_folder("selection")
                launcher = lay_out_medium(root)
                run = start(prefix, launcher, b"launcher.exe")
                self.assertEqual(run.status, 0)
                self.assertEqual([start[0] for start in run.started()], [installer(root, build)])
                self.assertEqual(run.pointer_bits(), [bits])
                self.assertEqual(run.stdout, b"")
                self.assertEqual(run.stderr, b"")


class Forwarding(unittest.TestCase):
    # The launcher's command line, with {L} for its own quoted path, and what
    # the installer must receive after its own path and blank.
    CASES = [
        ("no arguments", b"{L}", b""),
        ("two switches", b"{L} /s /v:x", b"/s /v:x "),
        ("runs of blanks and tabs, blanks at the end", b"{L}  /s\t\t/v:x   ", b"/s /v:x "),
        ("quoted argument with a blank", b'{L} "C:\\My Files"', b"C:\\My Files "),
        ("tab inside quotes", b'{L} "a\tb"', b"a\tb "),
        ("empty argument", b'{L} "" /s', b" /s "),
        ("escaped quote outside quotes", b'{L} a\\"b', b'a"b '),
        ("doubled quote inside quotes", b'{L} "a""b c"', b'a"b c '),
        ("folder whose closing quote is escaped", b'{L} "C:\\My Dir\\" /s', b'C:\\My Dir" /s '),
        ("folder with its backslash doubled", b'{L} "C:\\My Dir\\\\" /s', b"C:\\My Dir\\ /s "),
        ("quotes inside an unquoted argument", b'{L} a"b"c', b"abc "),
        ("odd and even backslash runs", b'{L} \\\\\\"a \\\\"b c"', b'\\"a \\b c '),
        ("backslashes not before a quote", b"{L} C:\\a\\\\b\\", b"C:\\a\\\\b\\ "),
        ("unterminated quote", b'{L} "a b  ', b"a b   "),
        ("leading blank forwards the program name", b" launcher.exe /s", b"launcher.exe /s "),
        ("program name splits by its own rules", b'e"ch\\"o x', b"x "),
        ("unquoted program name", b"launcher x", b"x "),
    ]

    def test_installer_receives_the_arguments_each_followed_by_a_blank(self):
        root = new_folder("forwarding")
        launcher = lay_out_medium(root)
        quoted_launcher = b'"' + windows_path(launcher) + b'"'
        for name, command_line, forwarded in self.CASES:
            with self.subTest(name):
                run = start(PREFIX_32, launcher, command_line.replace(b"{L}", quoted_launcher))
                self.assertEqual(run.status, 0)
                started = run.started()
                self.assertEqual(len(started), 1)
                self.assertEqual(started[0][1], installer(root, "32bit") + b" " + forwarded)

    def test_64bit_build_receives_them_alike(self):
        root = new_folder("forwarding")
        launcher = lay_out_medium(root)
        run = start(PREFIX_64, launcher, b'launcher.exe /s "a b" ""')
        expected = installer(root, "64bit") + b" /s a b  "
        self.assertEqual(run.started()[0][1], expected)
        # The 64-bit process gets its line from the system's UTF-16 copy.
        self.assertEqual(run.unicode_lines(), [expected.decode("latin-1")])


class WaitingAndStatus(unittest.TestCase):
    def test_waits_until_the_installer_has_ended(self):
        root = new_folder("waiting")
        launcher = lay_out_medium(root)
        run = start(PREFIX_64, launcher, b"launcher.exe", sleep_ms=1500)
        self.assertGreaterEqual(run.milliseconds, 1500)
        self.assertEqual(run.ended(), [installer(root, "64bit")])

    def test_installer_exit_status_comes_back(self):
        root = new_folder("status")
        launcher = lay_out_medium(root)
        for prefix in (PREFIX_32, PREFIX_64):
            for status in (0, 1, 1602, 1603, 1641, 3010, 0xC0000005):
                with self.subTest(arch=prefix.arch, status=status):
                    run = start(prefix, launcher, b"launcher.exe", exit_status=status)
                    self.assertEqual(run.status, status)
                    self.assertEqual(run.stdout, b"")


class Failure(unittest.TestCase):
    def check_failure(self, prefix, root, launcher, status):
        run = start(prefix, launcher, b"launcher.exe /s")
        self.assertEqual(run.stdout, FAILURE_LINE)
        self.assertEqual(len(run.stdout), 31)
        self.assertEqual(run.stderr, b"")
        self.assertEqual(run.status, status)
        self.assertEqual(run.started(), [])

    def test_64bit_windows_without_its_build_does_not_start_the_32bit_one(self):
        root = new_folder("no-64bit")
        launcher = lay_out_medium(root, builds=("32bit",))
        self.check_failure(PREFIX_64, root, launcher, 3)  # ERROR_PATH_NOT_FOUND

    def test_missing_installer_file(self):
        root = new_folder("no-setup")
        launcher = lay_out_medium(root, builds=())
        os.makedirs(os.path.join(root, "32bit"))
        self.check_failure(PREFIX_32, root, launcher, 2)  # ERROR_FILE_NOT_FOUND

    def test_setup_that_is_not_a_program(self):
        for prefix, build in ((PREFIX_32, "32bit"), (PREFIX_64, "64bit")):
            with self.subTest(prefix.arch):
                root = new_folder("not-a-program")
                launcher = lay_out_medium(root, builds=())
                os.makedirs(os.path.join(root, build))
                with open(os.path.join(root, build, "setup.exe"), "wb") as file:
                    file.write(b"this is not a program\r\n" * 40)
                self.check_failure(prefix, root, launcher, 193)  # ERROR_BAD_EXE_FORMAT

    def test_failure_line_on_the_console_in_text_mode(self):
        root = new_folder("console")
        launcher = lay_out_medium(root, builds=())
        status, stdout, _ = PREFIX_32.wine([launcher, "/s"])
        self.assertEqual(stdout, FAILURE_LINE)
        self.assertEqual(status, 3)


class CurrentDirectory(unittest.TestCase):
    def test_installer_starts_in_the_current_directory_but_comes_from_the_launchers_folder(self):
        root = new_folder("medium")
        launcher = lay_out_medium(root)
        # A decoy medium in the current directory must not be the one used.
        elsewhere = new_folder("elsewhere")
        lay_out_medium(elsewhere)
        for prefix, build in ((PREFIX_32, "32bit"), (PREFIX_64, "64bit")):
            with self.subTest(prefix.arch):
                run = start(prefix, launcher, b"launcher.exe", current_directory=windows_path(elsewhere))
                self.assertEqual(run.started(), [(installer(root, build), installer(root, build) + b" ",
                                                  windows_path(elsewhere))])


class FolderWithBlanks(unittest.TestCase):
    def test_planted_program_does_not_run_in_the_installers_place(self):
        parent = new_folder("blanks")
        root = os.path.join(parent, "Disc One")
        launcher = lay_out_medium(root)
        # Where the system's resolution of an unquoted "...\Disc One\..." leads first.
        planted = os.path.join(parent, "Disc.exe")
        shutil.copyfile(wine.RECORDING_INSTALLER, planted)

        # The fixture is real: left to resolve the line, the system runs it.
        resolved = start(PREFIX_32, None, installer(root, "32bit") + b" ")
        self.assertEqual([start[0] for start in resolved.started()], [windows_path(planted)])

        for prefix, build in ((PREFIX_32, "32bit"), (PREFIX_64, "64bit")):
            with self.subTest(prefix.arch):
                run = start(prefix, launcher, b'"' + windows_path(launcher) + b'" /s')
                self.assertEqual(run.status, 0)
                self.assertEqual(run.started(), [(installer(root, build), installer(root, build) + b" /s ",
                                                  run.started()[0][2])])


class PlantedLibraries(unittest.TestCase):
    # Wine always uses its own build of a system library, whatever lies beside
    # a program, so only libraries that Wine does not have can be tried here:
    # the ones a MinGW program links dynamically unless told otherwise.
    NAMES = ["libgcc_s_dw2-1.dll", "libstdc++-6.dll", "libwinpthread-1.dll"]

    def test_no_library_beside_the_launcher_is_loaded(self):
        root = new_folder("planted")
        launcher = lay_out_medium(root)
        markers = new_folder("markers")
        for name in self.NAMES:
            shutil.copyfile(wine.PLANTED_LIBRARY, os.path.join(root, name))
        marker_env = {"PLANTED_MARKER_DIR": windows_path(markers).decode("latin-1")}

        for prefix, build in ((PREFIX_32, "32bit"), (PREFIX_64, "64bit")):
            with self.subTest(prefix.arch):
                run = start(prefix, launcher, b"launcher.exe /s", extra_env=marker_env)
                self.assertEqual([start[0] for start in run.started()], [installer(root, build)])
                self.assertEqual(os.listdir(markers), [])

        # The planted library does leave its mark when it is loaded.
        PREFIX_32.wine(["rundll32.exe", windows_path(os.path.join(root, self.NAMES[0])).decode("latin-1") + ",Any"],
                       extra_env=marker_env)
        self.assertEqual(os.listdir(markers), [self.NAMES[0] + ".loaded"])


if __name__ == "__main__":
    unittest.main()
