"""The built launcher.exe, read as a file: what kind of program it is, what it
imports, its one resource, and that one commit always builds the same bytes."""

import os
import shutil
import subprocess
import tempfile
import unittest

import pefile

from wine_support import BUILD_DIR, LAUNCHER, WORK_DIR

SOURCE_DIR = os.environ.get("SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))

MANIFEST = b'<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0"></assembly>'
RT_MANIFEST = 24
LANGUAGE_EN_US = 1033


def resources(image):
    """(type, id, language, bytes) of every resource in the image."""
    found = []
    directory = getattr(image, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in directory.entries if directory else []:
        for name in kind.directory.entries:
            for language in name.directory.entries:
                data = language.data.struct
                found.append((kind.id, name.id, language.id,
                              image.get_data(data.OffsetToData, data.Size)))
    return found


class ExecutableForm(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.image = pefile.PE(LAUNCHER)

    def test_32bit_x86_console_program(self):
        self.assertEqual(self.image.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"])
        self.assertEqual(self.image.OPTIONAL_HEADER.Magic, 0x10B)  # PE32, not PE32+
        self.assertEqual(self.image.OPTIONAL_HEADER.Subsystem, pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"])

    def test_imports_only_the_kernel_and_the_c_runtime_of_the_system(self):
        imports = {entry.dll.decode("ascii"): [symbol.name.decode("ascii") for symbol in entry.imports if symbol.name]
                   for entry in self.image.DIRECTORY_ENTRY_IMPORT}
        self.assertEqual(sorted(imports), ["KERNEL32.dll", "msvcrt.dll"])
        # Looked up by name at run time, so that a kernel without it still loads the launcher.
        self.assertNotIn("IsWow64Process", imports["KERNEL32.dll"])
        for used in ("GetModuleFileNameA", "CreateProcessA", "WaitForSingleObject", "GetExitCodeProcess",
                     "CloseHandle", "GetProcAddress", "GetModuleHandleA", "GetVersionExA", "GetCommandLineA"):
            self.assertIn(used, imports["KERNEL32.dll"])
        self.assertFalse(hasattr(self.image, "DIRECTORY_ENTRY_DELAY_IMPORT"))

    def test_only_resource_is_the_empty_manifest(self):
        self.assertEqual(resources(self.image), [(RT_MANIFEST, 1, LANGUAGE_EN_US, MANIFEST)])

    def test_carries_no_timestamp(self):
        self.assertEqual(self.image.FILE_HEADER.TimeDateStamp, 0)


class Reproducible(unittest.TestCase):
    def test_two_builds_in_different_folders_are_byte_identical(self):
        os.makedirs(WORK_DIR, exist_ok=True)
        builds = []
        for name in ("first copy", "second"):
            folder = tempfile.mkdtemp(prefix="reproducible-", dir=WORK_DIR)
            tree = os.path.join(folder, name)
            shutil.copytree(SOURCE_DIR, tree, ignore=shutil.ignore_patterns("build", ".git"))
            subprocess.run(["cmake", "--preset", "windows"], cwd=tree, check=True, stdout=subprocess.DEVNULL)
            subprocess.run(["cmake", "--build", "--preset", "windows", "--target", "launcher"], cwd=tree, check=True,
                           stdout=subprocess.DEVNULL)
            with open(os.path.join(tree, "build", "windows", "launcher.exe"), "rb") as file:
                builds.append(file.read())
        with open(LAUNCHER, "rb") as file:
            builds.append(file.read())
        self.assertEqual(builds[0], builds[1])
        self.assertEqual(builds[0], builds[2])


if __name__ == "__main__":
    unittest.main()
