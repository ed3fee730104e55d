"""The plain download path against nginx: redirect, HEAD, GET and ranges served by a real
web server."""
import hashlib
import os
import random
import shutil
import sys
import tempfile
import unittest

import cli_harness
from cli_harness import CliDir, parse_events, winpath

sys.path.insert(0, os.path.join(cli_harness.ROOT, 'tools'))
from nginx_server import NginxServer  # noqa: E402


class NginxTest(unittest.TestCase):
    def test_downloads_are_byte_identical(self):
        work = tempfile.mkdtemp(prefix='ngx-')
        source = os.path.join(work, 'source.bin')
        data = random.Random(5).randbytes(21 * 1024 * 1024 + 3)  # two segments
        with open(source, 'wb') as f:
            f.write(data)
        server = NginxServer(source)
        cli = CliDir()
        try:
            for dl_type in (1, 3):
                with self.subTest(dl_type):
                    target = os.path.join(work, 'pkg%d.exe' % dl_type)
                    code, out, err = cli.run('download', '--type', str(dl_type), server.url,
                                             winpath(target))
                    events = [e for e in parse_events(out) if e[0] != 1002]
                    self.assertEqual(events, [(1001, '1', ''), (1003, '0', 'LibCurl')])
                    self.assertEqual(code, 0)
                    with open(target, 'rb') as f:
                        self.assertEqual(hashlib.md5(f.read()).hexdigest(), server.md5)
        finally:
            server.stop()
            cli.close()
            shutil.rmtree(work, ignore_errors=True)
            shutil.rmtree(server.prefix, ignore_errors=True)


if __name__ == '__main__':
    cli_harness.main()
