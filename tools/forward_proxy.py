"""A forward HTTP proxy on loopback (standard library only) that relays plain HTTP requests
("GET http://host:port/path") to their servers and counts what it relayed."""
import http.client
import http.server
import threading
import urllib.parse

HOP_HEADERS = {'connection', 'keep-alive', 'proxy-connection', 'proxy-authorization',
               'te', 'trailer', 'transfer-encoding', 'upgrade'}


class ForwardProxy:
    def __init__(self):
        self.requests = []  # (method, absolute address)
        self.lock = threading.Lock()
        proxy = self

        class Handler(_Relay):
            pass
        Handler.proxy = proxy
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
        self.server.daemon_threads = True
        self.port = self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    @property
    def address(self):
        return '127.0.0.1:%d' % self.port

    def start(self):
        self.thread.start()
        return self

    def stop(self):
        self.server.shutdown()
        self.server.server_close()

    def relayed(self):
        with self.lock:
            return list(self.requests)

    def reset(self):
        with self.lock:
            self.requests.clear()


class _Relay(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    proxy = None

    def log_message(self, *args):
        pass

    def do_GET(self):
        self.relay()

    def do_HEAD(self):
        self.relay()

    def relay(self):
        target = urllib.parse.urlsplit(self.path)
        if target.scheme != 'http' or not target.hostname:
            self.send_error(400, 'not a proxy request')
            return
        with self.proxy.lock:
            self.proxy.requests.append((self.command, self.path))
        headers = {k: v for k, v in self.headers.items() if k.lower() not in HOP_HEADERS}
        path = target.path or '/'
        if target.query:
            path += '?' + target.query
        upstream = http.client.HTTPConnection(target.hostname, target.port or 80, timeout=60)
        try:
            upstream.request(self.command, path, headers=headers)
            answer = upstream.getresponse()
            self.send_response_only(answer.status, answer.reason)
            for name, value in answer.getheaders():
                if name.lower() not in HOP_HEADERS:
                    self.send_header(name, value)
            self.send_header('Connection', 'close')
            self.end_headers()
            self.close_connection = True
            if self.command != 'HEAD':
                while True:
                    chunk = answer.read(256 * 1024)
                    if not chunk:
                        break
                    self.wfile.write(chunk)
        except (OSError, http.client.HTTPException):
            self.close_connection = True
        finally:
            upstream.close()
