#!/usr/bin/env python3
"""Loopback HTTP and HTTPS servers for the updater's tests and bench, run around one program.

    loopback_servers.py PROGRAM [ARGS...]     (PROGRAM is usually Wine followed by the .exe)

Makes a test CA and a server certificate signed by it (subjectAltName DNS:127.0.0.1 and
IP:127.0.0.1: WinInet under Wine rejects a certificate that names the address only as an
IP) plus a self-signed one, starts three servers on 127.0.0.1 with ports the system
chooses (plain HTTP, HTTPS with the CA's certificate, HTTPS self-signed), writes their
ports and paths as JSON, runs PROGRAM with ATGEN_UPDATER_SERVERS naming that file (as a
Windows path), stops everything when PROGRAM ends and exits with its code.

Routes (every server):
    /bytes/N                N bytes of a fixed pattern (byte i is i % 251)
    /short/ANNOUNCED/SENT   announces ANNOUNCED bytes, sends SENT, closes
    /nolength/N             N bytes without a length, ended by closing
    /status/CODE            an empty answer with that status
    /auth/USER/PASSWORD/N   401 until Basic authorization matches, then /bytes/N
    /stall/SECONDS          announces 100000 bytes, sends 4096, waits, closes
    /slow/N/MS              N bytes of the pattern in blocks of 4096, MS milliseconds apart
                            (at most MAX_STALL seconds in all): a download that lasts
    /drip/MS                announces 100000 bytes, then sends one byte every MS milliseconds
                            (at most 3000, for at most MAX_STALL seconds in all): each wait
                            for data is short, the download never ends
    /redirect/CODE/SCHEME/PORT/REST   answers CODE with Location SCHEME://127.0.0.1:PORT/REST
    /redirect/CODE/relative/REST      answers CODE with Location /REST (the same server)
    /files/NAME             the file NAME of the document folder; "@PORT@" in it becomes
                            the serving server's port (the query part of the path is ignored)
    POST /echo              answers "<Content-Type>|<body>" (as text)
The plain server is also offered on port 80 when that port can be taken ("port80" in the
JSON says whether it was): the updater posts its report to port 80 only.

Also started:
    an FTP server (pyftpdlib) for user "u" with password "p" over the folder "ftproot"
        (passive and active transfers); "ftp" is its port, "ftproot" the folder, and every
        command it receives is appended to "ftplog" (one line each)
    a forward HTTP proxy that answers 407 to a request without the right
        Proxy-Authorization ("Basic" of "pu:pp") and otherwise passes it to the plain server
        whatever host it names; "proxy" is its port, and the Proxy-Authorization header of
        each request it receives (or "-") is appended to "proxylog"
    an SFTP server (paramiko, an RSA host key made at start) for user "u" with password
        "p" over the folder "sftproot"; "sftp" is its port, and "sftplog" gets one line per
        event: "auth USER" for each password tried, "stat PATH", "open PATH",
        "opendir PATH" (paths as the client sent them) and "disconnect CODE DESCRIPTION"
Besides the standard library: the openssl command, pyftpdlib and paramiko.
"""
import base64
import http.server
import json
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time

REQUEST_TIMEOUT = 15     # seconds a connection may idle before the server drops it
MAX_STALL = 10           # an upper bound for /stall, whatever the test asks
PROGRAM_TIMEOUT = 880    # CTest's own limit is 900
PATTERN = bytes(i % 251 for i in range(251 * 4096))


def pattern_bytes(count):
    """Byte i is i % 251, for any count (in blocks, so 64 MB costs no more than a copy)."""
    whole, rest = divmod(count, len(PATTERN))
    return PATTERN * whole + PATTERN[:rest]


def run_openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)


def make_certificates(folder):
    """CA, a server certificate it signs, and a self-signed one; returns their paths."""
    ext = os.path.join(folder, "server.ext")
    with open(ext, "w") as f:
        f.write("subjectAltName=DNS:127.0.0.1,IP:127.0.0.1\n"
                "basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
                "extendedKeyUsage=serverAuth\n")
    run_openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "2",
                "-keyout", "ca.key", "-out", "ca.pem", "-subj", "/CN=Updater Test CA",
                "-addext", "basicConstraints=critical,CA:TRUE",
                "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=folder)
    run_openssl("x509", "-in", "ca.pem", "-outform", "DER", "-out", "ca.der", cwd=folder)
    run_openssl("req", "-newkey", "rsa:2048", "-nodes", "-sha256", "-keyout", "server.key",
                "-out", "server.csr", "-subj", "/CN=127.0.0.1", cwd=folder)
    run_openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                "-CAcreateserial", "-days", "2", "-sha256", "-extfile", ext, "-out", "server.pem",
                cwd=folder)
    run_openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "2",
                "-keyout", "self.key", "-out", "self.pem", "-subj", "/CN=127.0.0.1",
                "-addext", "subjectAltName=DNS:127.0.0.1,IP:127.0.0.1", cwd=folder)
    return {name: os.path.join(folder, name) for name in
            ("ca.pem", "ca.key", "ca.der", "server.pem", "server.key", "self.pem", "self.key")}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    timeout = REQUEST_TIMEOUT
    docroot = "."

    def log_message(self, format, *args):  # quiet: the test output is what matters
        if os.environ.get("ATGEN_SERVER_LOG"):
            sys.stderr.write("server: " + format % args + "\n")

    def send_body(self, body, status=200, length=None, extra=()):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body) if length is None else length))
        for name, value in extra:
            self.send_header(name, value)
        if self.server.one_request_per_connection:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        if self.command != "HEAD":
            # In pieces: the socket's time-out bounds each write, and a slow reader of a
            # large body (the bench's) would otherwise be cut off.
            for at in range(0, len(body), 1 << 20):
                self.wfile.write(body[at:at + (1 << 20)])

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        path = self.path.split("?", 1)[0]
        parts = [p for p in path.split("/") if p]
        try:
            self.route(parts)
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError, socket.timeout):
            self.close_connection = True

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else b""
        if self.path == "/echo":
            content_type = (self.headers.get("Content-Type") or "").encode()
            self.send_body(content_type + b"|" + body)
        else:
            self.send_body(b"", status=404)

    def route(self, parts):
        kind = parts[0] if parts else ""
        if kind == "bytes" and len(parts) == 2:
            self.send_body(pattern_bytes(int(parts[1])))
        elif kind == "short" and len(parts) == 3:
            self.send_body(pattern_bytes(int(parts[2])), length=int(parts[1]))
            self.close_connection = True
        elif kind == "nolength" and len(parts) == 2:
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(pattern_bytes(int(parts[1])))
            self.close_connection = True
        elif kind == "status" and len(parts) == 2:
            self.send_body(b"", status=int(parts[1]))
        elif kind == "auth" and len(parts) == 4:
            wanted = "Basic " + base64.b64encode(f"{parts[1]}:{parts[2]}".encode()).decode()
            if self.headers.get("Authorization") == wanted:
                self.send_body(pattern_bytes(int(parts[3])))
            else:
                self.send_body(b"", status=401, extra=[("WWW-Authenticate", 'Basic realm="updates"')])
        elif kind == "stall" and len(parts) == 2:
            self.send_body(pattern_bytes(4096), length=100000)
            self.wfile.flush()
            time.sleep(min(float(parts[1]), MAX_STALL))
            self.close_connection = True
        elif kind == "slow" and len(parts) == 3:
            body = pattern_bytes(int(parts[1]))
            pause = min(int(parts[2]), 1000) / 1000.0
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            deadline = time.monotonic() + MAX_STALL
            for at in range(0, len(body), 4096):
                self.wfile.write(body[at:at + 4096])
                self.wfile.flush()
                if time.monotonic() > deadline:
                    break
                time.sleep(pause)
            self.close_connection = True
        elif kind == "drip" and len(parts) == 2:
            pause = min(int(parts[1]), 3000) / 1000.0
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", "100000")
            self.end_headers()
            self.wfile.flush()
            deadline = time.monotonic() + MAX_STALL
            while time.monotonic() < deadline:
                time.sleep(pause)
                self.wfile.write(b"x")
                self.wfile.flush()
            self.close_connection = True
        elif kind == "redirect" and len(parts) >= 4:
            if parts[2] == "relative":
                location = "/" + "/".join(parts[3:])
            else:
                location = f"{parts[2]}://127.0.0.1:{parts[3]}/" + "/".join(parts[4:])
            self.send_body(b"", status=int(parts[1]), extra=[("Location", location)])
        elif kind == "files" and len(parts) >= 2:
            name = os.path.normpath(os.path.join(self.docroot, *parts[1:]))
            if not name.startswith(os.path.normpath(self.docroot)) or not os.path.isfile(name):
                self.send_body(b"", status=404)
                return
            with open(name, "rb") as f:
                body = f.read()
            port = str(self.server.server_address[1]).encode()
            self.send_body(body.replace(b"@PORT@", port))
        else:
            self.send_body(b"", status=404)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, one_request_per_connection=False, port=0):
        super().__init__(("127.0.0.1", port), Handler)
        self.one_request_per_connection = one_request_per_connection

    def use_tls(self, context):
        self.socket = context.wrap_socket(self.socket, server_side=True, do_handshake_on_connect=False)

    def get_request(self):
        connection, address = super().get_request()
        connection.settimeout(REQUEST_TIMEOUT)
        return connection, address


class ProxyHandler(http.server.BaseHTTPRequestHandler):
    """Passes GETs to the plain server once they carry the proxy credentials."""
    protocol_version = "HTTP/1.1"
    timeout = REQUEST_TIMEOUT
    wanted = "Basic " + base64.b64encode(b"pu:pp").decode()
    log_name = ""
    target_port = 0

    def log_message(self, format, *args):
        Handler.log_message(self, format, *args)

    def do_GET(self):
        given = self.headers.get("Proxy-Authorization")
        with open(self.log_name, "a") as log:
            log.write((given or "-") + "\n")
        if given != self.wanted:
            self.send_response(407)
            self.send_header("Proxy-Authenticate", 'Basic realm="proxy"')
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        path = self.path
        if "://" in path:
            path = "/" + path.split("://", 1)[1].split("/", 1)[1]
        upstream = socket.create_connection(("127.0.0.1", self.target_port), timeout=REQUEST_TIMEOUT)
        with upstream:
            upstream.sendall(f"GET {path} HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n".encode())
            answer = b""
            while chunk := upstream.recv(65536):
                answer += chunk
        head, _, body = answer.partition(b"\r\n\r\n")
        status = int(head.split(b" ", 2)[1])
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def serve_ftp(root, log_name):
    """Runs an FTP server on a free loopback port for user u/p; prints the port, serves
    until stdin closes."""
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import ThreadedFTPServer
    import logging

    class LoggingHandler(FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            with open(log_name, "a") as log:
                log.write(line + "\n")
            return super().pre_process_command(line, cmd, arg)

    authorizer = DummyAuthorizer()
    authorizer.add_user("u", "p", root, perm="elr")
    LoggingHandler.authorizer = authorizer
    LoggingHandler.timeout = REQUEST_TIMEOUT * 4
    LoggingHandler.banner = "loopback ftp ready"
    logging.basicConfig(level=logging.INFO if os.environ.get("ATGEN_SERVER_LOG") else logging.ERROR)
    server = ThreadedFTPServer(("127.0.0.1", 0), LoggingHandler)
    threading.Thread(target=server.serve_forever, kwargs={"timeout": 0.2}, daemon=True).start()
    print(server.address[1], flush=True)
    sys.stdin.read()
    return 0


def serve_sftp(root, log_name):
    """Runs an SFTP server on a free loopback port for user u/p; prints the port, serves
    until stdin closes."""
    import logging
    import paramiko

    lock = threading.Lock()

    def log(line):
        with lock, open(log_name, "a", encoding="utf-8") as f:
            f.write(line + "\n")

    class DisconnectLog(logging.Handler):
        def emit(self, record):
            text = record.getMessage()
            if text.startswith("Disconnect (code "):
                code, _, desc = text[len("Disconnect (code "):].partition("): ")
                log(f"disconnect {code} {desc}")

    transport_log = logging.getLogger("paramiko.transport")
    transport_log.setLevel(logging.INFO)
    transport_log.addHandler(DisconnectLog())
    host_key = paramiko.RSAKey.generate(2048)

    class Login(paramiko.ServerInterface):
        def __init__(self, transport):
            self.transport = transport

        def get_allowed_auths(self, username):
            # paramiko hangs up after ten refused passwords; the tests count every try a
            # client makes, so the count of refusals starts again each time.
            handler = getattr(self.transport, "auth_handler", None)
            if handler is not None:
                handler.auth_fail_count = 0
            return "password"

        def check_auth_password(self, username, password):
            log("auth " + username)
            if (username, password) == ("u", "p"):
                return paramiko.AUTH_SUCCESSFUL
            return paramiko.AUTH_FAILED

        def check_channel_request(self, kind, chanid):
            return paramiko.OPEN_SUCCEEDED if kind == "session" else \
                paramiko.OPEN_FAILED_ADMINISTRATIVELY_PROHIBITED

    class Folder(paramiko.SFTPServerInterface):
        """Read-only SFTP over `root`; a path never leaves it."""
        def local(self, path):
            name = os.path.normpath(os.path.join(root, path.lstrip("/")))
            return name if name == root or name.startswith(root + os.sep) else None

        def stat(self, path):
            log("stat " + path)
            name = self.local(path)
            try:
                return paramiko.SFTPAttributes.from_stat(os.stat(name)) if name else paramiko.SFTP_NO_SUCH_FILE
            except OSError as error:
                return paramiko.SFTPServer.convert_errno(error.errno)

        lstat = stat

        def list_folder(self, path):
            log("opendir " + path)
            name = self.local(path)
            if not name or not os.path.isdir(name):
                return paramiko.SFTP_NO_SUCH_FILE
            return [paramiko.SFTPAttributes.from_stat(os.stat(os.path.join(name, entry)), entry)
                    for entry in os.listdir(name)]

        def open(self, path, flags, attr):
            log("open " + path)
            name = self.local(path)
            if not name or flags & (os.O_WRONLY | os.O_RDWR) or not os.path.isfile(name):
                return paramiko.SFTP_NO_SUCH_FILE if not flags & (os.O_WRONLY | os.O_RDWR) else \
                    paramiko.SFTP_PERMISSION_DENIED
            handle = paramiko.SFTPHandle(flags)
            handle.readfile = open(name, "rb")
            handle.filename = name
            return handle

    def serve(connection):
        transport = paramiko.Transport(connection)
        transport.add_server_key(host_key)
        transport.set_subsystem_handler("sftp", paramiko.SFTPServer, Folder)
        try:
            transport.start_server(server=Login(transport))
        except (paramiko.SSHException, EOFError, OSError):
            transport.close()

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)

    def accept():
        while True:
            connection, _ = listener.accept()
            threading.Thread(target=serve, args=(connection,), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()
    print(listener.getsockname()[1], flush=True)
    sys.stdin.read()
    return 0


def start_child(kind, root, log_name, module):
    """A server as a child process (its library is the system's package, and "python3"
    on the path may be another installation); returns the process and its port."""
    python = sys.executable
    if subprocess.run([python, "-c", "import " + module], stdout=subprocess.DEVNULL,
                      stderr=subprocess.DEVNULL).returncode != 0:
        python = "/usr/bin/python3"
    child = subprocess.Popen([python, os.path.abspath(__file__), kind, root, log_name],
                             stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    line = child.stdout.readline()
    if not line.strip():
        child.kill()
        raise RuntimeError(f"the {kind[2:]} server did not start (is {module} installed?)")
    return child, int(line)


def tls_context(cert, key):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def windows_path(path):
    """Wine shows the Linux root as drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    work = tempfile.mkdtemp(prefix="atgen-updater-")
    servers = []
    children = []
    try:
        docroot = os.path.join(work, "docroot")
        os.makedirs(docroot)
        Handler.docroot = docroot
        # Every request to the self-signed server shakes hands anew: a kept connection that
        # one request let through unchecked would let the next through unchecked as well.
        plain, trusted, selfsigned = Server(), Server(), Server(one_request_per_connection=True)
        servers = [plain, trusted, selfsigned]
        try:
            servers.append(Server(port=80))
        except OSError:
            pass   # taken, or not ours to take: the post tests skip themselves
        certs = make_certificates(work)
        trusted.use_tls(tls_context(certs["server.pem"], certs["server.key"]))
        selfsigned.use_tls(tls_context(certs["self.pem"], certs["self.key"]))
        proxy = http.server.ThreadingHTTPServer(("127.0.0.1", 0), ProxyHandler)
        proxy.daemon_threads = True
        ProxyHandler.log_name = os.path.join(work, "proxy.log")
        ProxyHandler.target_port = plain.server_address[1]
        servers.append(proxy)
        for server in servers:
            threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.2},
                             daemon=True).start()
        ftproot = os.path.join(work, "ftproot")
        os.makedirs(ftproot)
        ftp_log = os.path.join(work, "ftp.log")
        ftp, ftp_port = start_child("--ftp", ftproot, ftp_log, "pyftpdlib.handlers")
        children.append(ftp)
        sftproot = os.path.join(work, "sftproot")
        os.makedirs(sftproot)
        sftp_log = os.path.join(work, "sftp.log")
        sftp, sftp_port = start_child("--sftp", sftproot, sftp_log, "paramiko")
        children.append(sftp)
        info = {
            "http": plain.server_address[1],
            "https": trusted.server_address[1],
            "https_selfsigned": selfsigned.server_address[1],
            "ca_der": windows_path(certs["ca.der"]),
            "docroot": windows_path(docroot),
            "port80": 1 if len(servers) > 4 else 0,
            "ftp": ftp_port,
            "ftproot": windows_path(ftproot),
            "ftplog": windows_path(ftp_log),
            "sftp": sftp_port,
            "sftproot": windows_path(sftproot),
            "sftplog": windows_path(sftp_log),
            "proxy": proxy.server_address[1],
            "proxylog": windows_path(ProxyHandler.log_name),
        }
        info_file = os.path.join(work, "servers.json")
        with open(info_file, "w") as f:
            json.dump(info, f)
        env = dict(os.environ, ATGEN_UPDATER_SERVERS=windows_path(info_file))
        try:
            return subprocess.run(argv[1:], env=env, timeout=PROGRAM_TIMEOUT).returncode
        except subprocess.TimeoutExpired:
            print("loopback_servers: the program ran too long and was stopped", file=sys.stderr)
            return 1
    finally:
        for child in children:
            child.stdin.close()
            try:
                child.wait(timeout=5)
            except subprocess.TimeoutExpired:
                child.kill()
        for server in servers:
            server.shutdown()
            server.server_close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--ftp":
        sys.exit(serve_ftp(sys.argv[2], sys.argv[3]))
    if len(sys.argv) == 4 and sys.argv[1] == "--sftp":
        sys.exit(serve_sftp(os.path.abspath(sys.argv[2]), sys.argv[3]))
    sys.exit(main(sys.argv))
