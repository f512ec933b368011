"""The built launcher.exe, read as a file: what kind of program it is, what it
imports, its one resource, and that one commit always builds the same bytes;
and the machine type of each stand-in installer."""

import os
import shutil
import subprocess
import tempfile
import unittest

import pefile

from wine_support import BUILD_DIR, LAUNCHER, RECORDING_INSTALLER, RECORDING_INSTALLER_X86_64, WORK_DIR

SOURCE_DIR = os.environ.get("SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))

MANIFEST = (b'<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">'
            b'<application xmlns="urn:schemas-microsoft-com:asm.v3"><windowsSettings>'
            b'<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>'
            b'</windowsSettings></application></assembly>')
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

    def test_only_resource_is_the_manifest_that_asks_for_utf8(self):
        self.assertEqual(resources(self.image), [(RT_MANIFEST, 1, LANGUAGE_EN_US, MANIFEST)])

    def test_carries_no_timestamp(self):
        self.assertEqual(self.image.FILE_HEADER.TimeDateStamp, 0)


class StandInForm(unittest.TestCase):
    # Each stand-in installer, the machine type its folder of a medium needs,
    # and the optional header's magic of that type. A compiler that quietly
    # built for the other machine would leave the 64-bit Windows' tests
    # starting a 32-bit program.
    I386 = (0x14C, 0x10B)  # IMAGE_FILE_MACHINE_I386, PE32
    AMD64 = (0x8664, 0x20B)  # IMAGE_FILE_MACHINE_AMD64, PE32+
    CASES = [
        ("recording installer, 32bit", RECORDING_INSTALLER, I386),
        ("recording installer, 64bit", RECORDING_INSTALLER_X86_64, AMD64),
        ("benchmark installer, 32bit", os.path.join(BUILD_DIR, "bench", "setup32.exe"), I386),
        ("benchmark installer, 64bit", os.path.join(BUILD_DIR, "x86-64", "bench", "setup64.exe"), AMD64),
    ]

    def test_each_stand_in_is_a_console_program_of_its_machine_type(self):
        for name, path, (machine, magic) in self.CASES:
            with self.subTest(name):
                image = pefile.PE(path, fast_load=True)
                self.assertEqual((hex(image.FILE_HEADER.Machine), hex(image.OPTIONAL_HEADER.Magic)),
                                 (hex(machine), hex(magic)))
                self.assertEqual(image.OPTIONAL_HEADER.Subsystem,
                                 pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"])

    def test_each_stand_in_imports_only_system_libraries(self):
        # Linked statically like the launcher, so neither build needs a
        # MinGW runtime DLL that a test machine may lack.
        for name, path, _ in self.CASES:
            with self.subTest(name):
                image = pefile.PE(path)
                imported = {entry.dll.decode("ascii") for entry in image.DIRECTORY_ENTRY_IMPORT}
                self.assertLessEqual(imported, {"KERNEL32.dll", "msvcrt.dll"})


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
