#!/usr/bin/python3
"""The dictionary as a new user meets it, in a real window: the first-run question, the
start-up entry, searching as you type in English and Chinese, the quick search in every mode,
row clicks, the copy button, the usage and about windows, the entry view's keys, and a second
start that asks nothing. A picture of the main window goes to the output folder."""

import os
import time

import desktop
from desktop import Failure, log

ROW_HEIGHT = 19  # rows of the result grid at its font
HEADER_HEIGHT = 20


def page_files(folder):
    found = []
    for n in range(1, 11):
        path = os.path.join(folder, "html", "%d.html" % n)
        if os.path.exists(path):
            found.append((os.stat(path).st_mtime_ns, path))
    return sorted(found)


def headword_of(path):
    with open(path, "rb") as f:
        page = f.read()
    marker = b'<p class="word">'
    start = page.find(marker)
    end = page.find(b"</p>", start + len(marker)) if start >= 0 else -1
    # Read while the program was still writing it: not shown yet.
    if end < 0:
        return None
    word = page[start + len(marker):end].decode("gbk")
    return word.replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&")


def literal(text):
    return text.replace("'", "''")


def statement(mode, text):
    limit = "800" if len(text.encode("gbk", "replace")) < 2 else "10000"
    t = literal(text)
    return {
        "r1": "SELECT * FROM enci where title like '" + t + "%' order by id asc limit " + limit,
        "r2": "select * from enci where title like '%" + t + "' order by id asc  limit " + limit,
        "r3": "select * from enci where title like '%" + t + "%' order by id asc limit  " + limit,
        "r4": "select * from enci where title = '" + t + "' order by id asc ",
    }[mode]


class Dictionary:
    """The program on show and what it should show, from the stores themselves."""

    def __init__(self, session, program, main):
        self.s = session
        self.p = program
        self.main = main
        self.folder = program.folder
        self.pages_written = len(page_files(self.folder))

    def rows(self, mode, text):
        return [(r[0], r[1]) for r in self.s.query(self.folder, statement(mode, text))]

    def expected_entry(self, mode, text):
        rows = self.rows(mode, text)
        if not rows:
            return None
        exact = [r for r in rows if r[1] == text.strip()]
        return (exact[-1] if exact else rows[0])[1]

    def shown(self):
        pages = page_files(self.folder)
        return headword_of(pages[-1][1]) if pages else None

    def settle(self):
        """Waits until no more pages are being written."""
        settled = None
        while settled != page_files(self.folder):
            settled = page_files(self.folder)
            time.sleep(0.3)

    def wait_shown(self, word, step):
        if word is None:
            # Nothing found: whatever the last text that found rows showed stays.
            before = self.shown()
            self.settle()
            self.p.no_boxes(step)
            return before

        def probe():
            self.p.check_alive(step)
            return self.shown() == word
        try:
            self.s.wait("%s to show %r" % (step, word), probe, 10)
        except Failure:
            raise Failure("%s: the page written shows %r, expected %r" % (step, self.shown(), word))
        # Let the keystrokes still on their way land before the next step.
        self.settle()
        self.p.no_boxes(step)
        if self.shown() != word:
            raise Failure("%s: the page went on to %r" % (step, self.shown()))

    def copy_shows(self, word, step):
        """The copy button copies what the view shows: it must be the entry of word."""
        self.p.click(self.main, desktop.COPY)
        self.p.window("提示")
        copied = self.s.clipboard()
        self.p.answer("提示", "已经成功复制到剪贴板！发给你的好友吧")
        if copied is None or not copied.startswith(word):
            raise Failure("%s: the view shows %r, expected the entry of %r" % (
                step, (copied or "")[:80], word))
        return copied

    def type_search(self, text, step, whole=False):
        """Types text into the search box. With whole, no shorter start of the text shows the
        same entry, so the entry proves that every character arrived."""
        word = self.expected_entry("r1", text)
        if whole and word in [self.expected_entry("r1", text[:k]) for k in range(1, len(text))]:
            raise Failure("%s: a start of %r already shows %r" % (step, text, word))
        self.p.click(self.main, desktop.EDIT1)
        self.p.key(self.main, "ctrl+a", "BackSpace")
        self.p.type(self.main, text)
        self.wait_shown(word, step)
        log(step, "->", word)
        return word

    def quick(self, mode, text, step):
        self.p.click(self.main, desktop.MODES[mode])
        self.p.click(self.main, desktop.ESO)
        self.p.key(self.main, "ctrl+a", "BackSpace")
        if text:
            self.p.type(self.main, text)
        before = page_files(self.folder)
        self.p.key(self.main, "Return")
        word = self.expected_entry(mode, text) if text.strip() else None
        if word is None:
            message = "没有检索结果,请检查输入内容是否有误?" if text.strip() else "请输入要查询的内容?"
            self.p.answer("警告", message)
            if page_files(self.folder) != before:
                raise Failure(step + ": a search that found nothing changed the entry")
            log(step, "-> warning")
            return None
        self.wait_shown(word, step)
        log(step, "->", word)
        return word

    def click_row(self, row, step):
        rows_y = desktop.GRID[1] + HEADER_HEIGHT + ROW_HEIGHT * row + ROW_HEIGHT // 2 - 1
        self.p.click(self.main, (desktop.GRID[0] + 80, rows_y))


def run(s):
    s.keymap("学生中国国")
    folder = s.program_folder("dict")
    marker = os.path.join(folder, "ado.dll")

    # First start: the question, answered no with Esc; the marker is written all the same.
    p = s.launch(folder)
    p.answer("确认", "初次运行青禾英语词典,是否生成桌面快捷方式?", key="Escape")
    main = p.window(desktop.MAIN_CAPTION)
    with open(marker, "rb") as f:
        if f.read() != b"ok":
            raise Failure("the first-run marker does not hold ok")
    if os.path.exists(os.path.join(s.env["HOME"], "Desktop")):
        raise Failure("a desktop shortcut was made though the answer was no")
    d = Dictionary(s, p, main)

    # The start-up entry: the first row listed, and the view shows the page written for it.
    s.wait("the start-up entry", lambda: page_files(folder), 10)
    start_word = d.shown()
    d.wait_shown(start_word, "start-up")
    d.copy_shows(start_word, "start-up")
    log("start-up entry", start_word)

    # The usage message, byte for byte.
    p.click(main, desktop.LABEL5)
    p.answer("提示", "青禾英语词典为 英汉-汉英 双解词典 \r\n\r\n文本框内既可输入英语单词也可输入汉字！\r\n")

    # Searching as you type, English then Chinese; the view follows.
    d.type_search("dog", "typing dog", whole=True)
    d.copy_shows("dog", "typing dog")
    d.type_search("学生", "typing 学生", whole=True)
    s.screenshot(main, os.path.join(s.build.out, "main-window.png"))
    d.copy_shows("学生", "typing 学生")
    d.type_search("bank", "typing bank")
    d.copy_shows("bank", "typing bank")

    # A quote is searched as text.
    d.type_search("don't", "typing don't")

    # Quick search in every mode, then nothing found, then nothing typed.
    d.quick("r1", "appl", "quick word start")
    d.quick("r2", "ank", "quick word end")
    d.quick("r3", "国", "quick fuzzy")
    d.quick("r4", "bank", "quick exact")
    d.quick("r4", "bankx", "quick exact, nothing found")
    d.quick("r1", "", "quick, nothing typed")

    # Row clicks: the second row shows its entry, the first row its own.
    d.type_search("ban", "typing ban")
    rows = d.rows("r1", "ban")
    if len(rows) < 3:
        raise Failure("the sample lists too few rows for ban: %r" % rows)
    d.click_row(1, "second row")
    d.wait_shown(rows[1][1], "a click on the second row")
    d.click_row(0, "first row")
    d.wait_shown(rows[0][1], "a click on the first row")

    # The view's own keys: select all and copy there give the entry too; Ctrl+N does nothing.
    p.click(main, desktop.VIEW)
    p.key(main, "ctrl+n")
    p.key(main, "ctrl+a", "ctrl+c")
    s.wait("Ctrl+A, Ctrl+C in the view to copy the entry",
           lambda: (s.clipboard() or "").startswith(rows[0][1] + "\n"), 5)
    p.no_boxes("keys in the view")

    # The about window opens over the main window and goes back with its button's key.
    p.click(main, desktop.LABEL3)
    about = p.window(desktop.APP_TITLE)
    p.key(about, "Escape")
    s.wait("the about window to close", lambda: not p.boxes(), 5)
    d.type_search("apple", "typing apple after the about window")
    p.end()

    # A second start asks nothing and shows an entry at once.
    p = s.launch(folder)
    main = p.window(desktop.MAIN_CAPTION)
    p.no_boxes("the second start")
    p.no_window("确认", within=0.5)
    with open(marker, "rb") as f:
        if f.read() != b"ok":
            raise Failure("the marker changed")
    p.end()


if __name__ == "__main__":
    desktop.main("main-window", run)
