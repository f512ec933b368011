"""The Wine half of script/bench: runs the timer under Wine as 64-bit Windows,
wherever tests/windows/wine_support.py says Wine runs.

    bench.py MEDIUM-FOLDER ROUNDS WARM-UP-ROUNDS PAUSE-MS
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "windows"))

import wine_support as wine  # noqa: E402

TIMER = os.path.join(wine.BUILD_DIR, "bench", "timer.exe")


def main():
    medium, rounds, warm_up, pause = sys.argv[1:5]
    prefix = wine.PREFIX_64
    prefix.ensure()
    # A server left from an earlier run would not be persistent.
    prefix.stop()
    prefix.keep_server()
    # Wine's services up before the first start is timed, so that their
    # start-up does not land in the figures.
    prefix.wine(["cmd.exe", "/c", "exit 0"])
    _, version, _ = wine.run_program(["wine", "--version"], prefix.environment())
    print("Wine")
    print("  version: " + version.decode("latin-1").strip())
    if wine.WINE_GUEST:
        print("  Wine runs in an emulated Debian guest (QEMU, TCG): every start is several times slower")
        print("  than on a machine that runs Wine itself; the ratios still compare starts of one run")
    print()
    sys.stdout.flush()
    # Twelve starts a round, none near three seconds even when emulated.
    timeout = 600 + (int(rounds) + int(warm_up)) * 12 * 3
    try:
        status, stdout, stderr = prefix.wine([TIMER, wine.windows_path(medium).decode("latin-1"), rounds, warm_up,
                                              pause], timeout=timeout)
    finally:
        prefix.stop()
    sys.stdout.write(stdout.decode("latin-1").replace("\r\n", "\n"))
    sys.stderr.write(stderr.decode("latin-1").replace("\r\n", "\n"))
    return status


if __name__ == "__main__":
    sys.exit(main())
