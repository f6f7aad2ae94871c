"""Drives the dictionary in a real X session: a private Xvfb, the program started in a program
folder of its own, xdotool for keys and clicks, xclip for the clipboard, xwd for pictures.

Every wait is a bounded poll; every process started here is ended by its id when the session
ends, whatever way it ends."""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

MAIN_CAPTION = "青禾英语词典 (英汉-汉英 双解词典)"
APP_TITLE = "青禾英语词典"

# Positions in the main window's client area (the window layout, 96 dpi).
EDIT1 = (100, 132)
ESO = (408, 54)
BUTTON1 = (576, 53)
MODES = {"r1": (50, 41), "r2": (122, 41), "r3": (122, 69), "r4": (50, 69)}
SPEAK = (429, 102)
COPY = (452, 102)
VIEW = (440, 300)
GRID = (16, 146)  # top-left of the result grid
LABEL3 = (560, 534)
LABEL5 = (380, 14)


# QMessageBox's icons by the caption of the dialog type (the error box has the title).
ICONS = {"提示": 1, "警告": 2, "确认": 4, APP_TITLE: 3}


def _die_with_parent():
    # Should the driver itself be killed (a test timeout), what it started goes with it.
    import ctypes
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


class Failure(Exception):
    pass


def log(*parts):
    print("e2e:", *parts, flush=True)


class Session:
    """One X display with the processes started on it."""

    def __init__(self, name, build):
        self.name = name
        self.build = build
        self.tmp = tempfile.mkdtemp(prefix="qinghe-e2e-%s-" % name)
        self.procs = []
        self.display = None
        self.env = None
        self._old_term = signal.signal(signal.SIGTERM, self._on_term)

    def _on_term(self, signum, frame):
        raise SystemExit("e2e: stopped by signal %d" % signum)

    # -- processes -------------------------------------------------------------------------
    def start(self, argv, **kw):
        kw.setdefault("env", self.env)
        kw.setdefault("stdin", subprocess.DEVNULL)
        kw.setdefault("preexec_fn", _die_with_parent)
        proc = subprocess.Popen(argv, **kw)
        self.procs.append(proc)
        return proc

    def stop(self, proc):
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(3)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait(3)

    def close(self):
        for proc in reversed(self.procs):
            self.stop(proc)
        self.procs = []
        signal.signal(signal.SIGTERM, self._old_term)
        shutil.rmtree(self.tmp, ignore_errors=True)

    def __enter__(self):
        r, w = os.pipe()
        xvfb = self.start(["Xvfb", "-displayfd", str(w), "-screen", "0", "1024x768x24",
                           "-nolisten", "tcp", "-noreset"], pass_fds=(w,),
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=os.environ)
        os.close(w)
        number = b""
        deadline = time.monotonic() + 10
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline or xvfb.poll() is not None:
                raise Failure("Xvfb did not start")
            chunk = os.read(r, 16)
            if not chunk:
                break
            number += chunk
        os.close(r)
        self.display = ":" + number.decode().strip()
        home = os.path.join(self.tmp, "home")
        runtime = os.path.join(self.tmp, "run")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        self.env = dict(os.environ, DISPLAY=self.display, HOME=home, XDG_RUNTIME_DIR=runtime,
                        QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8", LANG="C.UTF-8")
        for key in ("QT_PLUGIN_PATH", "WAYLAND_DISPLAY", "SESSION_MANAGER", "DBUS_SESSION_BUS_ADDRESS"):
            self.env.pop(key, None)
        log(self.name, "on display", self.display)
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    # -- tools -----------------------------------------------------------------------------
    def tool(self, *argv, check=True, timeout=10):
        done = subprocess.run(argv, env=self.env, capture_output=True, timeout=timeout,
                              stdin=subprocess.DEVNULL)
        if check and done.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(argv), done.stderr.decode(errors="replace")))
        return done.stdout.decode(errors="replace")

    def xdo(self, *args, check=True):
        return self.tool("xdotool", *[str(a) for a in args], check=check)

    def keymap(self, text):
        """Gives every character of text outside the keyboard a key of its own. xdotool would
        remap one spare key for each such character as it types, and a program still busy
        when the key is remapped again reads the wrong character or none."""
        free = [int(line.split()[1]) for line in self.tool("xmodmap", "-pke").splitlines()
                if line.strip().endswith("=")]
        wanted = sorted({c for c in text if ord(c) > 0x7E})
        if len(wanted) >= len(free):
            raise Failure("not enough spare keys for %r" % wanted)
        # xdotool keeps the last spare key for itself.
        for code, char in zip(free, wanted):
            keysym = "U%04X" % ord(char)
            self.tool("xmodmap", "-e", "keycode %d = %s %s" % (code, keysym, keysym))

    # -- program folders -------------------------------------------------------------------
    def program_folder(self, name, with_html=True):
        """A portable program folder: the program, the sample dictionary and html/."""
        folder = os.path.join(self.tmp, name)
        cached = os.path.join(self.tmp, ".dictionary")
        if not os.path.isdir(cached):
            self.tool(self.build.builder, self.build.sample, cached, timeout=60)
        shutil.copytree(cached, folder)
        shutil.copy2(self.build.app, folder)
        if not with_html:
            shutil.rmtree(os.path.join(folder, "html"))
        return folder

    def query(self, folder, statement, key=True):
        """Rows of a statement on a store, each a list of column texts."""
        argv = [self.build.query] + (["--key"] if key else []) + [
            os.path.join(folder, "enci.edt" if key else "enci.dbf"), statement]
        out = self.tool(*argv)
        return [line.split("\t") for line in out.split("\n") if line]

    # -- the program -----------------------------------------------------------------------
    def launch(self, folder, extra_env=None, prefix=None):
        """Starts the program in its folder as a user would: ./qinghe-dict from there. A
        prefix runs it through another command that ends by executing it."""
        env = dict(self.env, **(extra_env or {}))
        run = len(self.procs)
        log_path = os.path.join(self.tmp, "program-%d.log" % run)
        boxes_path = os.path.join(self.tmp, "boxes-%d.jsonl" % run)
        env["QINGHE_E2E_BOXES"] = boxes_path
        # A prefix command hands the probe on to the program itself as it executes it
        # (LD_PRELOAD="$QINGHE_E2E_PROBE"), so the commands before it run without.
        env["QINGHE_E2E_PROBE"] = self.build.probe
        if not prefix:
            env["LD_PRELOAD"] = self.build.probe
        # The probe comes before the sanitizer runtime in a sanitizer build.
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"),
                                                      "verify_asan_link_order=0"]))
        out = open(log_path, "wb")
        proc = self.start((prefix or []) + ["./qinghe-dict"], cwd=folder, env=env, stdout=out,
                          stderr=subprocess.STDOUT)
        out.close()
        return Program(self, proc, folder, log_path, boxes_path)

    # -- waiting ---------------------------------------------------------------------------
    def wait(self, what, probe, timeout=10, interval=0.05):
        deadline = time.monotonic() + timeout
        while True:
            value = probe()
            if value:
                return value
            if time.monotonic() > deadline:
                raise Failure("timed out waiting for " + what)
            time.sleep(interval)

    # -- clipboard and pictures ------------------------------------------------------------
    def clipboard(self, target="UTF8_STRING"):
        done = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", target],
                              env=self.env, capture_output=True, timeout=5,
                              stdin=subprocess.DEVNULL)
        return done.stdout.decode(errors="replace") if done.returncode == 0 else None

    def screenshot(self, wid, path):
        raw = self.tool("xwd", "-silent", "-id", str(wid), "-out", path + ".xwd")
        del raw
        xwd_to_png(path + ".xwd", path)
        os.remove(path + ".xwd")


class Program:
    """One run of the dictionary and its windows."""

    def __init__(self, session, proc, folder, log_path, boxes_path):
        self.s = session
        self.proc = proc
        self.folder = folder
        self.log_path = log_path
        self.boxes_path = boxes_path
        self.boxes_seen = 0

    def shown_boxes(self):
        """Every message box shown so far, as the probe reported it."""
        if not os.path.exists(self.boxes_path):
            return []
        with open(self.boxes_path, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.endswith("\n")]

    def alive(self):
        return self.proc.poll() is None

    def output(self):
        with open(self.log_path, "rb") as f:
            return f.read().decode(errors="replace")

    def check_alive(self, step):
        if not self.alive():
            raise Failure("the program ended (status %s) at: %s\n%s" % (
                self.proc.returncode, step, self.output()))
        report = sanitizer_report(self.output())
        if report:
            raise Failure("sanitizer report at: %s\n%s" % (step, report))

    def windows(self):
        """(id, caption) of every visible window of the program."""
        out = self.s.xdo("search", "--onlyvisible", "--pid", self.proc.pid, check=False)
        found = []
        for wid in out.split():
            name = self.s.xdo("getwindowname", wid, check=False).rstrip("\n")
            found.append((int(wid), name))
        return found

    def window(self, caption, timeout=10):
        def probe():
            self.check_alive("waiting for the window " + caption)
            for report in self.shown_boxes()[self.boxes_seen:]:
                if report["title"] != caption:
                    raise Failure('a box came instead of the window "%s": %r' % (caption, report))
            for wid, name in self.windows():
                if name == caption:
                    return wid
            return None
        return self.s.wait('the window "%s"' % caption, probe, timeout)

    def no_window(self, caption, within=0.5):
        """Fails if a window of that caption shows up within the time given."""
        deadline = time.monotonic() + within
        while time.monotonic() < deadline:
            for wid, name in self.windows():
                if name == caption:
                    raise Failure('unexpected window "%s"' % caption)
            time.sleep(0.05)

    def boxes(self):
        return [(wid, name) for wid, name in self.windows() if name != MAIN_CAPTION]

    def focus(self, wid):
        self.s.xdo("windowfocus", "--sync", wid, check=False)

    def click(self, wid, pos, button=1):
        self.check_alive("before a click")
        self.s.xdo("mousemove", "--window", wid, pos[0], pos[1], "click", button)

    def key(self, wid, *keys):
        self.focus(wid)
        self.s.xdo("key", "--clearmodifiers", *keys)

    def type(self, wid, text):
        self.focus(wid)
        self.s.xdo("type", "--delay", "20", text)

    def box(self, caption, timeout=10):
        """Waits for the next message box, on screen and reported; returns (id, report)."""
        wid = self.window(caption, timeout)

        def reported():
            boxes = self.shown_boxes()
            return boxes[self.boxes_seen] if len(boxes) > self.boxes_seen else None
        report = self.s.wait('the report of the box "%s"' % caption, reported, 5)
        self.boxes_seen += 1
        if report["title"] != caption:
            raise Failure("the box on screen is %r, the one reported %r" % (caption, report))
        return wid, report

    def close_box(self, wid, key):
        self.key(wid, key)
        self.s.wait("the box to close", lambda: all(w != wid for w, _ in self.windows()), 5)

    def answer(self, caption, expected_text, key="Return", timeout=10, icon=None,
               buttons=None):
        """Waits for a box, checks its text byte for byte (and icon and buttons where given)
        and closes it with a key."""
        wid, report = self.box(caption, timeout)
        expected_icon = icon if icon is not None else ICONS.get(caption)
        expected_buttons = buttons or (["是(&Y)", "否(&N)"] if caption == "确认" else ["确定"])
        if report["text"] != expected_text:
            raise Failure('box "%s" says %r, expected %r' % (caption, report["text"],
                                                           expected_text))
        if expected_icon is not None and report["icon"] != expected_icon:
            raise Failure('box "%s" has icon %r' % (caption, report["icon"]))
        if report["buttons"] != expected_buttons:
            raise Failure('box "%s" has buttons %r' % (caption, report["buttons"]))
        self.close_box(wid, key)
        return report

    def no_boxes(self, step):
        self.check_alive(step)
        extra = self.boxes()
        if extra:
            reports = self.shown_boxes()[self.boxes_seen:]
            raise Failure("unexpected window at %s: %r %r" % (step, extra, reports))

    def end(self):
        self.check_alive("the end of the run")
        self.s.stop(self.proc)


def sanitizer_report(output):
    for marker in ("ERROR: AddressSanitizer", "runtime error:", "ERROR: LeakSanitizer"):
        at = output.find(marker)
        if at >= 0:
            return output[max(0, at - 200):at + 3000]
    return None


def xwd_to_png(xwd_path, png_path):
    """A 24/32-bit TrueColor xwd dump (what Xvfb gives) as a PNG, standard library only."""
    import struct
    import zlib
    with open(xwd_path, "rb") as f:
        data = f.read()
    header = struct.unpack(">25I", data[:100])
    header_size, width, height = header[0], header[4], header[5]
    byte_order, bytes_per_line = header[7], header[12]
    red_mask, green_mask, blue_mask = header[14], header[15], header[16]
    ncolors = header[19]
    step = bytes_per_line // width if width else 0
    if step != 4:
        raise Failure("unexpected xwd layout: %d bytes a pixel" % step)
    pixels = data[header_size + 12 * ncolors:]
    order = "<" if byte_order == 0 else ">"

    def shift(mask):
        s = 0
        while mask and not mask & 1:
            mask >>= 1
            s += 1
        return s
    rs, gs, bs = shift(red_mask), shift(green_mask), shift(blue_mask)
    rows = []
    for y in range(height):
        line = pixels[y * bytes_per_line:y * bytes_per_line + 4 * width]
        row = bytearray(b"\0")
        for v in struct.unpack(order + "%dI" % width, line):
            row += bytes(((v & red_mask) >> rs, (v & green_mask) >> gs, (v & blue_mask) >> bs))
        rows.append(bytes(row))
    raw = zlib.compress(b"".join(rows), 9)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", raw) + chunk(b"IEND", b"")
    with open(png_path, "wb") as f:
        f.write(png)


class Build:
    """Where the programs under test are, from the command line."""

    def __init__(self, argv):
        import argparse
        p = argparse.ArgumentParser()
        p.add_argument("--app", required=True)
        p.add_argument("--probe", required=True)
        p.add_argument("--builder", required=True)
        p.add_argument("--query", required=True)
        p.add_argument("--sample", required=True)
        p.add_argument("--out", required=True, help="folder for screenshots")
        a = p.parse_args(argv)
        full = os.path.abspath
        self.app, self.probe = full(a.app), full(a.probe)
        self.builder, self.query = full(a.builder), full(a.query)
        self.sample, self.out = full(a.sample), full(a.out)
        os.makedirs(self.out, exist_ok=True)


def main(name, steps):
    """Runs steps(session) in a fresh session; prints the failure and exits 1 on any."""
    start = time.monotonic()
    build = Build(sys.argv[1:])
    try:
        with Session(name, build) as session:
            try:
                steps(session)
            except (Failure, subprocess.TimeoutExpired):
                # What the screen showed when it went wrong.
                picture = os.path.join(build.out, name + "-failure.png")
                session.tool("xwd", "-silent", "-root", "-out", picture + ".xwd", check=False)
                if os.path.exists(picture + ".xwd"):
                    xwd_to_png(picture + ".xwd", picture)
                    os.remove(picture + ".xwd")
                    log("the screen at the failure:", picture)
                raise
    except (Failure, subprocess.TimeoutExpired) as failure:
        log("FAILED:", failure)
        sys.exit(1)
    log("%s passed in %.1f s" % (name, time.monotonic() - start))
