"""Starts Debian's nginx on loopback with the repository's config, serving one file."""
import hashlib
import os
import shutil
import socket
import subprocess
import tempfile
import time

CONF = os.path.join(os.path.dirname(__file__), '..', 'tests', 'download', 'nginx.conf')


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class NginxServer:
    def __init__(self, path):
        """Serves the file at path under /software/681 -> /files/<md5>/__Package_quillmoss.exe."""
        digest = hashlib.md5()
        with open(path, 'rb') as f:
            for block in iter(lambda: f.read(1 << 20), b''):
                digest.update(block)
        self.md5 = digest.hexdigest()
        self.prefix = tempfile.mkdtemp(prefix='nginx-')
        self.root = os.path.join(self.prefix, 'www')
        folder = os.path.join(self.root, 'files', self.md5)
        os.makedirs(folder)
        shutil.copy(path, os.path.join(folder, '__Package_quillmoss.exe'))
        self.port = free_port()
        with open(CONF, encoding='utf-8') as f:
            conf = f.read()
        for key, value in {'@PORT@': str(self.port), '@PREFIX@': self.prefix,
                           '@ROOT@': self.root, '@MD5@': self.md5}.items():
            conf = conf.replace(key, value)
        self.conf = os.path.join(self.prefix, 'nginx.conf')
        with open(self.conf, 'w', encoding='utf-8') as f:
            f.write(conf)
        self.process = subprocess.Popen(['/usr/sbin/nginx', '-p', self.prefix, '-c', self.conf],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            try:
                socket.create_connection(('127.0.0.1', self.port), timeout=1).close()
                break
            except OSError:
                time.sleep(0.05)
        self.url = 'http://127.0.0.1:%d/software/681' % self.port

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)

