#!/usr/bin/env python3
"""The program's update from end to end, as a user meets it, under Wine on an X display.

    update_e2e.py BUILD_DIR [--shots FOLDER] [--timings] WINE [WINE ARGUMENTS...]

BUILD_DIR is one architecture's build folder (app/AtCmdGen.exe 1.0.0.4, app/AtCmdGenNext.exe
1.0.0.5, tests/e2e_driver.exe); WINE the command that runs a Windows program there, with
WINEPREFIX and DISPLAY set and a wineserver of that prefix running beside it. Each case
copies AtCmdGen.exe into a new install folder with a blank in its name, serves a control
file on a loopback HTTP server of its own, starts the program with ATGEN_UPDATE_URL naming
it and closes what it started through its windows:
    server down     the status panel says the check failed; nothing is fetched, nothing changes
    same version    the server sees the check; panel 1 shows another text; nothing changes
    newer version   a press on panel 1 opens the wizard, Enter goes through its pages, the
                    program ends, the restart program puts AtCmdGenNext.exe in its place byte
                    for byte and starts it, and the server sees the new program's check
--shots FOLDER keeps a screenshot of each step there (ImageMagick's import); --timings
instead measures how long the starting window does not answer while the server is down and
while it accepts but never answers, and prints the figures.
Exits 0 when every case passed, 1 otherwise; what failed is printed.
"""
import http.server
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

MAIN = "AT Command Generator"
WIZARD = "AT Command Generator Updater"
STATUS_HEIGHT = 24     # the status bar's height (96 pixels per inch)
PANEL0_WIDTH = 200     # panel 1 starts where panel 0 ends
WINDOW_WAIT = 60       # seconds a window may take to appear or go


class Failure(Exception):
    pass


def windows_path(path):
    """Wine shows the Linux root as drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class UpdateServer:
    """Serves the control file, the new program and its notes; remembers every request."""

    def __init__(self, next_program):
        self.control = b""
        self.requests = []
        self.lock = threading.Lock()
        with open(next_program, "rb") as f:
            self.next_bytes = f.read()
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, format, *args):
                pass

            def do_GET(self):
                path = self.path.split("?", 1)[0]
                with owner.lock:
                    owner.requests.append(path)
                body = {"/AtCmdGen.inf": owner.control, "/next/AtCmdGen.exe": owner.next_bytes,
                        "/whatsnew.txt": b"Version 1.0.5\r\n- the update arrives through the wizard\r\n"}.get(path)
                self.send_response(200 if body is not None else 404)
                self.send_header("Content-Type", "application/octet-stream")
                self.send_header("Content-Length", str(len(body or b"")))
                self.end_headers()
                self.wfile.write(body or b"")

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        self.port = self.server.server_address[1]
        self.url = f"http://127.0.0.1:{self.port}/AtCmdGen.inf"
        threading.Thread(target=self.server.serve_forever, kwargs={"poll_interval": 0.2}, daemon=True).start()

    def offer(self, version, with_files):
        base = f"http://127.0.0.1:{self.port}"
        text = f"[update]\nsignature=WebUpdate\nnewversion={version}\nlocalversion={{APP}}\\AtCmdGen.exe\n"
        if with_files:
            # The file's name in the address is the name it is installed under.
            text += (f"[whatsnew]\nfile={base}/whatsnew.txt\n[files]\ncount=1\n[file1]\ndescr=AT Command Generator 1.0.5\nurl={base}/next/AtCmdGen.exe\n"
                     "[application]\nappupdate=1\nappname=AtCmdGen.exe\nappcomps=AtCmdGen.exe\n")
        self.control = text.replace("\n", "\r\n").encode()
        with self.lock:
            self.requests.clear()

    def count(self, path):
        with self.lock:
            return self.requests.count(path)

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Session:
    def __init__(self, build, wine, shots):
        self.build = build
        self.wine = wine
        self.shots = shots
        self.shot_number = 0
        self.driver = os.path.join(build, "tests", "e2e_driver.exe")
        self.program = os.path.join(build, "app", "AtCmdGen.exe")
        self.next_program = os.path.join(build, "app", "AtCmdGenNext.exe")
        self.started = []

    def drive(self, *args, timeout=WINDOW_WAIT + 30):
        done = subprocess.run([*self.wine, self.driver, *map(str, args)], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=timeout)
        return done.returncode, done.stdout.decode(errors="replace").strip()

    def wait_window(self, caption, seconds=WINDOW_WAIT):
        code, _ = self.drive("wait", caption, seconds)
        if code != 0:
            raise Failure(f'no window "{caption}" within {seconds} s')

    def hash(self, caption, x, y, width, height):
        code, out = self.drive("hash", caption, x, y, width, height)
        return out if code == 0 else None

    def client(self, caption):
        code, out = self.drive("rect", caption)
        if code != 0:
            raise Failure(f'no window "{caption}" to measure')
        return [int(n) for n in out.split()]

    def settled(self, caption, before=None, seconds=20):
        """Waits until the window's picture differs from BEFORE and stays the same for a moment."""
        width, height = self.client(caption)[2:]
        end = time.monotonic() + seconds
        last = None
        while time.monotonic() < end:
            now = self.hash(caption, 0, 0, width, height)
            if now is not None and now != before and now == last:
                return now
            last = now
            time.sleep(0.3)
        raise Failure(f'the window "{caption}" did not change and settle within {seconds} s')

    def panel1(self):
        """A hash of what the status bar shows right of panel 0."""
        width = self.client(MAIN)[2]
        return self.hash(MAIN, PANEL0_WIDTH, -STATUS_HEIGHT, width - PANEL0_WIDTH, STATUS_HEIGHT)

    def steady_panel1(self, seconds=20):
        end = time.monotonic() + seconds
        last = None
        while time.monotonic() < end:
            now = self.panel1()
            if now is not None and now == last:
                return now
            last = now
            time.sleep(0.4)
        raise Failure("the status bar did not settle")

    def shot(self, name):
        if not self.shots:
            return
        self.shot_number += 1
        target = os.path.join(self.shots, f"{self.shot_number:02d}-{name}.png")
        subprocess.run(["import", "-window", "root", target], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        print(f"  screenshot {target}")

    def start(self, folder, url):
        self.xdotool("mousemove", 0, 0)   # off the window: no panel is drawn hot
        env = dict(os.environ, ATGEN_UPDATE_URL=url)
        process = subprocess.Popen([*self.wine, windows_path(os.path.join(folder, "AtCmdGen.exe"))], cwd=folder,
                                   env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.started.append(process)
        self.wait_window(MAIN)
        return process

    def close_main(self):
        code, _ = self.drive("close", MAIN, WINDOW_WAIT)
        if code != 0:
            raise Failure("the main window did not close")

    def install(self, work, name):
        folder = os.path.join(work, name, "in stall")
        os.makedirs(folder)
        shutil.copyfile(self.program, os.path.join(folder, "AtCmdGen.exe"))
        return folder

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True, timeout=30, stdout=subprocess.PIPE)

    def press_enter(self, caption):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{caption}$"],
                               stdout=subprocess.PIPE, timeout=30).stdout.split()
        if not found:
            raise Failure(f'no X window "{caption}" for the key')
        # Without a window manager only the input focus can be set, which is all a key needs.
        self.xdotool("windowfocus", "--sync", found[0].decode())
        self.xdotool("key", "Return")

    def click_panel1(self):
        left, top, width, height = self.client(MAIN)
        self.xdotool("mousemove", "--sync", left + PANEL0_WIDTH + 20, top + height - STATUS_HEIGHT // 2)
        self.xdotool("click", "1")


def same_bytes(one, other):
    with open(one, "rb") as a, open(other, "rb") as b:
        return a.read() == b.read()


def wait_until(condition, seconds, what):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.2)
    raise Failure(f"{what} within {seconds} s")


def unused_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def case_server_down(session, server, work, panels):
    folder = session.install(work, "down")
    server.offer("1.0.0.5", True)
    session.start(folder, f"http://127.0.0.1:{unused_port()}/AtCmdGen.inf")
    time.sleep(3)   # the check runs a second after the start and fails at once
    panels["failed"] = session.steady_panel1()
    session.shot("server-down-check-failed")
    session.close_main()
    if server.requests:
        raise Failure(f"the server was asked: {server.requests}")
    if not same_bytes(os.path.join(folder, "AtCmdGen.exe"), session.program):
        raise Failure("the installed program changed")


def case_same_version(session, server, work, panels):
    folder = session.install(work, "same")
    server.offer("1.0.0.4", True)
    session.start(folder, server.url)
    wait_until(lambda: server.count("/AtCmdGen.inf") >= 1, 30, "no check reached the server")
    time.sleep(1)
    panels["current 1.0.4"] = session.steady_panel1()
    session.shot("same-version-current")
    time.sleep(2)
    session.close_main()
    if server.count("/next/AtCmdGen.exe"):
        raise Failure("the new program was fetched")
    if not same_bytes(os.path.join(folder, "AtCmdGen.exe"), session.program):
        raise Failure("the installed program changed")


def case_newer_version(session, server, work, panels):
    folder = session.install(work, "newer")
    installed = os.path.join(folder, "AtCmdGen.exe")
    server.offer("1.0.0.5", True)
    first = session.start(folder, server.url)
    session.shot("main-window")
    wait_until(lambda: server.count("/AtCmdGen.inf") >= 1, 30, "no check reached the server")
    time.sleep(1)
    panels["notice"] = session.panel1()   # it blinks: any moment of it will do
    session.shot("newer-notice")

    session.click_panel1()
    session.wait_window(WIZARD)
    # The wizard starts on its own: it fetches the control file again and shows the versions.
    wait_until(lambda: server.count("/AtCmdGen.inf") >= 2, 30, "the wizard did not fetch the control file")
    page = session.settled(WIZARD)
    session.shot("wizard-versions")
    pages = [("wizard-whats-new", None), ("wizard-files", None), ("wizard-restart", "/next/AtCmdGen.exe")]
    for name, fetched in pages:
        session.press_enter(WIZARD)
        if fetched:
            wait_until(lambda: server.count(fetched) >= 1, 60, f"{fetched} was not fetched")
        page = session.settled(WIZARD, page, seconds=60)
        session.shot(name)
    checks = server.count("/AtCmdGen.inf")
    session.press_enter(WIZARD)

    # The program ends, the restart program installs the update and starts it again.
    try:
        first.wait(timeout=WINDOW_WAIT)
    except subprocess.TimeoutExpired:
        raise Failure("the program did not end after the restart button")
    wait_until(lambda: same_bytes(installed, session.next_program), WINDOW_WAIT,
               "the installed AtCmdGen.exe did not become AtCmdGenNext.exe")
    session.wait_window(MAIN)
    wait_until(lambda: server.count("/AtCmdGen.inf") > checks, 30, "the restarted program did not check")
    time.sleep(1)
    panels["current 1.0.5"] = session.steady_panel1()
    session.shot("restarted-current")
    session.close_main()
    if not same_bytes(installed, session.next_program):
        raise Failure("the installed program is not AtCmdGenNext.exe")


def run_cases(session):
    work = tempfile.mkdtemp(prefix="atgen-e2e-")
    server = UpdateServer(session.next_program)
    panels = {}
    failed = []
    try:
        for name, case in [("server down", case_server_down), ("same version", case_same_version),
                           ("newer version", case_newer_version)]:
            print(f"update_e2e: {name}")
            try:
                case(session, server, work, panels)
                print(f"update_e2e: {name}: passed")
            except (Failure, subprocess.TimeoutExpired) as error:
                print(f"update_e2e: {name}: FAILED: {error}")
                failed.append(name)
                session.drive("close", WIZARD, 10)
                session.drive("close", MAIN, 10)
        # Each state the status bar showed is its own picture.
        shown = [(name, value) for name, value in panels.items() if value]
        for i, (name, value) in enumerate(shown):
            for other, other_value in shown[i + 1:]:
                if value == other_value:
                    print(f"update_e2e: the status bar looks the same for {name} and {other}")
                    failed.append("distinct panel texts")
    finally:
        server.close()
        for process in session.started:
            if process.poll() is None:
                process.kill()
        shutil.rmtree(work, ignore_errors=True)
    print("update_e2e: " + ("FAILED: " + ", ".join(failed) if failed else "all cases passed"))
    return 1 if failed else 0


def run_timings(session):
    """How long the window does not answer while the check waits for the server."""
    work = tempfile.mkdtemp(prefix="atgen-e2e-")
    stalled = socket.socket()
    stalled.bind(("127.0.0.1", 0))
    stalled.listen(16)   # the system accepts the connections; nobody ever answers them
    accepted = []
    threading.Thread(target=lambda: [accepted.append(stalled.accept()) for _ in range(16)], daemon=True).start()
    try:
        for name, url, seconds in [
                ("server down (connection refused)", f"http://127.0.0.1:{unused_port()}/AtCmdGen.inf", 20),
                ("stalled server (accepts, never answers)",
                 f"http://127.0.0.1:{stalled.getsockname()[1]}/AtCmdGen.inf", 300)]:
            folder = session.install(work, str(len(os.listdir(work))))
            env = dict(os.environ, ATGEN_UPDATE_URL=url)
            done = subprocess.run([*session.wine, session.driver, "probe", str(seconds), MAIN,
                                   windows_path(os.path.join(folder, "AtCmdGen.exe"))],
                                  env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=seconds + 120)
            print(f"update_e2e: {name}: {done.stdout.decode(errors='replace').strip()}")
    finally:
        stalled.close()
        shutil.rmtree(work, ignore_errors=True)
    return 0


def main(argv):
    args = argv[1:]
    if not args:
        print(__doc__, file=sys.stderr)
        return 2
    build = args.pop(0)
    shots = None
    timings = False
    while args and args[0].startswith("--"):
        option = args.pop(0)
        if option == "--shots":
            shots = os.path.abspath(args.pop(0))
            os.makedirs(shots, exist_ok=True)
        elif option == "--timings":
            timings = True
        else:
            print(f"update_e2e: unknown option {option}", file=sys.stderr)
            return 2
    if not args:
        print(__doc__, file=sys.stderr)
        return 2
    session = Session(os.path.abspath(build), args, shots)
    for name in (session.program, session.next_program, session.driver):
        if not os.path.isfile(name):
            print(f"update_e2e: {name} is missing: build it first", file=sys.stderr)
            return 2
    return run_timings(session) if timings else run_cases(session)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
