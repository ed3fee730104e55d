"""HTTPS downloads verify the server's certificate with the system's trust store, for the
single stream (1), WinHTTP (2) and the two ranges (3): a self-signed certificate, or one from
an authority the system does not trust, is a failed download with nothing left that looks
finished; with the tests' authority among the prefix's trusted roots its certificate for
127.0.0.1 is accepted.

usage: test_tls.py INSTALLER_CLI_EXE ROOT_STORE_EXE TEST_PKI_DIR
"""
import hashlib
import os
import random
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'cli'))
import cli_harness  # noqa: E402
from cli_harness import CliDir, parse_events, winpath  # noqa: E402
from download_service import DownloadService  # noqa: E402

ROOT_STORE = PKI = None
DATA = random.Random(60).randbytes(3 * 1024 * 1024 + 17)
TYPES = (1, 2, 3)


def root_store(action):
    proc = cli_harness.wine(ROOT_STORE, action, winpath(os.path.join(PKI, 'ca.der')))
    if proc.returncode != 0:
        raise RuntimeError('root-store %s failed: %d' % (action, proc.returncode))


class TlsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.cli = CliDir()
        cls.services = {}
        for name in ('selfsigned', 'server'):
            tls = (os.path.join(PKI, name + '.pem'), os.path.join(PKI, name + '.key'))
            service = DownloadService(tls=tls).start()
            service.add('tls', data=DATA)
            cls.services[name] = service
        root_store('remove')  # a run that was cut short may have left it

    @classmethod
    def tearDownClass(cls):
        root_store('remove')
        for service in cls.services.values():
            service.stop()
        cls.cli.close()

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix='tls-')
        self.target = os.path.join(self.work, '__Package_quillmoss.exe')

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def download(self, service, dl_type):
        for f in os.listdir(self.work):
            os.remove(os.path.join(self.work, f))
        code, out, err = self.cli.run('download', '--type', str(dl_type),
                                      self.services[service].url('tls'), winpath(self.target))
        return code, parse_events(out)

    def assert_refused(self, service):
        for dl_type in TYPES:
            with self.subTest(service=service, type=dl_type):
                code, events = self.download(service, dl_type)
                self.assertNotEqual(code, 0, events)
                self.assertEqual(events[-1][0], 1004, events)
                self.assertNotIn(1003, [e[0] for e in events])
                self.assertFalse(os.path.exists(self.target))
                # The first request to the server (the address's resolution for libcurl)
                # fails: the downloaders' codes for that, a WinHTTP error (12xxx) for WinHTTP.
                expected = {1: -998, 3: 0}.get(dl_type)
                if expected is None:
                    self.assertGreaterEqual(float(events[-1][1]), 12000, events)
                else:
                    self.assertEqual(float(events[-1][1]), expected, events)

    def assert_accepted(self, service):
        for dl_type in TYPES:
            with self.subTest(service=service, type=dl_type):
                code, events = self.download(service, dl_type)
                self.assertEqual(code, 0, events)
                self.assertEqual(events[-1][0], 1003, events)
                with open(self.target, 'rb') as f:
                    self.assertEqual(hashlib.md5(f.read()).digest(), hashlib.md5(DATA).digest())

    def test_certificates_are_verified(self):
        # Before the authority is trusted, neither certificate is accepted.
        self.assert_refused('selfsigned')
        self.assert_refused('server')
        root_store('add')
        try:
            self.assert_accepted('server')
            self.assert_refused('selfsigned')  # trusting one authority trusts nobody else
        finally:
            root_store('remove')
        self.assert_refused('server')


if __name__ == '__main__':
    ROOT_STORE = os.path.abspath(sys.argv.pop(2))
    PKI = os.path.abspath(sys.argv.pop(2))
    cli_harness.main()
