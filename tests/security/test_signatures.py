"""A build that names its publisher runs only what that publisher signed: the downloaded
package and the old version's uninstaller are checked with the system's trust provider
(the tests' authority among the prefix's trusted roots) before they run. Packages signed by
the test publisher run; unsigned ones, ones signed by another publisher and ones changed after
signing are refused, by every downloader (a refused package counts as a failed checksum: one
retry, then the download fails) and before the old uninstaller's copy would run.

usage: test_signatures.py INSTALLER_CLI_SIGNED_EXE ROOT_STORE_EXE FAKE_PACKAGE_EXE TEST_PKI_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'cli'))
import cli_harness  # noqa: E402
from cli_harness import CliDir, FakeProgram, Scenario, parse_events, winpath  # noqa: E402
from download_service import DownloadService  # noqa: E402

ROOT_STORE = FAKE = PKI = None
SIGNATURE_REFUSED = '安装包签名校验失败'
UNINSTALLER_REFUSED = '卸载程序签名校验失败'
VARIANTS = ('good', 'unsigned', 'other', 'tampered')


def root_store(action):
    proc = cli_harness.wine(ROOT_STORE, action, winpath(os.path.join(PKI, 'ca.der')))
    if proc.returncode != 0:
        raise RuntimeError('root-store %s failed: %d' % (action, proc.returncode))


def sign(source, target, who):
    chain = target + '.chain.pem'
    with open(chain, 'wb') as out:
        for name in (who + '.pem', 'ca.pem'):
            with open(os.path.join(PKI, name), 'rb') as f:
                out.write(f.read())
    subprocess.run(['osslsigncode', 'sign', '-certs', chain,
                    '-key', os.path.join(PKI, who + '.key'), '-h', 'sha256', '-n', 'Tallowmere',
                    '-in', source, '-out', target], check=True, capture_output=True)
    os.remove(chain)


def host_verifies(path):
    return subprocess.run(['osslsigncode', 'verify', '-CAfile', os.path.join(PKI, 'ca.pem'),
                           '-in', path], capture_output=True).returncode == 0


class SignatureTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.files = tempfile.mkdtemp(prefix='signed-')
        path = {v: os.path.join(cls.files, v + '.exe') for v in VARIANTS}
        sign(FAKE, path['good'], 'publisher')
        sign(FAKE, path['other'], 'other')
        shutil.copy(FAKE, path['unsigned'])
        with open(path['good'], 'rb') as f:
            data = bytearray(f.read())
        data[len(data) // 3] ^= 0x01  # in the code, far from the signature
        with open(path['tampered'], 'wb') as f:
            f.write(data)
        # The fixtures are what they claim to be, by an independent verifier.
        assert host_verifies(path['good']) and host_verifies(path['other'])
        assert not host_verifies(path['tampered']) and not host_verifies(path['unsigned'])
        cls.path = path
        cls.service = DownloadService().start()
        for v in VARIANTS:
            with open(path[v], 'rb') as f:
                cls.service.add(v, data=f.read())
        cls.cli = CliDir()
        root_store('add')

    @classmethod
    def tearDownClass(cls):
        root_store('remove')
        cls.service.stop()
        cls.cli.close()
        shutil.rmtree(cls.files, ignore_errors=True)

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix='sig-')
        self.scenarios = os.path.join(self.work, 'scenarios')
        os.makedirs(self.scenarios)
        os.environ['FAKE_SCENARIO_DIR'] = winpath(self.scenarios)
        self.folder = os.path.join(self.work, 'Tallowmere')
        cli_harness.wine('reg', 'delete', 'HKCU\\Software\\RavellSoft\\quillmoss', '/f')
        self.service.reset_stats()

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def scenario(self, name, scenario):
        with open(os.path.join(self.scenarios, name + '.scenario'), 'w') as f:
            f.write(scenario.text())

    def ran(self, name):
        return os.path.exists(os.path.join(self.scenarios, name + '.cmdline'))

    def test_downloaded_packages(self):
        target = os.path.join(self.work, '__Package_quillmoss.exe')
        for variant in VARIANTS:
            for dl_type in (1, 2, 3):
                with self.subTest(variant=variant, type=dl_type):
                    code, out, err = self.cli.run('download', '--type', str(dl_type),
                                                  self.service.url(variant), winpath(target))
                    events = parse_events(out)
                    if variant == 'good':
                        self.assertEqual((code, events[-1][0]), (0, 1003), events)
                        self.assertTrue(os.path.exists(target))
                        os.remove(target)
                        continue
                    self.assertEqual(code, 1, events)
                    codes = [e[0] for e in events if e[0] not in (1001, 1002)]
                    self.assertEqual(codes, [1006, 1005, 1006, 1004], events)
                    refusals = [e[2] for e in events if e[0] == 1006]
                    self.assertEqual(refusals, [SIGNATURE_REFUSED] * 2)
                    self.assertFalse(os.path.exists(target))

    def test_signer_chain_must_end_at_a_trusted_root(self):
        # The publisher's own certificate, but its authority is not trusted (any more).
        target = os.path.join(self.work, '__Package_quillmoss.exe')
        root_store('remove')
        try:
            code, out, err = self.cli.run('download', '--type', '1', self.service.url('good'),
                                          winpath(target))
        finally:
            root_store('add')
        events = parse_events(out)
        self.assertEqual((code, events[-1][0]), (1, 1004), events)
        self.assertIn((1006, '0', SIGNATURE_REFUSED), events)
        self.assertFalse(os.path.exists(target))

    def pipeline(self, variant, *args):
        code, out, err = self.cli.run('pipeline', '--url', self.service.url(variant),
                                      '--folder', winpath(self.folder), *args)
        return code, parse_events(out)

    def test_only_the_signed_package_runs(self):
        self.scenario('__Package_quillmoss.exe', Scenario().out('State=Success\r\n'))
        code, events = self.pipeline('unsigned')
        self.assertEqual((code, events[-1][0]), (1, 1004), events)
        self.assertFalse(self.ran('__Package_quillmoss.exe'))
        code, events = self.pipeline('good')
        self.assertEqual((code, events[-1][0]), (0, 2003), events)
        self.assertTrue(self.ran('__Package_quillmoss.exe'))

    def test_old_uninstaller_must_be_signed_too(self):
        self.scenario('quillmoss_un_asa.exe', Scenario().out('State=Success\r\n'))
        self.scenario('__Package_quillmoss.exe', Scenario().out('State=Success\r\n'))
        for variant in ('unsigned', 'other', 'tampered'):
            with self.subTest(variant=variant):
                old = os.path.join(self.work, 'old-' + variant, 'uninst.ep')
                os.makedirs(os.path.dirname(old))
                shutil.copy(self.path[variant], old)
                code, events = self.pipeline('good', '--old-uninstaller', winpath(old))
                self.assertEqual(code, 1, events)
                self.assertEqual(events[-1], (5004, '1', UNINSTALLER_REFUSED))
                self.assertFalse(self.ran('quillmoss_un_asa.exe'))
                self.assertEqual(self.service.gets('good'), [])  # nothing downloaded
        old = os.path.join(self.work, 'old-good', 'uninst.ep')
        os.makedirs(os.path.dirname(old))
        shutil.copy(self.path['good'], old)
        code, events = self.pipeline('good', '--old-uninstaller', winpath(old))
        self.assertEqual((code, events[-1][0]), (0, 2003), events)
        self.assertIn(5003, [e[0] for e in events])
        self.assertTrue(self.ran('quillmoss_un_asa.exe'))


if __name__ == '__main__':
    ROOT_STORE = os.path.abspath(sys.argv.pop(2))
    FAKE = os.path.abspath(sys.argv.pop(2))
    PKI = os.path.abspath(sys.argv.pop(2))
    cli_harness.main()
