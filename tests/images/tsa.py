# The release checks' time-stamping authority: RFC 3161 replies from `openssl ts -reply`,
# signed with the throwaway key in <keys>, on 127.0.0.1:<port>.  Usage: tsa.py <keys> <port>
import http.server, subprocess, sys

keys, port = sys.argv[1], int(sys.argv[2])


class Reply(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        reply = subprocess.run(["openssl", "ts", "-reply", "-config", keys + "/tsa.cnf", "-queryfile", "/dev/stdin",
                                "-inkey", keys + "/tsa.key", "-signer", keys + "/tsa.pem", "-chain", keys + "/ca.pem",
                                "-out", "/dev/stdout"], input=query, capture_output=True)
        self.send_response(200 if reply.returncode == 0 else 400)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)


http.server.HTTPServer(("127.0.0.1", port), Reply).serve_forever()
