"""The libcurl downloaders (`installer-cli.exe download`, types 1, 3, 0 and -1) and the
user's proxy settings of the prefix: through a counting forward proxy on loopback when the
settings name it, directly when the address is in the bypass list or nothing is set; the
http_proxy-style environment variables change nothing.

The settings are written as Windows' Internet Options writes them: the values ProxyEnable,
ProxyServer and ProxyOverride of the user's Internet Settings, and the binary
Connections\\DefaultConnectionSettings beside them, which is all Wine's
WinHttpGetIEProxyConfigForCurrentUser reads.
"""
import hashlib
import os
import random
import shutil
import struct
import sys
import tempfile
import unittest

import cli_harness
from cli_harness import CliDir, parse_events, winpath

sys.path.insert(0, os.path.join(cli_harness.ROOT, 'tools'))
from download_service import DownloadService  # noqa: E402
from forward_proxy import ForwardProxy  # noqa: E402

SETTINGS = 'HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings'
CONNECTIONS = SETTINGS + '\\Connections'
DIRECT, MANUAL, AUTO_DETECT = 1, 2, 8
ENVIRONMENT = ('http_proxy', 'HTTP_PROXY', 'https_proxy', 'HTTPS_PROXY', 'all_proxy',
               'ALL_PROXY', 'no_proxy', 'NO_PROXY')


def reg(*args):
    proc = cli_harness.wine('reg', *args)
    return proc.returncode


def connection_settings(flags, proxy='', bypass=''):
    """DefaultConnectionSettings: version 0x46, a counter, the flags, then the proxy, the
    bypass list and the script address, each as a length and ANSI text."""
    def text(t):
        b = t.encode('ascii')
        return struct.pack('<I', len(b)) + b
    return (struct.pack('<III', 0x46, 1, flags) + text(proxy) + text(bypass) + text('') +
            b'\0' * 32).hex()


def clear_settings():
    for name in ('ProxyEnable', 'ProxyServer', 'ProxyOverride', 'AutoConfigURL'):
        reg('delete', SETTINGS, '/v', name, '/f')
    reg('delete', CONNECTIONS, '/f')


def set_manual_proxy(server, bypass):
    reg('add', SETTINGS, '/v', 'ProxyEnable', '/t', 'REG_DWORD', '/d', '1', '/f')
    reg('add', SETTINGS, '/v', 'ProxyServer', '/t', 'REG_SZ', '/d', server, '/f')
    reg('add', SETTINGS, '/v', 'ProxyOverride', '/t', 'REG_SZ', '/d', bypass, '/f')
    reg('add', CONNECTIONS, '/v', 'DefaultConnectionSettings', '/t', 'REG_BINARY', '/d',
        connection_settings(MANUAL, server, bypass), '/f')


def set_direct():
    reg('add', SETTINGS, '/v', 'ProxyEnable', '/t', 'REG_DWORD', '/d', '0', '/f')
    reg('add', CONNECTIONS, '/v', 'DefaultConnectionSettings', '/t', 'REG_BINARY', '/d',
        connection_settings(DIRECT), '/f')


class ProxyTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.service = DownloadService().start()
        cls.proxy = ForwardProxy().start()
        cls.cli = CliDir()
        cls.data = random.Random(5).randbytes(2 * 1024 * 1024 + 11)
        cls.service.add('681', data=cls.data, redirects=2)

    @classmethod
    def tearDownClass(cls):
        clear_settings()
        cls.service.stop()
        cls.proxy.stop()
        cls.cli.close()

    def setUp(self):
        clear_settings()
        self.addCleanup(clear_settings)
        self.work = tempfile.mkdtemp(prefix='proxy-')
        self.addCleanup(shutil.rmtree, self.work, True)
        for name in ENVIRONMENT:
            self.assertNotIn(name, os.environ)

    def download(self, dl_type, env=None):
        """Downloads the package; the requests the service saw and those the proxy relayed."""
        self.service.reset_stats()
        self.proxy.reset()
        target = os.path.join(self.work, '__Package_quillmoss_%d.exe' % dl_type)
        saved = dict(os.environ)
        os.environ.update(env or {})
        try:
            code, out, err = self.cli.run('download', '--type', str(dl_type),
                                          self.service.url('681'), winpath(target))
        finally:
            os.environ.clear()
            os.environ.update(saved)
        events = parse_events(out)
        self.assertEqual(code, 0, events)
        with open(target, 'rb') as f:
            self.assertEqual(hashlib.md5(f.read()).digest(), hashlib.md5(self.data).digest())
        with self.service.lock:
            seen = list(self.service.requests)
        return seen, self.proxy.relayed()

    def assert_through_proxy(self, dl_type, env=None):
        seen, relayed = self.download(dl_type, env)
        self.assertTrue(relayed)
        # every request the service answered came through the proxy, redirections included
        self.assertEqual(len(relayed), len(seen), (seen, relayed))
        self.assertTrue(all(url.startswith('http://127.0.0.1:%d/' % self.service.port)
                            for _, url in relayed))

    def assert_direct(self, dl_type, env=None):
        seen, relayed = self.download(dl_type, env)
        self.assertTrue(seen)
        self.assertEqual(relayed, [])

    def test_a_manual_proxy_carries_every_request(self):
        set_manual_proxy(self.proxy.address, '<local>;*.corp.example')
        for dl_type in (1, 3, 0, -1):
            with self.subTest(dl_type):
                self.assert_through_proxy(dl_type)

    def test_per_scheme_proxy_entries(self):
        set_manual_proxy('https=127.0.0.1:1;http=%s' % self.proxy.address, '')
        for dl_type in (1, 3):
            with self.subTest(dl_type):
                self.assert_through_proxy(dl_type)

    def test_addresses_in_the_bypass_list_connect_directly(self):
        for bypass in ('127.0.0.1', '<local>;127.0.0.1', '127.*', '*.example;127.0.0.?'):
            set_manual_proxy(self.proxy.address, bypass)
            for dl_type in (1, 3):
                with self.subTest(bypass=bypass, type=dl_type):
                    self.assert_direct(dl_type)

    def test_without_configuration_the_connection_is_direct(self):
        for name, configure in (('nothing set', clear_settings), ('proxy off', set_direct)):
            configure()
            for dl_type in (1, 3):
                with self.subTest(name, type=dl_type):
                    self.assert_direct(dl_type)

    def test_proxy_environment_variables_change_nothing(self):
        proxy_env = {'http_proxy': 'http://' + self.proxy.address,
                     'HTTP_PROXY': 'http://' + self.proxy.address,
                     'ALL_PROXY': 'http://' + self.proxy.address}
        for dl_type in (1, 3):
            with self.subTest('http_proxy alone', type=dl_type):
                self.assert_direct(dl_type, proxy_env)
        # nor do they take a configured proxy away
        set_manual_proxy(self.proxy.address, '')
        for dl_type in (1, 3):
            with self.subTest('no_proxy against the settings', type=dl_type):
                self.assert_through_proxy(dl_type, {'no_proxy': '*', 'NO_PROXY': '127.0.0.1'})

    def test_the_settings_as_the_downloaders_read_them(self):
        set_manual_proxy(self.proxy.address, '<local>;*.corp.example')
        fields = self.cli.fields('proxy', 'http://127.0.0.1:1/x', 'http://intranet/x',
                                 'https://a.corp.example/x')
        self.assertEqual(fields, [
            ('AutoDetect', 'false'), ('AutoConfigUrl', ''), ('Proxy', self.proxy.address),
            ('Bypass', '<local>;*.corp.example'),
            ('CurlProxy', self.proxy.address), ('CurlNoProxy', '.corp.example'),
            ('CurlProxy', ''), ('CurlNoProxy', ''),
            ('CurlProxy', ''), ('CurlNoProxy', '')])


if __name__ == '__main__':
    cli_harness.main()
