"""The WinHTTP client and downloader (`installer-cli.exe http` and `download --type 2`)
against the scriptable download service."""
import hashlib
import http.server
import os
import random
import shutil
import ssl
import subprocess
import sys
import tempfile
import threading
import unittest

import cli_harness
from cli_harness import CliDir, parse_events, winpath

sys.path.insert(0, os.path.join(cli_harness.ROOT, 'tools'))
from download_service import DownloadService  # noqa: E402

MIB = 1024 * 1024


class WinHttpTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.service = DownloadService().start()
        cls.cli = CliDir()
        cls.base = 'http://127.0.0.1:%d' % cls.service.port

    @classmethod
    def tearDownClass(cls):
        cls.service.stop()
        cls.cli.close()

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix='wh-')
        self.service.reset_stats()

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def http(self, *args):
        code, out, err = self.cli.run('http', *args)
        fields = {}
        for line in out.split('\n'):
            if '=' in line:
                k, v = line.split('=', 1)
                fields.setdefault(k, v)
        return code, fields

    def test_verbs(self):
        code, f = self.http('get', self.base + '/echo', '--header=X-Test: 1', '--cookie=c=3')
        self.assertEqual((code, f['Result'], f['StatusCode']), (0, 'true', '200'))
        self.assertEqual(f['Content'], 'GET  cookie=c=3 x=1')
        code, f = self.http('POST', self.base + '/echo', '--data=hello')
        self.assertEqual(f['Content'], 'POST hello cookie= x=')
        count = len(self.service.requests)
        code, f = self.http('PUT', self.base + '/echo')
        self.assertEqual((code, f['Result'], f['LastError']), (1, 'false', '87'))
        self.assertEqual(len(self.service.requests), count)  # no connection made

    def test_response_values(self):
        code, f = self.http('GET', self.base + '/cookies')
        self.assertEqual(f['Cookies'], 'a=1; b=2;')
        code, f = self.http('GET', self.base + '/charset')
        self.assertEqual((f['Charset'], f['Content']), ('UTF-8', '<html>测试</html>'))
        code, f = self.http('GET', self.base + '/redirect')
        self.assertEqual((f['Content'], f['FinalUrl']), ('GET  cookie= x=', self.base + '/echo'))

    def test_https_with_untrusted_certificate(self):
        # A self-signed certificate for another host name: unknown authority, wrong name.
        key = os.path.join(self.work, 'key.pem')
        cert = os.path.join(self.work, 'cert.pem')
        subprocess.run(['openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days', '2',
                        '-subj', '/CN=other.example', '-keyout', key, '-out', cert],
                       check=True, capture_output=True)

        class Echo(http.server.BaseHTTPRequestHandler):
            protocol_version = 'HTTP/1.1'

            def log_message(self, *args):
                pass

            def do_GET(self):
                body = b'secure hello'
                self.send_response(200)
                self.send_header('Content-Length', str(len(body)))
                self.end_headers()
                self.wfile.write(body)

        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Echo)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        url = 'https://127.0.0.1:%d/' % server.server_address[1]
        try:
            code, f = self.http('GET', url)
        finally:
            server.shutdown()
        # Refused: the client never takes a certificate it cannot trust.
        self.assertEqual((code, f['Result'], f['Content']), (1, 'false', ''))
        self.assertNotEqual(f['LastError'], '0')

    def test_cut_short_html_is_retried_three_times(self):
        code, f = self.http('GET', self.base + '/cut')
        self.assertEqual((code, f['Result'], f['LastError']), (1, 'false', '13'))
        self.assertEqual(len(self.service.gets('/cut')), 3)

    def test_body_appended_to_response_file(self):
        path = os.path.join(self.work, 'body.txt')
        with open(path, 'wb') as f:
            f.write(b'before|')
        code, f = self.http('GET', self.base + '/echo', '--file=' + winpath(path))
        self.assertEqual(code, 0)
        with open(path, 'rb') as f:
            self.assertEqual(f.read(), b'before|GET  cookie= x=')

    def download(self, file_id):
        target = os.path.join(self.work, 'pkg.exe')
        code, out, err = self.cli.run('download', '--type', '2', self.service.url(file_id),
                                      winpath(target))
        return code, parse_events(out), target

    def test_downloader_events(self):
        data = random.Random(3).randbytes(3 * MIB)
        self.service.add('w-ok', name='w-ok.exe', data=data)
        # a stale file at the target is replaced, not appended to
        with open(os.path.join(self.work, 'pkg.exe'), 'wb') as f:
            f.write(b'old')
        code, events, target = self.download('w-ok')
        self.assertEqual([e for e in events if e[0] != 1002],
                         [(1001, '1', ''), (1003, '0', 'WinHttp')])
        self.assertEqual(code, 0)
        with open(target, 'rb') as f:
            self.assertEqual(hashlib.md5(f.read()).digest(), hashlib.md5(data).digest())

        self.service.add('w-404', name='w-404.exe', data=data, status=404)
        code, events, target = self.download('w-404')
        self.assertEqual(events, [(1001, '1', ''), (1004, '404', 'WinHttp')])
        self.assertFalse(os.path.exists(target))

        self.service.add('w-drop', name='w-drop.exe', data=data, drop_after=MIB, drop_times=-1)
        code, events, target = self.download('w-drop')
        self.assertEqual(events[0], (1001, '1', ''))
        self.assertEqual(events[-1][0], 1004)
        self.assertEqual(code, 1)

        self.service.add('w-bad', name='w-bad.exe', data=data, md5_mode='upper')
        code, events, target = self.download('w-bad')
        notice = 'winhttp文件md5校验失败'
        self.assertEqual([e for e in events if e[0] != 1002],
                         [(1001, '1', ''), (1006, '0', notice), (1005, '0', 'WinHttp'),
                          (1001, '1', ''), (1006, '0', notice), (1004, '0', 'WinHttp')])

        self.service.add('w-none', name='w-none.exe', data=data, md5_mode='none')
        code, events, target = self.download('w-none')
        self.assertEqual([e for e in events if e[0] != 1002],
                         [(1001, '1', ''), (1006, '0', 'winhttp获取url-md5失败'),
                          (1003, '0', 'WinHttp')])


if __name__ == '__main__':
    cli_harness.main()
