"""Scenarios for the fake setup package (tests/fakes/fake_package.cpp), and Wine path names.

The fake package plays "<its path>.scenario" (or "%FAKE_SCENARIO_DIR%\\<its name>.scenario"),
one command per line; texts and paths travel as hexadecimal UTF-8.
"""
import os


def winpath(path):
    """The Windows name of a host path inside a Wine prefix (drive Z: is the host's root)."""
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


class Scenario:
    """What the fake package does, written next to its copy as '<exe>.scenario'."""

    def __init__(self):
        self.lines = []

    def out(self, data, encoding='utf-8'):
        if isinstance(data, str):
            data = data.encode(encoding)
        self.lines.append('out ' + data.hex())
        return self

    def outrep(self, count, data):
        self.lines.append('outrep %d %s' % (count, data.encode().hex()))
        return self

    def err(self, count):
        self.lines.append('err %d' % count)
        return self

    def sleep(self, ms):
        self.lines.append('sleep %d' % ms)
        return self

    def file(self, path, content=b''):
        self.lines.append('file %s %s' % (path.encode().hex(), bytes(content).hex()))
        return self

    def copyself(self, path):
        self.lines.append('copyself ' + path.encode().hex())
        return self

    def lock(self, path, ms):
        self.lines.append('lock %s %d' % (path.encode().hex(), ms))
        return self

    def tamper(self, path, result_path):
        self.lines.append('tamper %s %s' % (path.encode().hex(), result_path.encode().hex()))
        return self

    def exit(self, code):
        self.lines.append('exit %d' % code)
        return self

    def text(self):
        return '\n'.join(self.lines) + '\n'
