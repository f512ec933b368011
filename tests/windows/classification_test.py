"""The classification, built for Windows, against the versions Wine reports.

The expected codes follow the version numbers each release is documented to
report, not the program's own table."""

import unittest

from wine_support import CLASSIFICATION_PROBE, PREFIX_32, PREFIX_64, close_prefixes, open_prefixes

# Wine's name for a release, the platform identifier and version it reports,
# and the code the launcher must give on a 32-bit system.
RELEASES_ON_32BIT = [
    ("win95", "1 4.0", 1),
    ("win98", "1 4.10", 2),
    ("winme", "1 4.90", 3),
    ("nt351", "2 3.51", 4),
    ("nt40", "2 4.0", 5),
    ("win2k", "2 5.0", 6),
    ("winxp", "2 5.1", 7),
    ("win2003", "2 5.2", 8),
    ("vista", "2 6.0", 10),
    ("win7", "2 6.1", 10),
    # Without a manifest that names later releases, Windows 8.1 and newer
    # report 6.2.
    ("win10", "2 6.2", 10),
    ("win31", "0 3.10", 7),
]

# A 64-bit Wine offers only the releases that had 64-bit editions.
RELEASES_ON_64BIT = [
    ("win2003", "2 5.2"),
    ("vista", "2 6.0"),
    ("win7", "2 6.1"),
    ("win10", "2 6.2"),
]


def setUpModule():
    open_prefixes()


def tearDownModule():
    for prefix in (PREFIX_32, PREFIX_64):
        prefix.set_version("win7")
    close_prefixes()


def classify(prefix, release):
    prefix.set_version(release)
    status, stdout, _ = prefix.wine([CLASSIFICATION_PROBE])
    assert status == 0, status
    code, platform, version = stdout.decode("ascii").split()
    return int(code), platform + " " + version


class Classification(unittest.TestCase):
    def test_each_release_on_a_32bit_system(self):
        for release, reported, code in RELEASES_ON_32BIT:
            with self.subTest(release):
                self.assertEqual(classify(PREFIX_32, release), (code, reported))

    def test_wow64_outranks_every_version(self):
        for release, reported in RELEASES_ON_64BIT:
            with self.subTest(release):
                self.assertEqual(classify(PREFIX_64, release), (11, reported))


if __name__ == "__main__":
    unittest.main()
