"""Runs Windows programs of the project's Wine prefix to their end, for the test scripts."""
import os
import subprocess
import sys
import tempfile
import time

WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'wine-run.sh')


def wine(*args, timeout=120):
    """Runs a Windows program to its end; its output goes through files, not pipes: a Wine
    service that the program starts inherits its handles and would hold a pipe open for ever."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        proc = subprocess.run([WINE_RUN, *args], stdin=subprocess.DEVNULL, stdout=out,
                              stderr=err, timeout=timeout)
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(proc.args, proc.returncode, out.read(), err.read())


def wine_output(*args, attempts=3):
    """The output of a Windows program that always prints something and exits with 0, such as
    winepath or the maintainers' tool. Under load a Wine process now and then fails to start
    and prints nothing; that is tried again, and a lasting failure says what Wine printed
    rather than passing an empty answer on as if it were one."""
    for _ in range(attempts):
        proc = wine(*args)
        if proc.returncode == 0 and proc.stdout.strip():
            return proc.stdout
        sys.stderr.write('(%s printed nothing, exit code %d; again) %s\n' % (
            args[0], proc.returncode, proc.stderr.decode('utf-8', 'replace')[-500:]))
        time.sleep(1.0)
    raise AssertionError('%s failed (exit code %d): %s' % (
        ' '.join(args), proc.returncode, proc.stderr.decode('utf-8', 'replace')[-2000:]))


def unix_path(windows_path):
    """Where a Windows path of the prefix lies on this machine."""
    return wine_output('winepath', '-u', windows_path).decode().strip()
