#!/usr/bin/env python3
"""A time-stamp server (RFC 3161) on loopback for the release test: each
POSTed request is answered by `openssl ts -reply`, signed by the test CA's
time-stamping certificate."""
import argparse
import http.server
import os
import subprocess
import tempfile

CONFIG = """
[ tsa ]
default_tsa = tsa_config
[ tsa_config ]
serial = {serial}
crypto_device = builtin
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512, sha1
accuracy = secs:1
ordering = yes
tsa_name = yes
ess_cert_id_alg = sha256
"""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--chain", required=True)
    parser.add_argument("--ready", required=True)
    args = parser.parse_args()
    work = tempfile.mkdtemp()
    serial = os.path.join(work, "serial")
    with open(serial, "w") as f:
        f.write("01\n")
    config = os.path.join(work, "tsa.cnf")
    with open(config, "w") as f:
        f.write(CONFIG.format(serial=serial))

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_POST(self):
            query = self.rfile.read(int(self.headers.get("Content-Length", "0")))
            request = os.path.join(work, "request.tsq")
            reply = os.path.join(work, "reply.tsr")
            with open(request, "wb") as f:
                f.write(query)
            done = subprocess.run(
                ["openssl", "ts", "-reply", "-config", config, "-queryfile", request,
                 "-signer", args.cert, "-inkey", args.key, "-chain", args.chain,
                 "-out", reply], capture_output=True)
            if done.returncode != 0:
                self.send_error(500, done.stderr.decode(errors="replace")[:200])
                return
            with open(reply, "rb") as f:
                body = f.read()
            self.send_response(200)
            self.send_header("Content-Type", "application/timestamp-reply")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *_):
            pass

    server = http.server.HTTPServer(("127.0.0.1", args.port), Handler)
    with open(args.ready, "w") as f:
        f.write("ready\n")
    server.serve_forever()


if __name__ == "__main__":
    main()
