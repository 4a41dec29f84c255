#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A local HTTP server for the update tests. It listens on 127.0.0.1 on a free port, prints
"PORT <n>" on its first output line and runs until its standard input closes (so it ends with
the test that started it). Each request's path is appended to the log file given as the first
argument.

The first path segment picks the answer:
  /total<n>/...        200 {"data": {"total": n}}
  /status<n>/...       answer n with a short JSON body
  /notjson/...         200 with a body that is not JSON
  /nodata/...          200 JSON without "data"
  /redirect/<k>/...    302 to /redirect/<k-1>/..., /redirect/0/... answers like /total1
  /hang/...            reads the request and never answers
  /big/...             200 JSON padded to 2 MiB
  /bigstream/...       the same without a length (chunked), so the size shows only as it comes
  /serverversion/<v>/... 200 {"SeverVersion": {"MaxVersion": v}}
  /file/<size>/<name>  200 with <size> bytes of a fixed pattern
  /drop/<size>/<name>  announces <size> bytes, sends half of them and closes the connection
"""
import http.server
import json
import socket
import sys
import threading

stopping = threading.Event()
log_lock = threading.Lock()


def pattern(size):
    block = bytes(range(256))
    return (block * (size // 256 + 1))[:size]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, code, body, content_type="application/json", headers=()):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        with log_lock, open(sys.argv[1], "a") as log:
            log.write(self.path + "\n")
        parts = self.path.lstrip("/").split("/")
        head = parts[0]
        if head.startswith("total"):
            total = int(head[len("total"):])
            self.answer(200, json.dumps({"data": {"total": total}}).encode())
        elif head.startswith("status"):
            self.answer(int(head[len("status"):]), b'{"data": {"total": 5}}')
        elif head == "notjson":
            self.answer(200, b"<html>maintenance</html>", "text/html")
        elif head == "nodata":
            self.answer(200, b'{"result": "ok"}')
        elif head == "redirect":
            left = int(parts[1])
            if left == 0:
                self.answer(200, b'{"data": {"total": 1}}')
            else:
                target = "/redirect/%d/%s" % (left - 1, "/".join(parts[2:]))
                self.answer(302, b"", "text/plain", [("Location", target)])
        elif head == "hang":
            stopping.wait()
            self.close_connection = True
        elif head == "big":
            body = b'{"data": {"total": 1}, "pad": "' + b"x" * (2 * 1024 * 1024) + b'"}'
            self.answer(200, body)
        elif head == "bigstream":
            self.send_response(200)
            self.send_header("Content-Type", "application/json")
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            chunks = [b'{"data": {"total": 1}, "pad": "'] + [b"x" * 65536] * 32 + [b'"}']
            try:
                for chunk in chunks:
                    self.wfile.write(b"%x\r\n%s\r\n" % (len(chunk), chunk))
                self.wfile.write(b"0\r\n\r\n")
            except OSError:
                pass  # the client gave up at its cap
            self.close_connection = True
        elif head == "serverversion":
            self.answer(200, json.dumps({"SeverVersion": {"MaxVersion": parts[1]}}).encode())
        elif head == "file":
            self.answer(200, pattern(int(parts[1])), "application/octet-stream")
        elif head == "drop":
            size = int(parts[1])
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(size))
            self.end_headers()
            self.wfile.write(pattern(size)[: size // 2])
            self.wfile.flush()
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
        else:
            self.answer(404, b"{}")


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, args=(0.05,), daemon=True).start()
    print("PORT %d" % server.server_address[1], flush=True)
    sys.stdin.read()
    stopping.set()
    server.shutdown()


if __name__ == "__main__":
    main()
