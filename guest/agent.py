"""Runs programs inside the guest for the machine outside.

One request a connection: a line of JSON with the program's arguments, its
environment and folder (each string the exact bytes, as Latin-1), and a
time limit. The answer is a line of JSON with the exit status and the bytes
of standard output and standard error, or the word that the time ran out.
Output goes through files, not pipes: Wine's own background processes keep
an inherited pipe open long after the program has ended.
"""

import base64
import json
import os
import signal
import socketserver
import subprocess
import tempfile

PORT = 7000


def as_bytes(text):
    return text.encode("latin-1")


def run(request):
    argv = [as_bytes(argument) for argument in request["argv"]]
    env = {as_bytes(name): as_bytes(value) for name, value in request["env"].items()}
    cwd = as_bytes(request["cwd"]) if request.get("cwd") else None
    with tempfile.TemporaryFile() as stdout, tempfile.TemporaryFile() as stderr:
        try:
            process = subprocess.Popen(argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=stdout,
                                       stderr=stderr, start_new_session=True)
        except OSError as error:
            return {"error": error.errno, "message": str(error)}
        try:
            status = process.wait(timeout=request["timeout"])
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return {"timeout": True}
        stdout.seek(0)
        stderr.seek(0)
        return {"status": status, "stdout": base64.b64encode(stdout.read()).decode("ascii"),
                "stderr": base64.b64encode(stderr.read()).decode("ascii")}


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        answer = run(json.loads(self.rfile.readline()))
        self.wfile.write(json.dumps(answer).encode("ascii") + b"\n")


class Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True


if __name__ == "__main__":
    with Server(("0.0.0.0", PORT), Handler) as server:
        server.serve_forever()
