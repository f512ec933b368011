"""A medium in a folder whose name the system's ANSI code page cannot hold,
and arguments alike: the launcher makes UTF-8 its own ANSI code page, so it
still finds its folder and forwards such arguments intact."""

import os
import unittest

from wine_support import PREFIX_32, PREFIX_64, close_prefixes, lay_out_medium, new_folder, open_prefixes, start, windows_path

# The locale, the ANSI code page Wine gives a program there, and a folder
# name and an argument that this code page cannot hold.
CASES = [
    ("C.UTF-8", 1252, "Диск", "/dir=Установка"),
    ("ja_JP.UTF-8", 932, "Disque é 설치", "/name=é설치"),
]


def setUpModule():
    open_prefixes()


def tearDownModule():
    close_prefixes()


def unicode_path(unix_path):
    return windows_path(unix_path, "utf-8").decode("utf-8")


class FolderOutsideTheCodePage(unittest.TestCase):
    def test_right_build_starts_from_that_folder_with_the_exact_line(self):
        for locale, code_page, name, argument in CASES:
            with self.assertRaises(UnicodeEncodeError):
                name.encode("cp%d" % code_page)
            for prefix, build in ((PREFIX_32, "32bit"), (PREFIX_64, "64bit")):
                with self.subTest(locale=locale, arch=prefix.arch):
                    root = os.path.join(new_folder("unicode"), name)
                    launcher = lay_out_medium(root)
                    command_line = '"%s" /s "%s"' % (unicode_path(launcher), argument)
                    run = start(prefix, launcher, command_line.encode("utf-8"), locale=locale, unicode_start=True)
                    self.assertEqual(run.status, 0)
                    self.assertEqual(run.stdout, b"")
                    installer = unicode_path(os.path.join(root, build, "setup.exe"))
                    self.assertEqual(run.unicode_lines(), [installer + " /s " + argument + " "])
                    # The installer has no such manifest: the system's own
                    # code page, which cannot hold the folder's name.
                    self.assertEqual(run.code_pages(), [code_page])


if __name__ == "__main__":
    unittest.main()
