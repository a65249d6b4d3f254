#!/usr/bin/python3
"""HTTP peer of the network tests and benchmarks (standard library only).

Binds 127.0.0.1 on a free port and prints the port. With --cert and --key it serves TLS.
Routes:
  /echo                 method, length, content type and body of the request
  /headers              the request line and header lines in arrival order
  /cookie               two Set-Cookie headers (path and max-age)
  /redirect/relative    302 to "target";  /redirect/absolute  301 to http://127.0.0.1:PORT/target
  /redirect/loop        302 to itself;  /redirect/other-host  302 to http://localhost:PORT/headers
  /redirect/303         303 to /echo
  /content-location     200 with Content-Location: /target
  /target               "target reached"
  /auth                 401 without Basic credentials user:pass, else 200
  /status/404           404 Not Found;  /status/404-bare  404 without reason phrase
  /status/999           999 with a reason;  /status/abc  a code that is not a number
  /range                206 with Content-Range bytes 100-199/1000 and no Content-Length
  /disposition          Content-Disposition with a quoted file name
  /chunked              chunked when the request says HTTP/1.1, else a plain body
  /slow?n=N&ms=M        N bytes, one every M milliseconds
  /truncated            Content-Length 1000, 10 bytes, close
  /bytes?n=N            N bytes of a fixed pattern with Content-Length
  /big                  the file of --big-file through os.sendfile
An absolute request target (a forward proxy) is answered with "proxy " and the target;
CONNECT host:port opens a tunnel to 127.0.0.1:port.
"""
import argparse
import os
import select
import socket
import socketserver
import ssl
import sys
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

ARGS = None


def pattern(n):
    block = bytes(range(256)) * 256
    out = bytearray()
    while len(out) < n:
        out += block[: n - len(out)]
    return bytes(out)


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def raw(self, data):
        self.wfile.write(data)
        self.wfile.flush()
        self.close_connection = True

    def reply(self, code, body=b"", headers=(), reason=None):
        self.send_response(code, reason)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def body(self):
        # Read once: every route takes the request body before it answers, so the server
        # never closes with unread bytes (which makes the kernel send a reset that can
        # destroy the reply before the client reads it).
        if not hasattr(self, "_body"):
            n = int(self.headers.get("Content-Length", "0") or 0)
            self._body = self.rfile.read(n) if n > 0 else b""
        return self._body

    def port(self):
        return self.server.server_address[1]

    def do_CONNECT(self):
        host, _, port = self.path.partition(":")
        upstream = socket.create_connection(("127.0.0.1", int(port)))
        self.raw(b"HTTP/1.0 200 Connection established\r\n\r\n")
        sockets = [self.connection, upstream]
        try:
            while True:
                readable, _, _ = select.select(sockets, [], [], 10)
                if not readable:
                    break
                for s in readable:
                    data = s.recv(65536)
                    if not data:
                        return
                    (upstream if s is self.connection else self.connection).sendall(data)
        finally:
            upstream.close()

    def route(self):
        self.body()
        if self.path.startswith("http://") or self.path.startswith("https://"):
            return self.reply(200, b"proxy " + self.path.encode("latin-1"))
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        path = url.path
        if path == "/echo":
            data = self.body()
            text = "method=%s\nlength=%s\ntype=%s\nbody=" % (
                self.command, self.headers.get("Content-Length", ""), self.headers.get("Content-Type", ""))
            return self.reply(200, text.encode("latin-1") + data)
        if path == "/headers":
            lines = [self.requestline] + ["%s: %s" % kv for kv in self.headers.items()]
            return self.reply(200, "\n".join(lines).encode("latin-1"))
        if path == "/cookie":
            return self.reply(200, b"cookies", [("Set-Cookie", "session=abc; path=/app; max-age=3600"),
                                                 ("Set-Cookie", "theme=dark")])
        if path == "/redirect/relative":
            return self.reply(302, b"moved", [("Location", "../target")])
        if path == "/redirect/absolute":
            return self.reply(301, b"moved", [("Location", "http://127.0.0.1:%d/target" % self.port())])
        if path == "/redirect/loop":
            return self.reply(302, b"again", [("Location", "/redirect/loop")])
        if path == "/redirect/other-host":
            return self.reply(302, b"away", [("Location", "http://localhost:%d/headers" % self.port())])
        if path == "/redirect/303":
            return self.reply(303, b"see", [("Location", "/echo")])
        if path == "/content-location":
            return self.reply(200, b"here", [("Content-Location", "/target")])
        if path == "/target":
            return self.reply(200, b"target reached")
        if path == "/auth":
            if self.headers.get("Authorization") == "Basic dXNlcjpwYXNz":
                return self.reply(200, b"welcome")
            return self.reply(401, b"who", [("WWW-Authenticate", 'Basic realm="kestrin"')])
        if path == "/status/404":
            return self.reply(404, b"missing", reason="Not Found")
        if path == "/status/404-bare":
            return self.raw(b"HTTP/1.0 404\r\nContent-Length: 0\r\n\r\n")
        if path == "/status/999":
            return self.raw(b"HTTP/1.0 999 Odd\r\nContent-Length: 3\r\n\r\nodd")
        if path == "/status/abc":
            return self.raw(b"HTTP/1.0 abc Weird\r\nContent-Length: 5\r\n\r\nweird")
        if path == "/range":
            return self.raw(b"HTTP/1.0 206 Partial Content\r\nContent-Range: bytes 100-199/1000\r\n\r\n" + pattern(100))
        if path == "/disposition":
            return self.reply(200, b"a,b\n", [("Content-Disposition", 'attachment; filename="report.csv"')])
        if path == "/chunked":
            if self.request_version != "HTTP/1.1":
                return self.reply(200, b"plain body")
            return self.raw(b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                            b"5\r\nhello\r\n1;ext=1\r\n \r\n5\r\nworld\r\n0\r\nX-Trailer: t\r\n\r\n")
        if path == "/slow":
            n, ms = int(query.get("n", "4")), int(query.get("ms", "100"))
            self.send_response(200)
            self.send_header("Content-Length", str(n))
            self.end_headers()
            for i in range(n):
                self.wfile.write(b"x")
                self.wfile.flush()
                time.sleep(ms / 1000.0)
            return
        if path == "/truncated":
            return self.raw(b"HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n0123456789")
        if path == "/bytes":
            return self.reply(200, pattern(int(query.get("n", "0"))))
        if path == "/big":
            size = os.path.getsize(ARGS.big_file)
            self.send_response(200)
            self.send_header("Content-Length", str(size))
            self.end_headers()
            self.wfile.flush()
            with open(ARGS.big_file, "rb") as f:
                offset = 0
                while offset < size:
                    offset += os.sendfile(self.connection.fileno(), f.fileno(), offset, size - offset)
            return
        return self.reply(404, b"no route", reason="Not Found")

    do_GET = do_POST = do_PUT = do_HEAD = do_TRACE = route


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--big-file")
    ARGS = parser.parse_args()
    server = Server(("127.0.0.1", 0), Handler)
    if ARGS.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(ARGS.cert, ARGS.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
