"""The launcher in the Japanese ANSI code page, 932, where the second byte of a
double-byte character can have the value of a backslash."""

import os
import unittest

from wine_support import PREFIX_32, PREFIX_64, close_prefixes, lay_out_medium, new_folder, open_prefixes, start, windows_path

JAPANESE = "ja_JP.UTF-8"
# 表 is 0x95 0x5C in code page 932.
HYO = "表".encode("cp932")


def setUpModule():
    open_prefixes()


def tearDownModule():
    close_prefixes()


class CodePage932(unittest.TestCase):
    def test_launcher_whose_name_has_a_backslash_trail_byte(self):
        self.assertEqual(HYO, b"\x95\x5c")
        for prefix, build in ((PREFIX_32, "32bit"), (PREFIX_64, "64bit")):
            with self.subTest(prefix.arch):
                root = new_folder("cp932")
                launcher = lay_out_medium(root, launcher_name="表.exe")
                quoted = b'"' + windows_path(launcher, "cp932") + b'"'
                run = start(prefix, launcher, quoted + b" /s", encoding="cp932", locale=JAPANESE)
                expected = windows_path(os.path.join(root, build, "setup.exe"))
                self.assertEqual(run.status, 0)
                self.assertEqual(run.code_pages(), [932])
                self.assertEqual([started[:2] for started in run.started()], [(expected, expected + b" /s ")])
                self.assertEqual(run.unicode_lines(), [(expected + b" /s ").decode("cp932")])

    def test_argument_with_a_backslash_trail_byte(self):
        root = new_folder("cp932")
        launcher = lay_out_medium(root)
        cases = [
            ("quoted character", b'"' + HYO + b'" x', HYO + b" x "),
            ("character before a quoted part", HYO + b'"a b" x', HYO + b"a b x "),
            ("character and a real escaped quote", HYO + b'\\"a', HYO + b'"a '),
        ]
        # The x86-64 build reads the line that the system carried across
        # from the launcher's 32-bit process, through UTF-16.
        for prefix, build in ((PREFIX_32, "32bit"), (PREFIX_64, "64bit")):
            expected = windows_path(os.path.join(root, build, "setup.exe")) + b" "
            for name, arguments, forwarded in cases:
                with self.subTest(name, arch=prefix.arch):
                    run = start(prefix, launcher, b"launcher.exe " + arguments, locale=JAPANESE)
                    self.assertEqual(run.code_pages(), [932])
                    self.assertEqual(run.started()[0][1], expected + forwarded)
                    self.assertEqual(run.unicode_lines(), [(expected + forwarded).decode("cp932")])


if __name__ == "__main__":
    unittest.main()
