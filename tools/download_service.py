"""A scriptable HTTP download service on loopback, for tests, the demo and benchmarks.

`/software/<id>` redirects (optionally through a chain of hops) to the file's final address
`/files/<md5>/<name>`, whose second-to-last segment carries the file's MD5. Final addresses
answer HEAD and GET, with byte ranges. Each file can carry faults: a connection dropped after
N bytes (some times or every time), a stall, an error status, a wrong, upper-case or missing
MD5 segment, no Content-Length, a per-connection rate limit, byte ranges ignored (200 with the
whole file) or answered with another range, junk after the announced body, a body that always ends at one offset, a huge header
value on every answer. `/loop/<n>` redirects to itself for ever.

Run standalone: python3 download_service.py --port P --file ID=PATH [--file ...]
"""
import argparse
import hashlib
import http.server
import os
import re
import socket
import sys
import ssl
import threading
import time
import urllib.parse


class ServedFile:
    def __init__(self, file_id, name, data=None, path=None, md5_mode='real', status=None,
                 get_status=None, get_status_times=-1, no_length=False, drop_after=None, drop_times=1,
                 stall_after=None, stall_seconds=0, stall_times=1, rate=None, redirects=1,
                 ignore_range=False, wrong_range=False, extra_bytes=0, header_size=0,
                 cut_at=None):
        self.id = str(file_id)
        self.name = name
        self.data = data
        self.path = path
        self.size = len(data) if data is not None else os.path.getsize(path)
        self.md5 = hashlib.md5(data).hexdigest() if data is not None else _file_md5(path)
        self.md5_mode = md5_mode        # real | upper | wrong | none
        self.status = status            # error status of the final address (HEAD and GET)
        self.get_status = get_status    # error status of GET only
        self.get_status_times = get_status_times  # for the first N GETs (-1: every one)
        self.failed_gets = 0
        self.no_length = no_length
        self.drop_after = drop_after    # bytes of a GET body before the connection drops
        self.drop_times = drop_times    # how many GETs drop (-1: every one)
        self.stall_after = stall_after
        self.stall_seconds = stall_seconds
        self.stall_times = stall_times
        self.rate = rate                # bytes per second per connection
        self.redirects = redirects      # redirections before the final address
        self.ignore_range = ignore_range  # ranged GETs get 200 and the whole file
        self.wrong_range = wrong_range  # ranged GETs get 206 for the range one byte further on
        self.extra_bytes = extra_bytes  # junk bytes sent after the announced body, then close
        self.header_size = header_size  # an X-Padding header of this many characters
        self.cut_at = cut_at            # no byte from this file offset on is ever sent
        self.gets = 0

    def final_path(self):
        if self.md5_mode == 'none':
            return '/' + self.name
        segment = {'real': self.md5, 'upper': self.md5.upper(),
                   'wrong': hashlib.md5(b'other').hexdigest()}[self.md5_mode]
        return '/files/%s/%s' % (segment, self.name)

    def read(self, start, length):
        if self.data is not None:
            return self.data[start:start + length]
        with open(self.path, 'rb') as f:
            f.seek(start)
            return f.read(length)


def _file_md5(path):
    digest = hashlib.md5()
    with open(path, 'rb') as f:
        for block in iter(lambda: f.read(1 << 20), b''):
            digest.update(block)
    return digest.hexdigest()


class DownloadService:
    """tls: (certificate file, key file) to serve HTTPS instead of HTTP."""

    def __init__(self, port=0, tls=None):
        self.files = {}
        self.requests = []      # (method, path, Range header or None)
        self.body_bytes = 0     # bytes of file bodies sent
        self.bad_ranges = []    # Range headers that asked for an empty or inverted range
        self.lock = threading.Lock()
        service = self

        class Handler(_Handler):
            pass
        Handler.service = service
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', port), Handler)
        self.server.daemon_threads = True
        self.port = self.server.server_address[1]
        self.scheme = 'http'
        if tls:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(*tls)
            self.server.socket = context.wrap_socket(self.server.socket, server_side=True)
            self.scheme = 'https'
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def start(self):
        self.thread.start()
        return self

    def stop(self):
        self.server.shutdown()
        self.server.server_close()

    def add(self, file_id, name='__Package_quillmoss.exe', **options):
        served = ServedFile(file_id, name, **options)
        with self.lock:
            self.files[served.id] = served
        return served

    def url(self, file_id):
        return '%s://127.0.0.1:%d/software/%s' % (self.scheme, self.port, file_id)

    def final_url(self, file_id):
        return '%s://127.0.0.1:%d%s' % (self.scheme, self.port,
                                        self.files[str(file_id)].final_path())

    def gets(self, path_part=''):
        with self.lock:
            return [r for r in self.requests if r[0] == 'GET' and path_part in r[1]]

    def reset_stats(self):
        with self.lock:
            self.requests.clear()
            self.body_bytes = 0
            self.bad_ranges.clear()


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    service = None

    def log_message(self, *args):
        pass

    def do_HEAD(self):
        self.handle_request(head=True)

    def do_GET(self):
        self.handle_request(head=False)

    def do_POST(self):
        self.handle_request(head=False)

    def page(self, path, head):
        """Small pages for the HTTP client's tests; False when path is no such page."""
        body = None
        headers = [('Content-Type', 'text/plain')]
        if path == '/echo':
            length = int(self.headers.get('Content-Length') or 0)
            data = self.rfile.read(length) if length else b''
            body = b'%s %s cookie=%s x=%s' % (self.command.encode(), data,
                                              (self.headers.get('Cookie') or '').encode(),
                                              (self.headers.get('X-Test') or '').encode())
        elif path == '/cookies':
            body = b'cookies'
            headers += [('Set-Cookie', 'a=1'), ('Set-Cookie', 'a=1'), ('set-cookie', 'b=2')]
        elif path == '/charset':
            body = '<html>测试</html>'.encode('utf-8')
            headers = [('Content-Type', 'text/html; Charset=UTF-8')]
        elif path == '/cut':
            body = b'<html><body>half'
            headers = [('Content-Type', 'text/html')]
        elif path == '/redirect':
            self.redirect('/echo')
            return True
        else:
            return False
        self.send_response(200)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        if not head:
            self.wfile.write(body)
        return True

    def redirect(self, location):
        self.send_response(302)
        self.send_header('Location', location)
        self.send_header('Content-Length', '0')
        self.end_headers()

    def error(self, status, head):
        body = b'<html><body>error %d</body></html>' % status
        self.send_response(status)
        self.send_header('Content-Type', 'text/html')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        if not head:
            self.wfile.write(body)

    def find(self, path):
        with self.service.lock:
            for served in self.service.files.values():
                if served.final_path() == path:
                    return served
        return None

    def handle_request(self, head):
        svc = self.service
        path = urllib.parse.urlsplit(self.path).path
        with svc.lock:
            svc.requests.append((self.command, path, self.headers.get('Range')))
        if self.page(path, head):
            return
        if path.startswith('/loop/'):
            return self.redirect(path)
        m = re.fullmatch(r'/software/([^/]+)', path) or re.fullmatch(r'/hop/([^/]+)/\d+', path)
        if m:
            served = svc.files.get(m.group(1))
            if not served:
                return self.error(404, head)
            hop = int(path.rsplit('/', 1)[1]) if path.startswith('/hop/') else 0
            if hop + 1 < served.redirects:
                return self.redirect('/hop/%s/%d' % (served.id, hop + 1))
            return self.redirect(served.final_path())
        served = self.find(path)
        if not served:
            return self.error(404, head)
        if served.status:
            return self.error(served.status, head)
        if not head and served.get_status:
            with svc.lock:
                fail = served.get_status_times < 0 or served.failed_gets < served.get_status_times
                served.failed_gets += fail
            if fail:
                return self.error(served.get_status, head)
        self.send_file(served, head)

    def send_file(self, served, head):
        start, end = 0, served.size - 1
        status = 200
        rng = self.headers.get('Range')
        m = re.fullmatch(r'bytes=(\d+)-(\d*)', rng or '')
        if m and m.group(2) and int(m.group(2)) < int(m.group(1)):
            with self.service.lock:
                self.service.bad_ranges.append(rng)
        if m and served.ignore_range and not head:
            m = None
        if m:
            start = int(m.group(1))
            if m.group(2):
                end = min(int(m.group(2)), served.size - 1)
            if start >= served.size:
                self.send_response(416)
                self.send_header('Content-Range', 'bytes */%d' % served.size)
                self.send_header('Content-Length', '0')
                self.end_headers()
                return
            status = 206
            if served.wrong_range and not head and start + 1 < served.size:
                start += 1
        length = end - start + 1
        self.send_response(status)
        self.send_header('Content-Type', 'application/octet-stream')
        self.send_header('Accept-Ranges', 'bytes')
        if status == 206:
            self.send_header('Content-Range', 'bytes %d-%d/%d' % (start, end, served.size))
        if served.header_size:
            self.send_header('X-Padding', 'p' * served.header_size)
        if served.extra_bytes:
            self.send_header('Connection', 'close')
            self.close_connection = True
        if served.no_length:
            self.send_header('Connection', 'close')
            self.close_connection = True
        else:
            self.send_header('Content-Length', str(length))
        self.end_headers()
        if head:
            return
        with self.service.lock:
            attempt = served.gets
            served.gets += 1
        limit = length
        drop = served.drop_after is not None and (served.drop_times < 0 or attempt < served.drop_times)
        if drop:
            limit = min(limit, served.drop_after)
        if served.cut_at is not None:
            limit = max(0, min(limit, served.cut_at - start))
        stall = served.stall_after is not None and (served.stall_times < 0 or attempt < served.stall_times)
        sent = 0
        began = time.monotonic()
        try:
            while sent < limit:
                if stall and sent >= served.stall_after:
                    time.sleep(served.stall_seconds)
                    break
                chunk = min(256 * 1024, limit - sent)
                if stall:
                    chunk = min(chunk, served.stall_after - sent)
                if served.rate:
                    chunk = min(chunk, max(1, served.rate // 20))
                block = served.read(start + sent, chunk)
                self.wfile.write(block)
                sent += len(block)
                with self.service.lock:
                    self.service.body_bytes += len(block)
                if served.rate:
                    due = began + sent / served.rate
                    pause = due - time.monotonic()
                    if pause > 0:
                        time.sleep(pause)
            if served.extra_bytes and sent == length:
                self.wfile.write(b'\xa5' * served.extra_bytes)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True
            return
        if sent < length:
            self.wfile.flush()
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            self.close_connection = True


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--port', type=int, default=0)
    parser.add_argument('--file', action='append', default=[], help='ID=PATH')
    parser.add_argument('--rate', type=int, default=None)
    args = parser.parse_args()
    service = DownloadService(args.port)
    for item in args.file:
        file_id, path = item.split('=', 1)
        service.add(file_id, name=os.path.basename(path), path=path, rate=args.rate)
        print(service.url(file_id), flush=True)
    print('listening on 127.0.0.1:%d' % service.port, flush=True)
    service.server.serve_forever()


if __name__ == '__main__':
    sys.exit(main())
