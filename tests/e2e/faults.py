#!/usr/bin/python3
"""Bad input and faults in a real window. Each ends in a clear message box or a normal page,
never a crash or a hang, and never changes a store file: a broken store, a truncated one, a
missing one (never created), one locked by another program, an html folder that cannot be
written, a folder without html/, a 40,000-character paste and characters GBK cannot hold."""

import errno
import hashlib
import os
import subprocess
import sys

import desktop
from desktop import Failure, log


def digest(path):
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


class Case:
    def __init__(self, s, name, with_html=True):
        self.s = s
        self.name = name
        self.folder = s.program_folder(name, with_html)
        with open(os.path.join(self.folder, "ado.dll"), "wb") as f:
            f.write(b"ok")

    def path(self, name):
        return os.path.join(self.folder, name)

    def stores(self):
        return {n: digest(self.path(n)) for n in ("enci.edt", "enci.dbf")}

    def start(self, argv_prefix=None):
        self.before = self.stores()
        if argv_prefix:
            return self.s.launch(self.folder, prefix=argv_prefix)
        return self.s.launch(self.folder)

    def finish(self, p):
        p.end()
        if self.stores() != self.before:
            raise Failure("%s: a store file changed: %r -> %r" % (self.name, self.before,
                                                                  self.stores()))
        log(self.name, "passed")


def error_text(p, step):
    """Waits for the error box, checks its look, closes it and returns its text."""
    wid, report = p.box(desktop.APP_TITLE)
    if report["icon"] != 3 or report["buttons"] != ["确定"]:
        raise Failure("%s: the error box is not a stop box with OK: %r" % (step, report))
    p.close_box(wid, "Return")
    log(step, "->", repr(report["text"]))
    return report["text"]


def expect_error(p, text, step):
    shown = error_text(p, step)
    if shown != text:
        raise Failure("%s: the error box says %r, expected %r" % (step, shown, text))


def start_fails(c, text, step, prefix=None, absent=None):
    """The program started in the case's folder shows the error box, then its window."""
    p = c.start(prefix)
    expect_error(p, text, step)
    p.window(desktop.MAIN_CAPTION)
    p.no_boxes("after " + step)
    if absent and os.path.exists(c.path(absent)):
        raise Failure("%s: the program made %s" % (step, absent))
    c.finish(p)


NOT_A_DATABASE = ("Error executing SQL.\rError [26]: File opened that is not a database file.\r"
                  "\"error\": file is encrypted or is not a database.")


def broken_store(s):
    c = Case(s, "broken")
    with open(c.path("enci.edt"), "wb") as f:
        f.write(b"this is not a database, only text that looks nothing like one\n" * 100)
    start_fails(c, NOT_A_DATABASE, "a broken word index")


def truncated_store(s):
    c = Case(s, "truncated")
    size = os.path.getsize(c.path("enci.dbf"))
    with open(c.path("enci.dbf"), "r+b") as f:
        f.truncate(size // 3)
    start_fails(c, "Error executing SQL.\rError [11]: The database disk image is malformed.\r"
                "\"error\": database disk image is malformed.", "a truncated entry store")


def missing_store(s):
    c = Case(s, "missing")
    os.remove(c.path("enci.dbf"))
    # Opened read-only, a missing store is reported and never created.
    start_fails(c, 'Failed to open database "enci.dbf" : unable to open database file.',
                "a missing entry store", absent="enci.dbf")


def locked_store(s):
    c = Case(s, "locked")
    # Another program holds the entry store locked for writing until told to let go.
    holder = s.start([sys.executable, "-c",
                      "import sqlite3, sys\n"
                      "db = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                      "db.execute('BEGIN EXCLUSIVE')\n"
                      "print('locked', flush=True)\n"
                      "sys.stdin.readline()\n"
                      "db.execute('ROLLBACK')\n", c.path("enci.dbf")],
                     stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    if holder.stdout.readline().strip() != b"locked":
        raise Failure("the lock could not be taken")
    p = c.start()
    expect_error(p, "Could not prepare SQL statement.", "a locked entry store")
    main = p.window(desktop.MAIN_CAPTION)
    holder.stdin.write(b"\n")
    holder.stdin.flush()
    holder.wait(5)
    # The lock gone, the next search shows its entry.
    p.click(main, desktop.EDIT1)
    p.type(main, "water")
    s.wait("the entry after the lock went",
           lambda: os.path.exists(c.path("html/1.html")), 10)
    p.no_boxes("a search after the lock went")
    c.finish(p)


def unwritable_html(s):
    c = Case(s, "unwritable")
    page = c.path("html/1.html")
    if os.geteuid() == 0:
        # Root writes through permissions: a read-only mount of the folder, in a namespace of
        # the program's own.
        prefix = ["unshare", "-m", "sh", "-c",
                  'mount --bind -o ro html html && exec env LD_PRELOAD="$QINGHE_E2E_PROBE" "$0"']
        reason = os.strerror(errno.EROFS)
    else:
        os.chmod(c.path("html"), 0o555)
        prefix = None
        reason = os.strerror(errno.EACCES)
    start_fails(c, 'Cannot create file "%s". %s.' % (page, reason), "a read-only html folder",
                prefix)
    os.chmod(c.path("html"), 0o755)


def no_html_folder(s):
    c = Case(s, "nohtml", with_html=False)
    start_fails(c, 'Cannot create file "%s". %s.' % (c.path("html/1.html"),
                                                    os.strerror(errno.ENOENT)),
                "a folder without html/", absent="html")


def long_paste_and_outside_gbk(s):
    c = Case(s, "input")
    p = c.start()
    main = p.window(desktop.MAIN_CAPTION)
    s.wait("the start-up entry", lambda: os.path.exists(c.path("html/1.html")))
    # A very long paste, past what a text box holds (32,767 characters), into the search box,
    # then into the quick search. Kept in one transfer of the clipboard (about 50 kB).
    long_text = ("verylongpaste中文" * 3000)[:40000]
    owner = s.start(["xclip", "-i", "-selection", "clipboard", "-quiet"],
                    stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
    owner.stdin.write(long_text.encode())
    owner.stdin.close()
    s.wait("the long text on the clipboard", lambda: (s.clipboard() or "") == long_text, 10)
    p.click(main, desktop.EDIT1)
    p.key(main, "ctrl+a", "ctrl+v")
    p.check_alive("a long paste")
    p.no_boxes("a long paste into the search box")
    p.click(main, desktop.ESO)
    p.key(main, "ctrl+v", "Return")
    p.answer("警告", "没有检索结果,请检查输入内容是否有误?", timeout=20)
    s.stop(owner)

    # Characters GBK cannot hold become question marks; nothing breaks.
    p.click(main, desktop.EDIT1)
    p.key(main, "ctrl+a", "BackSpace")
    p.type(main, "a😀\u0e01")
    p.no_boxes("characters outside GBK in the search box")
    p.click(main, desktop.MODES["r4"])
    p.click(main, desktop.ESO)
    p.key(main, "ctrl+a", "BackSpace")
    p.type(main, "😀")
    p.key(main, "Return")
    p.answer("警告", "没有检索结果,请检查输入内容是否有误?")
    c.finish(p)


def run(s):
    s.keymap("😀\u0e01")
    for case in (broken_store, truncated_store, missing_store, locked_store, unwritable_html,
                 no_html_folder, long_paste_and_outside_gbk):
        case(s)


if __name__ == "__main__":
    desktop.main("faults", run)
