"""Every downloader against servers and disks that misbehave: each fault, with and without an
MD5 in the final address, ends either with the exact served file and 1003, or with 1004 and
no file that looks finished. None may hang, crash or send an empty or inverted range."""
import concurrent.futures
import hashlib
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import cli_harness
from cli_harness import CliDir, FakeProgram, Scenario, parse_events, wine, winpath

sys.path.insert(0, os.path.join(cli_harness.ROOT, 'tools'))
from download_service import DownloadService  # noqa: E402

MIB = 1024 * 1024
SIZE = 21 * MIB  # two segments for the segmented downloader
TYPES = (1, 2, 3)
OK, FAIL, EITHER = 'ok', 'fail', 'either'
FAKE = None  # the fake package, used to hold a file locked

# name, service faults, expected outcome per downloader type (1 single, 2 WinHTTP, 3 ranges)
FAULTS = [
    ('range ignored', dict(ignore_range=True), {1: OK, 2: OK, 3: OK}),
    ('range ignored after a drop', dict(ignore_range=True, drop_after=SIZE // 2),
     {1: OK, 2: FAIL, 3: OK}),
    ('wrong content-range after a drop', dict(wrong_range=True, drop_after=SIZE // 2),
     {1: OK, 2: FAIL, 3: FAIL}),
    ('body short of its length, then close', dict(cut_at=SIZE - 1000),
     {1: FAIL, 2: FAIL, 3: FAIL}),
    ('more bytes than announced', dict(extra_bytes=65536), {1: OK, 2: OK, 3: OK}),
    ('no length, then close', dict(no_length=True), {1: FAIL, 2: OK, 3: FAIL}),
    ('stall for 40 s', dict(stall_after=SIZE // 3, stall_seconds=40), {1: OK, 2: FAIL, 3: OK}),
    ('redirect loop', dict(loop=True), {1: FAIL, 2: FAIL, 3: FAIL}),
    ('16 KiB header value', dict(header_size=16 * 1024), {1: OK, 2: OK, 3: OK}),
    ('1 MiB header value', dict(header_size=MIB), {1: EITHER, 2: EITHER, 3: EITHER}),
    ('disk full', dict(disk_full=True), {1: FAIL, 2: FAIL, 3: FAIL}),
    ('locked target', dict(locked=True), {1: FAIL, 2: FAIL, 3: FAIL}),
]


def payload(size, seed):
    return random.Random(seed).randbytes(size)


class DownloadFaultTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.environ['TALLOWMERE_SLEEP_DIVISOR'] = '20'  # retry pauses of milliseconds
        cls.service = DownloadService().start()
        cls.cli = CliDir()
        cls.data = payload(SIZE, 11)
        cls.small = tempfile.mkdtemp(prefix='dl-full-')
        # A drive with less room than the package: a tmpfs of 8 MiB.
        proc = subprocess.run(['mount', '-t', 'tmpfs', '-o', 'size=8m', 'tmpfs', cls.small],
                              capture_output=True)
        if proc.returncode != 0:
            raise RuntimeError('cannot mount a small tmpfs: %r' % proc.stderr)

    @classmethod
    def tearDownClass(cls):
        subprocess.run(['umount', cls.small])
        shutil.rmtree(cls.small, ignore_errors=True)
        cls.service.stop()
        cls.cli.close()

    def run_case(self, name, faults, dl_type, md5_mode):
        """Runs one download; returns a list of problems (empty when the row holds)."""
        fid = '%s-%d-%s' % (name.replace(' ', '_'), dl_type, md5_mode)
        options = {k: v for k, v in faults.items() if k not in ('loop', 'disk_full', 'locked')}
        options.setdefault('drop_times', 1)
        self.service.add(fid, name=fid + '.exe', data=self.data, md5_mode=md5_mode, **options)
        url = self.service.url(fid)
        if faults.get('loop'):
            url = 'http://127.0.0.1:%d/loop/%s' % (self.service.port, fid)
        if faults.get('disk_full'):
            work = tempfile.mkdtemp(prefix=fid + '-', dir=self.small)
        else:
            work = tempfile.mkdtemp(prefix='dl-fault-')
        target = os.path.join(work, '__Package_quillmoss.exe')
        locker = None
        try:
            if faults.get('locked'):
                with open(target, 'wb') as f:
                    f.write(b'held by another program')
                holder = FakeProgram(FAKE, os.path.join(work, 'holder'), 'holder.exe',
                                     Scenario().lock(winpath(target), 60000))
                locker = subprocess.Popen([cli_harness.WINE_RUN, holder.path],
                                          stdout=subprocess.PIPE)
                if locker.stdout.readline().strip() != b'locked':
                    return ['the target could not be locked']
            began = time.monotonic()
            code, out, err = self.cli.run('download', '--type', str(dl_type), url,
                                          winpath(target))
            seconds = time.monotonic() - began
            events = parse_events(out)
            return self.check(faults, dl_type, md5_mode, events, work, target, seconds)
        finally:
            if locker:
                locker.kill()
                locker.wait()
            shutil.rmtree(work, ignore_errors=True)

    def check(self, faults, dl_type, md5_mode, events, work, target, seconds):
        problems = []
        finals = [e for e in events if e[0] in (1003, 1004)]
        if len(finals) != 1 or events[-1] != finals[0]:
            return ['not exactly one final event, last: %r' % (events[-3:],)]
        outcome = OK if finals[0][0] == 1003 else FAIL
        left = sorted(f for f in os.listdir(work) if f != 'holder')
        if outcome == OK:
            with open(target, 'rb') as f:
                if hashlib.md5(f.read()).digest() != hashlib.md5(self.data).digest():
                    problems.append('1003 with a file that is not the served file')
            if left != ['__Package_quillmoss.exe']:
                problems.append('left beside the package: %r' % left)
            if (md5_mode == 'none') != any(e[0] == 1006 for e in events):
                problems.append('checksum notice 1006 wrong: %r' % events)
        elif faults.get('locked'):
            with open(target, 'rb') as f:
                if f.read() != b'held by another program':
                    problems.append('the locked file was changed')
            if left != ['__Package_quillmoss.exe']:
                problems.append('left: %r' % left)
        elif left:
            problems.append('1004 but files are left: %r' % left)
        return problems, outcome, seconds

    def test_fault_matrix(self):
        cases = [(name, faults, expected, t, mode) for name, faults, expected in FAULTS
                 for t in TYPES for mode in ('real', 'none')]
        with concurrent.futures.ThreadPoolExecutor(max_workers=6) as pool:
            futures = [pool.submit(self.run_case, name, faults, t, mode)
                       for name, faults, expected, t, mode in cases]
            results = [f.result() for f in futures]
        table = []
        failures = []
        for (name, faults, expected, t, mode), result in zip(cases, results):
            if isinstance(result, list):
                problems, outcome, seconds = result, '?', 0
            else:
                problems, outcome, seconds = result
            want = expected[t]
            if want != EITHER and outcome != want:
                problems = problems + ['expected %s, got %s' % (want, outcome)]
            table.append('%-38s type %d md5 %-4s -> %-4s %5.1fs %s' % (
                name, t, mode, outcome, seconds, '; '.join(problems)))
            if problems:
                failures.append(table[-1])
        print('\n'.join(table))
        self.assertEqual(failures, [])
        self.assertEqual(self.service.bad_ranges, [])


if __name__ == '__main__':
    FAKE = os.path.abspath(sys.argv.pop(2))
    cli_harness.main()
