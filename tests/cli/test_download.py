"""Downloads through `installer-cli.exe download` (libcurl single stream and two ranges)
against the scriptable download service on loopback."""
import hashlib
import os
import random
import shutil
import sys
import tempfile
import time
import unittest

import cli_harness
from cli_harness import CliDir, parse_events, winpath

sys.path.insert(0, os.path.join(cli_harness.ROOT, 'tools'))
from download_service import DownloadService  # noqa: E402

MIB = 1024 * 1024
CURL_MD5_FAILED = 'curl文件md5校验失败'
CURL_NO_MD5 = 'curl获取url-md5失败'
MT_MD5_FAILED = 'mtcurl文件md5校验失败'
MT_NO_MD5 = 'mtcurl获取url-md5失败'


def payload(size, seed=1):
    return random.Random(seed * 7919 + size).randbytes(size)


class DownloadTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.service = DownloadService().start()
        cls.cli = CliDir()

    @classmethod
    def tearDownClass(cls):
        cls.service.stop()
        cls.cli.close()

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix='dl-')
        self.target = os.path.join(self.work, '__Package_quillmoss.exe')
        self.service.reset_stats()

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def download(self, file_id, dl_type=1):
        code, out, err = self.cli.run('download', '--type', str(dl_type),
                                      self.service.url(file_id), winpath(self.target))
        return code, parse_events(out)

    def leftovers(self):
        return sorted(f for f in os.listdir(self.work) if f != '__Package_quillmoss.exe')

    def assertDownloaded(self, data):
        with open(self.target, 'rb') as f:
            self.assertEqual(hashlib.md5(f.read()).hexdigest(), hashlib.md5(data).hexdigest())
        self.assertEqual(self.leftovers(), [])

    def assertFlow(self, events, expected):
        """Events without progress (1002) equal the expected (code, value, text) list."""
        self.assertEqual([e for e in events if e[0] != 1002], expected)
        for code, value, _ in events:
            if code == 1002:
                self.assertTrue(0 < float(value) <= 1, events)

    def test_success_both_downloaders(self):
        for dl_type, name in [(1, 'single'), (3, 'segmented'), (0, 'type 0'), (-1, 'type -1')]:
            with self.subTest(name):
                data = payload(3 * MIB + 17, dl_type + 5)
                self.service.add('ok%d' % dl_type, data=data, redirects=3)
                code, events = self.download('ok%d' % dl_type, dl_type)
                self.assertFlow(events, [(1001, '1', ''), (1003, '0', 'LibCurl')])
                self.assertEqual(code, 0)
                self.assertDownloaded(data)

    def test_missing_checksum_is_only_a_notice(self):
        for dl_type, notice in [(1, CURL_NO_MD5), (3, MT_NO_MD5)]:
            with self.subTest(dl_type):
                data = payload(MIB + 5)
                self.service.add('nomd5-%d' % dl_type, name='nomd5-%d.exe' % dl_type,
                                 data=data, md5_mode='none')
                code, events = self.download('nomd5-%d' % dl_type, dl_type)
                self.assertFlow(events, [(1001, '1', ''), (1006, '0', notice),
                                         (1003, '0', 'LibCurl')])
                self.assertDownloaded(data)

    def test_checksum_mismatch_retries_once(self):
        for mode in ('upper', 'wrong'):
            for dl_type, notice in [(1, CURL_MD5_FAILED), (3, MT_MD5_FAILED)]:
                with self.subTest(mode=mode, type=dl_type):
                    data = payload(MIB + 100)
                    fid = '%s-%d' % (mode, dl_type)
                    self.service.add(fid, name=fid + '.exe', data=data, md5_mode=mode)
                    code, events = self.download(fid, dl_type)
                    self.assertFlow(events, [(1001, '1', ''), (1006, '0', notice),
                                             (1005, '0', 'LibCurl'), (1001, '1', ''),
                                             (1006, '0', notice), (1004, '0', 'LibCurl')])
                    self.assertEqual(code, 1)
                    self.assertNotIn('.part', ''.join(self.leftovers()))
                    if dl_type == 3:
                        self.assertFalse(os.path.exists(self.target))
                    shutil.rmtree(self.work, ignore_errors=True)
                    os.makedirs(self.work)

    def test_single_stream_length_limit(self):
        small = payload(MIB - 1)
        self.service.add('short', name='short.exe', data=small)
        code, events = self.download('short', 1)
        # six attempts (each failure costs two of the twelve), five pauses
        self.assertFlow(events, [(1001, '1', ''), (1004, '-998', 'LibCurl')])
        self.assertEqual(self.service.gets('short.exe'), [])
        exact = payload(MIB)
        self.service.add('exact', name='exact.exe', data=exact)
        code, events = self.download('exact', 1)
        self.assertEqual(code, 0)
        self.assertDownloaded(exact)

    def test_segmented_length_limit(self):
        for size, ok in [(255, False), (256, True)]:
            with self.subTest(size):
                data = payload(size)
                self.service.add('len%d' % size, name='len%d.exe' % size, data=data)
                code, events = self.download('len%d' % size, 3)
                if ok:
                    self.assertEqual(code, 0, events)
                    self.assertDownloaded(data)
                else:
                    self.assertEqual(events, [(1001, '1', ''), (1004, '0', 'LibCurl')])
        self.service.add('nolen', name='nolen.exe', data=payload(MIB), no_length=True)
        self.assertEqual(self.download('nolen', 3)[1], [(1001, '1', ''), (1004, '0', 'LibCurl')])

    def test_dropped_transfer_resumes(self):
        size = 4 * MIB
        data = payload(size)
        self.service.add('drop', name='drop.exe', data=data, drop_after=size // 2)
        code, events = self.download('drop', 1)
        self.assertEqual(code, 0, events)
        self.assertDownloaded(data)
        gets = self.service.gets('drop.exe')
        self.assertEqual([g[2] for g in gets], [None, 'bytes=%d-' % (size // 2)])
        self.assertLessEqual(self.service.body_bytes, size * 1.05)

    def test_single_stream_retry_budget(self):
        cases = [('always 500', dict(get_status=500), 6, '22'),
                 ('always dropped', dict(drop_after=64 * 1024, drop_times=-1), 12, '18')]
        for name, faults, attempts, value in cases:
            with self.subTest(name):
                fid = name.replace(' ', '')
                self.service.add(fid, name=fid + '.exe', data=payload(2 * MIB), **faults)
                code, events = self.download(fid, 1)
                self.assertEqual(events[-1], (1004, value, 'LibCurl'))
                self.assertEqual(len(self.service.gets(fid + '.exe')), attempts)

    def test_segment_ranges(self):
        cases = [(20971519, ['bytes=0-20971518']),
                 (20971520, ['bytes=0-10485759', 'bytes=10485760-20971519']),
                 (25000001, ['bytes=0-12499999', 'bytes=12500000-25000000'])]
        for size, ranges in cases:
            with self.subTest(size):
                data = payload(size)
                fid = 'seg%d' % size
                self.service.add(fid, name=fid + '.exe', data=data)
                self.service.reset_stats()
                code, events = self.download(fid, 3)
                self.assertEqual(code, 0, events)
                self.assertDownloaded(data)
                self.assertEqual(sorted(g[2] for g in self.service.gets(fid + '.exe')), ranges)
                os.remove(self.target)

    def test_segment_retry_budget(self):
        self.service.add('seg500', name='seg500.exe', data=payload(MIB), get_status=500)
        code, events = self.download('seg500', 3)
        self.assertFlow(events, [(1001, '1', ''), (1005, '22', 'LibCurl'), (1001, '1', ''),
                                 (1004, '22', 'LibCurl')])
        self.assertEqual(len(self.service.gets('seg500.exe')), 14)  # 7 attempts, two runs
        self.assertEqual(self.leftovers(), [])

    def test_segment_failures_of_18_resume_across_runs(self):
        size = 2 * MIB
        self.service.add('seg18', name='seg18.exe', data=payload(size), drop_after=64 * 1024,
                         drop_times=-1)
        code, events = self.download('seg18', 3)
        self.assertEqual(events[-1], (1004, '18', 'LibCurl'))
        self.assertIn((1005, '18', 'LibCurl'), events)
        ranges = [g[2] for g in self.service.gets('seg18.exe')]
        # 13 attempts per run; every attempt, and the second run, resume where the last stopped
        self.assertEqual(ranges, ['bytes=%d-%d' % (i * 65536, size - 1) for i in range(26)])
        self.assertEqual(self.leftovers(), [])

    def test_segment_one_byte_short_completes(self):
        size = MIB + 1
        data = payload(size)
        self.service.add('short1', name='short1.exe', data=data, drop_after=size - 1)
        code, events = self.download('short1', 3)
        self.assertEqual(code, 0, events)
        self.assertDownloaded(data)
        self.assertEqual([g[2] for g in self.service.gets('short1.exe')],
                         ['bytes=0-%d' % (size - 1), 'bytes=%d-%d' % (size - 1, size - 1)])

    def test_destroying_a_running_download(self):
        cases = [(t, stall) for t in (1, 2, 3) for stall in (False, True)]
        for dl_type, stall in cases:
            with self.subTest(type=dl_type, stalled=stall):
                fid = 'slow%d%s' % (dl_type, 's' if stall else '')
                faults = dict(stall_after=MIB, stall_seconds=20) if stall else dict(rate=MIB)
                self.service.add(fid, name=fid + '.exe', data=payload(8 * MIB), **faults)
                began = time.monotonic()
                code, out, err = self.cli.run('download', '--type', str(dl_type),
                                              '--abort-after', '1500', self.service.url(fid),
                                              winpath(self.target))
                # Stopped promptly. (Wine does not cancel a synchronous WinHTTP read that waits
                # for a stalled server when the request is closed, as Windows does: there the
                # download ends when the stall does.)
                limit = 28 if stall and dl_type == 2 else 12
                self.assertLess(time.monotonic() - began, limit)
                self.assertEqual(code, 3, err)
                lines = out.split('\n')[:-1]
                # no event once destruction has begun
                self.assertEqual(lines[-2:], ['destroying', 'destroyed'], out)
                events = parse_events('\n'.join(lines[:-2]) + '\n')
                self.assertEqual(events[0], (1001, '1', ''))
                self.assertNotIn(1003, [e[0] for e in events])
                self.assertEqual(os.listdir(self.work), [])

    def test_segment_stall_is_abandoned_and_retried(self):
        data = payload(MIB)
        self.service.add('stall', name='stall.exe', data=data, stall_after=1000, stall_seconds=8)
        code, events = self.download('stall', 3)
        self.assertEqual(code, 0, events)
        self.assertDownloaded(data)
        self.assertEqual([g[2] for g in self.service.gets('stall.exe')],
                         ['bytes=0-%d' % (MIB - 1), 'bytes=1000-%d' % (MIB - 1)])

    def test_file_address_with_checksum(self):
        # A package on local media or a share: "file:///" with the MD5 segment in its path.
        for dl_type, size in [(1, 3 * MIB + 1), (3, 21 * MIB + 3)]:
            with self.subTest(dl_type):
                data = payload(size, dl_type)
                # (the address is passed in the ANSI code page, which holds no CJK under Wine)
                media = os.path.join(self.work, 'media 1', hashlib.md5(data).hexdigest())
                os.makedirs(media)
                with open(os.path.join(media, 'pkg.exe'), 'wb') as f:
                    f.write(data)
                url = 'file:///' + winpath(os.path.join(media, 'pkg.exe')).replace('\\', '/')
                code, out, err = self.cli.run('download', '--type', str(dl_type), url,
                                              winpath(self.target))
                events = parse_events(out)
                self.assertFlow(events, [(1001, '1', ''), (1003, '0', 'LibCurl')])
                with open(self.target, 'rb') as f:
                    self.assertEqual(f.read(), data)
                os.remove(self.target)
                shutil.rmtree(os.path.join(self.work, 'media 1'))
        # a wrong checksum in the path is caught as for HTTP
        data = payload(2 * MIB, 9)
        media = os.path.join(self.work, 'm', '0' * 32)
        os.makedirs(media)
        with open(os.path.join(media, 'pkg.exe'), 'wb') as f:
            f.write(data)
        url = 'file:///' + winpath(os.path.join(media, 'pkg.exe')).replace('\\', '/')
        code, out, err = self.cli.run('download', '--type', '1', url, winpath(self.target))
        self.assertEqual(parse_events(out)[-1], (1004, '0', 'LibCurl'))
        self.assertFalse(os.path.exists(self.target))

    def test_not_found_final_address(self):
        self.service.add('gone', name='gone.exe', data=payload(2 * MIB), status=404)
        code, events = self.download('gone', 1)
        self.assertEqual(events[-1], (1004, '-998', 'LibCurl'))
        code, events = self.download('gone', 3)
        self.assertEqual(events, [(1001, '1', ''), (1004, '0', 'LibCurl')])


if __name__ == '__main__':
    cli_harness.main()
