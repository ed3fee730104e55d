"""Startup benchmark; every figure is a ratio against a baseline measured in the same run.

1. Process start to the first painted frame of a window built from "MainWnd.xml" (the skin
   package decoded from the installer's resources, the tree built, laid out and painted)
   against a bare Win32 popup of the same size painted with one colour, both under the same
   Wine. Target: <= 1.5.
2. The decode time of the package alone (printed).
3. The stripped size of RavellInstaller.exe with its skin (target for the finished installer:
   <= 1.5 MB).

usage: bench_startup.py SKIN_VIEWER_EXE BARE_WINDOW_EXE PACKAGE_EXE RELEASE_INSTALLER_EXE
"""
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from fake_scenario import winpath  # noqa: E402
from bench_report import report  # noqa: E402

WINE_RUN = os.path.join(HERE, 'wine-run.sh')


def timed(command):
    began = time.monotonic()
    proc = subprocess.run(command, capture_output=True, timeout=120)
    assert proc.returncode == 0, (command, proc.stdout, proc.stderr)
    return time.monotonic() - began, proc.stdout.decode()


def main():
    viewer, bare, package, release = sys.argv[1:5]
    skinned = [WINE_RUN, viewer, winpath(package), 'MainWnd.xml', '--quit-on-paint']
    plain = [WINE_RUN, bare]
    timed(skinned)  # warm the caches once
    timed(plain)
    runs = 7
    t_skin, t_bare, decodes = [], [], []
    for _ in range(runs):  # interleaved, so both see the same machine
        seconds, out = timed(skinned)
        t_skin.append(seconds)
        decodes.append(int(out.split('decode_us ', 1)[1].split()[0]))
        t_bare.append(timed(plain)[0])
    best_skin, best_bare = min(t_skin), min(t_bare)
    ratio = best_skin / best_bare
    size = os.path.getsize(release)
    print('first painted frame: skinned %.3f s, bare %.3f s, ratio %.3f' % (
        best_skin, best_bare, ratio))
    print('package decode alone: %.2f ms (best of %d)' % (min(decodes) / 1000, runs))
    print('RavellInstaller.exe stripped: %d bytes (%.2f MB)' % (size, size / 1e6))
    return report([('first painted frame vs bare popup', ratio, 1.5),
                   ('RavellInstaller.exe MB', size / 1e6, 1.5)])


if __name__ == '__main__':
    sys.exit(main())
