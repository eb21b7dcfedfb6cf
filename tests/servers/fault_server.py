#!/usr/bin/env python3
"""A download server that misbehaves on purpose, for the download's failure
paths. Serves one payload at one path, over TLS and/or plain HTTP, with byte
ranges; rules make chosen requests fail. Every request is logged as one JSON
line. Standard library only.

Rules (a JSON list), each {"target": T, "action": A, "attempts": K}:
  T: "size" (a request without Range: the size query), a segment id 0..39
     (from the first byte asked for), "other" (any other path: the analytics
     collector), a list of those, or "any".
  A: "status:N" answer N (a 401 asks for Negotiate or NTLM, as a Windows
     server does); "ignore-range" answer 200 with the whole file;
     "reset:N" send N body bytes then reset the connection; "end:N" send N
     body bytes then close cleanly (Content-Length promised more);
     "stall:N" send N body bytes, then nothing more on an open connection;
     "delay:S" wait S seconds first; "rate:B" send at B bytes/s;
     "size:N" announce Content-Length N for the size query;
     "total:+N" name a total N bytes larger in Content-Range (the right
     bytes of a file replaced meanwhile).
  K: the rule applies to the first K attempts of the target (omit: always).
The first matching rule of each kind (delay, rate, the rest) applies.
With --static DIR, the files of DIR are served as they are at /NAME (the
lists of revoked certificates of the test CA), subject to the rules for
"other".
"""
import argparse
import http.server
import json
import os
import socket
import socketserver
import ssl
import struct
import sys
import threading
import time

SEGMENTS = 40
STALL_SECONDS = 600


class State:
    def __init__(self, payload, rules, log_path):
        self.payload = payload
        self.rules = rules
        self.lock = threading.Lock()
        self.attempts = {}
        self.open_ranges = 0  # range requests being answered now
        self.log = open(log_path, "a", buffering=1)

    def segment_of(self, first):
        chunk = max(len(self.payload) // SEGMENTS, 1)
        return min(first // chunk, SEGMENTS - 1)

    def count(self, target):
        with self.lock:
            self.attempts[target] = self.attempts.get(target, 0) + 1
            return self.attempts[target]

    def actions(self, target, attempt):
        chosen = {}
        for rule in self.rules:
            targets = rule["target"] if isinstance(rule["target"], list) else [rule["target"]]
            if target not in targets and "any" not in targets:
                continue
            limit = rule.get("attempts")
            if limit is not None and attempt > limit:
                continue
            action = rule["action"]
            kind = action.split(":")[0]
            kind = kind if kind in ("delay", "rate") else "main"
            chosen.setdefault(kind, action)
        return chosen

    def write_log(self, entry):
        with self.lock:
            self.log.write(json.dumps(entry) + "\n")


def make_handler(state, port):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def do_HEAD(self):
            self.answer(head=True)

        def do_GET(self):
            self.answer(head=False)

        # Counts the range requests answered at the same time: each log line
        # of one says how many were open when it came ("open_ranges").
        def answer(self, head):
            ranged = (self.headers.get("Range") or "").startswith("bytes=")
            self.open_ranges = 0
            if ranged:
                with state.lock:
                    state.open_ranges += 1
                    self.open_ranges = state.open_ranges
            try:
                self.respond(head)
            finally:
                if ranged:
                    with state.lock:
                        state.open_ranges -= 1

        def respond(self, head):
            size = len(state.payload)
            first, last = 0, size - 1
            ranged = False
            header = self.headers.get("Range")
            if header and header.startswith("bytes="):
                try:
                    a, b = header[6:].split("-", 1)
                    first, last = int(a), int(b)
                    ranged = True
                except ValueError:
                    pass
            target = state.segment_of(first) if ranged else "size"
            if self.path.split("?")[0] != "/" + state.path:
                target = "other"
            attempt = state.count(target)
            actions = state.actions(target, attempt)
            state.write_log({"time": time.time(), "port": port, "method": self.command,
                             "path": self.path, "range": header, "first": first if ranged else None,
                             "last": last if ranged else None, "target": target,
                             "attempt": attempt, "actions": sorted(actions.values()),
                             "open_ranges": self.open_ranges,
                             "authorization": "Authorization" in self.headers})
            if "delay" in actions:
                time.sleep(float(actions["delay"].split(":")[1]))
            if self.path.split("?")[0] != "/" + state.path:
                return self.static_file(head) if state.static else self.simple(404)
            main = actions.get("main", "")
            if main.startswith("status:"):
                return self.simple(int(main.split(":")[1]))
            if main == "ignore-range" or not ranged:
                body_first, body_last, code = 0, size - 1, 200
            else:
                if first > last or last >= size:
                    return self.simple(416)
                body_first, body_last, code = first, last, 206
            length = body_last - body_first + 1
            if main.startswith("size:") and not ranged:
                length = int(main.split(":")[1])
            self.send_response(code)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(length))
            if code == 206:
                total = size + int(main.split(":")[1]) if main.startswith("total:") else size
                self.send_header("Content-Range", "bytes %d-%d/%d" % (first, last, total))
            self.end_headers()
            if head:
                return
            body = state.payload[body_first:body_first + min(length, body_last - body_first + 1)]
            cut = None
            if main.split(":")[0] in ("reset", "end", "stall"):
                cut = int(main.split(":")[1])
                body = body[:cut]
            rate = float(actions["rate"].split(":")[1]) if "rate" in actions else None
            try:
                self.send_body(body, rate)
                if main.startswith("reset:"):
                    self.reset()
                elif main.startswith("stall:"):
                    time.sleep(STALL_SECONDS)  # longer than any wait of the client
                    self.close_connection = True
                elif main.startswith("end:"):
                    self.wfile.flush()
                    self.close_connection = True
            except OSError:
                self.close_connection = True

        def send_body(self, body, rate):
            step = 16384
            for offset in range(0, len(body), step):
                self.wfile.write(body[offset:offset + step])
                if rate:
                    self.wfile.flush()
                    time.sleep(step / rate)
            self.wfile.flush()

        def reset(self):
            raw = self.connection
            if isinstance(raw, ssl.SSLSocket):
                raw = socket.socket(fileno=raw.detach())
            raw.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            raw.close()
            self.close_connection = True

        def static_file(self, head):
            name = self.path.split("?")[0].lstrip("/")
            path = os.path.join(state.static, name)
            if "/" in name or not os.path.isfile(path):
                return self.simple(404)
            with open(path, "rb") as f:
                body = f.read()
            self.send_response(200)
            self.send_header("Content-Type", "application/pkix-crl")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if not head:
                self.wfile.write(body)

        def simple(self, code):
            body = b"<html><body>error %d</body></html>" % code
            self.send_response(code)
            if code == 401:
                self.send_header("WWW-Authenticate", "Negotiate")
                self.send_header("WWW-Authenticate", "NTLM")
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if self.command != "HEAD":
                self.wfile.write(body)

    return Handler


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 128

    def __init__(self, address, handler, context):
        self.context = context
        super().__init__(address, handler)

    def finish_request(self, request, client_address):
        # The TLS handshake runs in the request's own thread, not in accept.
        if self.context:
            try:
                request = self.context.wrap_socket(request, server_side=True)
            except (OSError, ssl.SSLError):
                return
        super().finish_request(request, client_address)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--payload", required=True)
    parser.add_argument("--path", required=True, help="path served, without the leading /")
    parser.add_argument("--log", required=True)
    parser.add_argument("--rules", default="[]")
    parser.add_argument("--tls-port", type=int)
    parser.add_argument("--http-port", type=int)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--ready", help="file written once every port listens")
    parser.add_argument("--static", help="a folder whose files are served at /NAME")
    args = parser.parse_args()
    with open(args.payload, "rb") as f:
        state = State(f.read(), json.loads(args.rules), args.log)
    state.path = args.path
    state.static = args.static
    servers = []
    if args.tls_port:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        servers.append(Server(("127.0.0.1", args.tls_port), make_handler(state, args.tls_port),
                              context))
    if args.http_port:
        servers.append(Server(("127.0.0.1", args.http_port), make_handler(state, args.http_port),
                              None))
    for server in servers:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    if args.ready:
        with open(args.ready, "w") as f:
            f.write("ready\n")
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
