"""Runs installer-cli.exe under the project's Wine prefix, the way a maintainer would."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
WINE_RUN = os.path.join(ROOT, 'tools', 'wine-run.sh')
CLI = None  # set from the command line by main()

sys.path.insert(0, os.path.join(ROOT, 'tools'))
from fake_scenario import Scenario, winpath  # noqa: E402,F401  (used by the test scripts)


def wine(*args, timeout=300):
    """Runs a Windows program (first argument) under Wine; returns the completed process."""
    return subprocess.run([WINE_RUN, *args], capture_output=True, timeout=timeout)


def set_windows_version(exe_name, version):
    """Makes Wine report the given Windows version ("winxp", "win7", ...) to one program."""
    key = 'HKCU\\Software\\Wine\\AppDefaults\\' + exe_name
    proc = wine('reg', 'add', key, '/v', 'Version', '/t', 'REG_SZ', '/d', version, '/f')
    if proc.returncode != 0:
        raise RuntimeError('reg add failed: %r' % proc.stderr)


class CliDir:
    """A folder holding a copy of the tool, optionally under another name, and its files."""

    def __init__(self, exe_name='installer-cli.exe'):
        self.path = tempfile.mkdtemp(prefix='cli-')
        self.exe = os.path.join(self.path, exe_name)
        shutil.copy(CLI, self.exe)

    def write(self, name, data):
        with open(os.path.join(self.path, name), 'wb') as f:
            f.write(data)

    def run(self, *args):
        proc = wine(self.exe, *args)
        return proc.returncode, proc.stdout.decode('utf-8'), proc.stderr

    def fields(self, *args):
        """Runs a subcommand and parses its Name=value lines (in order)."""
        code, out, err = self.run(*args)
        if code != 0:
            raise AssertionError('exit %d: %s %r' % (code, out, err))
        assert out.endswith('\n') and '\r' not in out, repr(out)
        return [tuple(line.split('=', 1)) for line in out.split('\n')[:-1]]

    def close(self):
        shutil.rmtree(self.path, ignore_errors=True)


def main():
    global CLI
    CLI = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)


def parse_events(out):
    """'<code> <value> <message>' lines -> [(code, value, message)]."""
    events = []
    for line in out.split('\n')[:-1]:
        code, value, message = line.split(' ', 2)
        events.append((int(code), value, message))
    return events


class FakeProgram:
    """A copy of the fake package under a chosen name in a chosen (possibly new) folder."""

    def __init__(self, fake_exe, folder, name, scenario=None):
        os.makedirs(folder, exist_ok=True)
        self.path = os.path.join(folder, name)
        shutil.copy(fake_exe, self.path)
        if scenario is not None:
            with open(self.path + '.scenario', 'w', encoding='utf-8') as f:
                f.write(scenario.text())

    @property
    def win(self):
        return winpath(self.path)

    def received_command_line(self):
        with open(self.path + '.cmdline', 'rb') as f:
            return f.read().decode('utf-16-le')
