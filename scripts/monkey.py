#!/usr/bin/env python3
"""The event loop of scripts/monkey.sh: starts pqdesk on the display in DISPLAY, logs in, and sends
random clicks, keys and text to the window in front until the time is up. A program that ends with
status 0 left through one of its own exits (wrong password, the exit commands, cancelling the port
settings): it is started again and the run goes on. Any other end, or a sanitizer report, stops the
run as a failure.

Each event is drawn from its own generator seeded with (seed, event number) and from the kind of
window in front, so a seed gives the same events for as long as the program shows the same windows.

    monkey.py --seconds S --seed N --program PATH --folder DIR --record-file NAME
              --survey-files NAME NAME --user NAME --password PW --log FILE
              --sanitizer-folder DIR [--program-output FILE]

The program starts with the record file loaded, so that the windows that need records (history,
reports, assessment) open; the survey's file dialog is offered the survey's files, and in the main
window a share of the events goes to the menu commands that open those windows, which random clicks
on the menu bar alone seldom reach.
Prints the summary; exit status 0 when the run passed, 1 when it did not.
"""
import argparse
import ctypes
import os
import random
import subprocess
import sys
import time

LOGIN_CAPTION = "系统登录"
MAIN_CAPTION = "电能质量分析系统"
IMPORT_CAPTION = "记录文件操作"

# Windows of the program itself. Every other window (file and print dialogs, Qt's own boxes, message
# boxes with their own caption) gets only keys that cannot reach outside the run's folder: no clicks
# (the file dialog's sidebar, parent-folder and new-folder buttons), no Delete, Backspace or context
# menu (deleting and renaming files, going up a folder), no '/' in typed text.
PROGRAM_WINDOWS = (
    MAIN_CAPTION,
    "记录文件操作",
    "历史数据查阅",
    "实时数据",
    "电能质量参数设置",
    "Form14",
    "Print Preview",
    "设定密码",
    "修改密码",
    "删除密码",
    "端口设置",
    "测量任务",
    "正在打开测量任务",
    "电能质量综合评估",
)

# The file dialogs of the record file and of a survey, by their captions.
RECORD_FILE_DIALOG = "请选择原始记录文件"
SURVEY_DIALOG = "请选择同一次测量的原始记录文件"

# Menu commands of the main window that open the windows a run reaches least: (name, menu, item), the
# menu bar's entries counted from 0 ("实时数据", "历史数据", "综合评估", "数据报表", "系统") and the
# menu's items from 0. The menu opens with a click on its title (the middle of each title, from the
# window's left edge, in the program's font; Qt's menu bar takes no F10) and the item is chosen with
# the arrow keys and Return.
MENU_TITLE_MIDDLES = (34, 96, 158, 220, 270)
MENU_BAR_MIDDLE = 11
MENU_COMMANDS = (
    ("历史数据/打开测量任务", 1, 1),
    ("历史数据/查阅记录", 1, 2),
    ("历史数据/谐波趋势曲线", 1, 3),
    ("历史数据/电压偏差趋势曲线", 1, 5),
    ("历史数据/功率及功率因数趋势曲线", 1, 6),
    ("综合评估/电能质量综合评估", 2, 0),
    ("综合评估/事件列表", 2, 1),
    ("数据报表/新建报表", 3, 0),
)

CONTROL_KEYS = (
    "Return", "Escape", "Tab", "shift+Tab", "Up", "Down", "Left", "Right", "Home", "End", "Prior",
    "Next", "BackSpace", "Delete", "space", "F1", "F2", "F3", "F4", "F5", "F10", "F12", "ctrl+a",
    "ctrl+c", "ctrl+v", "ctrl+x", "ctrl+z", "ctrl+s", "ctrl+p", "ctrl+o", "ctrl+w", "ctrl+q", "alt+F4",
    "alt+f", "alt+x", "alt+o", "alt+c", "alt+y", "alt+n", "Menu", "shift+Down", "shift+End",
    "ctrl+Home", "ctrl+End", "KP_Add", "KP_Subtract",
)
# The words the program's own fields and records use, so typed text sometimes means something.
CJK_WORDS = ("城东变电站", "10kV出线", "电压", "谐波", "偏差", "功率", "报表", "管理员", "测试", "三相")
SAFE_CHARACTERS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
FIELD_CHARACTERS = SAFE_CHARACTERS + " -.:,_+%'\"*?;"


def is_program_window(title):
    return any(title.startswith(known) for known in PROGRAM_WINDOWS)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30)


def window_in_front():
    """The focused top-level window's title and geometry (x, y, width, height, window id), or None."""
    out = xdotool("getwindowfocus", "getwindowname", "getwindowgeometry", "--shell")
    if out.returncode != 0:
        return None
    lines = out.stdout.splitlines()
    if not lines:
        return None
    values = dict(line.split("=", 1) for line in lines[1:] if "=" in line)
    try:
        geometry = tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT", "WINDOW"))
    except (KeyError, ValueError):
        return None
    return lines[0], geometry


class CloseBox:
    """Sends the close-box request (WM_DELETE_WINDOW) a window manager sends when its title bar's
    close button is pressed; Xvfb has no window manager, and the live window has no other close."""

    class _Message(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                    ("message_type", ctypes.c_ulong), ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                    ("padding", ctypes.c_long * 16)]

    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XInternAtom.restype = ctypes.c_ulong
        self.x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("cannot open the display")
        self.protocols = self.x.XInternAtom(self.display, b"WM_PROTOCOLS", 0)
        self.delete = self.x.XInternAtom(self.display, b"WM_DELETE_WINDOW", 0)

    def press(self, window):
        message = self._Message(type=33, send_event=1, display=self.display, window=window,
                                message_type=self.protocols, format=32)
        message.data[0] = self.delete
        self.x.XSendEvent(self.display, window, 0, 0, ctypes.byref(message))
        self.x.XFlush(self.display)


def focus_topmost():
    """Gives the focus to the topmost named window, as a window manager does when the focused window
    closes (without one, X leaves the focus on the root window). Its title, or None."""
    out = xdotool("search", "--onlyvisible", "--maxdepth", "1", "--name", ".")
    windows = out.stdout.split()
    if not windows:
        return None
    xdotool("windowfocus", windows[-1])
    return xdotool("getwindowname", windows[-1]).stdout.strip()


def random_text(rng, characters):
    kind = rng.random()
    if kind < 0.3:
        return "".join(rng.choice(CJK_WORDS) for _ in range(rng.randint(1, 2)))
    if kind < 0.45:
        return "".join(chr(rng.randint(0x4E00, 0x9FA5)) for _ in range(rng.randint(1, 6)))
    if kind < 0.7:
        return str(rng.choice((rng.randint(-99, 99999), rng.randint(0, 10**12), round(rng.uniform(-50, 500), 3))))
    if kind < 0.8:
        return "%04d-%d-%d %d:%02d" % (rng.randint(1990, 2100), rng.randint(0, 13), rng.randint(0, 32),
                                        rng.randint(0, 25), rng.randint(0, 61))
    return "".join(rng.choice(characters) for _ in range(rng.randint(1, 16)))


def point_in(rng, geometry, main_window):
    x, y, width, height = geometry[:4]
    # The main window is mostly empty background: its commands are in the menu bar and tool bar at
    # the top left.
    if main_window and rng.random() < 0.7:
        return x + rng.randrange(min(width, 600)), y + rng.randrange(66)
    return x + rng.randrange(max(width, 1)), y + rng.randrange(max(height, 1))


def menu_command(rng, geometry):
    """A menu command of MENU_COMMANDS as (description, xdotool arguments)."""
    name, menu, item = rng.choice(MENU_COMMANDS)
    x, y = geometry[0] + MENU_TITLE_MIDDLES[menu], geometry[1] + MENU_BAR_MIDDLE
    keys = ["Down"] * (item + 1) + ["Return"]
    # The menu opens slowly on a loaded machine under the sanitizers: keys sent sooner go elsewhere.
    return "menu " + name, ["mousemove", str(x), str(y), "click", "1", "sleep", "1", "key", "--delay", "120", *keys]


def draw_event(rng, title, geometry, record_file, survey_files):
    """The event for one step as (description, xdotool arguments); the arguments are None for the
    close box."""
    if not is_program_window(title):
        roll = rng.random()
        # The survey's dialog mostly gets the survey's files, which open the survey window.
        if title.startswith(SURVEY_DIALOG) and roll < 0.6:
            names = " ".join('"%s"' % name for name in survey_files)
            return "type %s Return" % names, ["key", "ctrl+a", "type", "--delay", "15", names + "\n"]
        if title.startswith(RECORD_FILE_DIALOG) and roll < 0.4:
            return "type %s Return" % record_file, ["key", "ctrl+a", "type", "--delay", "15", record_file + "\n"]
        if roll < 0.03:
            return "close box", None
        if roll < 0.5:
            return "key Escape", ["key", "Escape"]
        # In a file dialog: the run's record file, the way to the history and report windows.
        if roll < 0.62:
            return "type %s Return" % record_file, ["key", "ctrl+a", "type", "--delay", "15", record_file + "\n"]
        if roll < 0.7:
            return "key Return", ["key", "Return"]
        if roll < 0.85:
            text = "".join(rng.choice(SAFE_CHARACTERS) for _ in range(rng.randint(1, 10)))
            return "type " + text, ["type", "--delay", "15", "--", text]
        key = rng.choice(("Tab", "shift+Tab", "Up", "Down", "space", "End", "Home"))
        return "key " + key, ["key", key]
    main_window = title.startswith(MAIN_CAPTION) and geometry[2] > 600
    # Now and then a window is left the quick way, so the run moves on to others.
    if not main_window:
        leave = rng.random()
        if leave < 0.04:
            return "key Escape", ["key", "Escape"]
        if leave < 0.06:
            return "close box", None
    if main_window and rng.random() < 0.25:
        return menu_command(rng, geometry)
    roll = rng.random()
    if roll < 0.45:
        x, y = point_in(rng, geometry, main_window)
        return "click %d %d" % (x, y), ["mousemove", str(x), str(y), "click", "1"]
    if roll < 0.5:
        x, y = point_in(rng, geometry, main_window)
        return "double-click %d %d" % (x, y), ["mousemove", str(x), str(y), "click", "--repeat", "2", "1"]
    if roll < 0.53:
        x, y = point_in(rng, geometry, main_window)
        return "right-click %d %d" % (x, y), ["mousemove", str(x), str(y), "click", "3"]
    if roll < 0.57:
        x, y = point_in(rng, geometry, False)
        button = rng.choice(("4", "5"))
        return "wheel %s %d %d" % (button, x, y), ["mousemove", str(x), str(y), "click", "--repeat",
                                                      str(rng.randint(1, 5)), button]
    if roll < 0.61:
        x, y = point_in(rng, geometry, False)
        x2, y2 = point_in(rng, geometry, False)
        return "drag %d %d %d %d" % (x, y, x2, y2), ["mousemove", str(x), str(y), "mousedown", "1",
                                                       "mousemove", str(x2), str(y2), "mouseup", "1"]
    if roll < 0.82:
        key = rng.choice(CONTROL_KEYS)
        return "key " + key, ["key", key]
    text = random_text(rng, FIELD_CHARACTERS)
    return "type " + text, ["type", "--delay", "15", "--", text]


class Run:
    def __init__(self, options):
        self.options = options
        self.log = open(options.log, "a", encoding="utf-8")
        self.output = open(options.program_output, "ab") if options.program_output else subprocess.DEVNULL
        self.started = time.monotonic()
        self.deadline = self.started + options.seconds
        self.events = 0
        self.titles = {}
        self.restarts = 0
        self.exits = []
        self.failure = None
        self.process = None
        self.close_box = CloseBox()

    def note(self, text):
        self.log.write("%9.3f %s\n" % (time.monotonic() - self.started, text))
        self.log.flush()

    def sanitizer_reports(self):
        return sorted(os.listdir(self.options.sanitizer_folder))

    def start(self):
        self.process = subprocess.Popen([self.options.program, self.options.record_file], cwd=self.options.folder,
                                        stdout=self.output, stderr=self.output)
        self.note("start pid %d" % self.process.pid)

    def wait_for(self, found, seconds):
        """Polls the window in front until found(title, geometry); False when the program ended or
        the time ran out."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                return False
            front = window_in_front()
            if front and found(*front):
                return True
            time.sleep(0.25)
        return False

    def log_in(self):
        """Types the name and password at the login window and waits for the main window; False
        when the program ended on the way or a window did not come."""
        if not self.wait_for(lambda title, _: title == LOGIN_CAPTION, 120):
            if self.process.poll() is None:
                self.failure = "no login window within 120 s"
            return False
        xdotool("type", "--delay", "20", "--", self.options.user)
        xdotool("key", "Tab")
        xdotool("type", "--delay", "20", "--", self.options.password)
        xdotool("key", "Return")
        self.note("login as %s" % self.options.user)
        # The main window, or the import of the record file the program was started with over it.
        if self.wait_for(lambda title, geometry: (title.startswith(MAIN_CAPTION) and geometry[2] > 600)
                         or title.startswith(IMPORT_CAPTION), 60):
            return True
        if self.process.poll() is None:
            self.failure = "the login did not reach the main window within 60 s"
        return False

    def ended(self, last_title):
        """Handles a program that has ended; True when the run goes on."""
        status = self.process.returncode
        self.exits.append((status, last_title))
        self.note("exit status %d after window %r" % (status, last_title))
        if self.sanitizer_reports():
            self.failure = "sanitizer report: " + ", ".join(self.sanitizer_reports())
            return False
        if status != 0:
            self.failure = "the program ended with status %d after window %r" % (status, last_title)
            # Qt ends the program with status 1 when the display goes away: then the fault is not
            # the program's, and the run says so.
            if xdotool("getmouselocation").returncode != 0:
                self.failure += ", because the X server has gone"
            return False
        return time.monotonic() < self.deadline

    def restart(self):
        # Three logins in a row that end the program mean the user database lost the monkey's user
        # or its password.
        for _ in range(3):
            self.restarts += 1
            self.start()
            if self.log_in():
                return True
            if self.failure or not self.ended(LOGIN_CAPTION):
                return False
        self.failure = "three logins in a row ended the program"
        return False

    def loop(self):
        self.start()
        if not self.log_in():
            if not self.failure and self.ended(LOGIN_CAPTION):
                self.failure = "the first login ended the program"
            return
        last_title = LOGIN_CAPTION
        step = 0
        while time.monotonic() < self.deadline:
            if self.process.poll() is not None:
                if not self.ended(last_title) or not self.restart():
                    return
                continue
            front = window_in_front()
            if front is None:
                time.sleep(0.2)
                continue
            title, geometry = front
            if not title:
                self.note("focus on the root window; to the topmost window: %s" % focus_topmost())
                continue
            last_title = title
            self.titles[title] = self.titles.get(title, 0) + 1
            rng = random.Random(self.options.seed * 1_000_003 + step)
            description, args = draw_event(rng, title, geometry, self.options.record_file,
                                           self.options.survey_files)
            step += 1
            self.note("%d [%s] %s" % (step, title, description))
            try:
                if args is None:
                    self.close_box.press(geometry[4])
                else:
                    xdotool(*args)
            except subprocess.TimeoutExpired:
                self.note("xdotool did not finish within 30 s")
            self.events += 1
            time.sleep(0.08)
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait()
        elif not self.ended(last_title):
            return
        if self.sanitizer_reports():
            self.failure = "sanitizer report: " + ", ".join(self.sanitizer_reports())

    def summary(self):
        lines = [
            "events sent: %d in %d s" % (self.events, round(time.monotonic() - self.started)),
            "windows reached: %d" % len(self.titles),
        ]
        lines += ["  %6d  %s" % (count, title) for title, count in sorted(self.titles.items(), key=lambda t: -t[1])]
        lines.append("restarts: %d" % self.restarts)
        exits = {}
        for ending in self.exits:
            exits[ending] = exits.get(ending, 0) + 1
        for (status, title), count in sorted(exits.items()):
            lines.append("  %6d  exit status %d after window %s" % (count, status, title))
        lines.append("result: " + ("FAIL: " + self.failure if self.failure else "pass"))
        return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seconds", type=float, required=True)
    parser.add_argument("--seed", type=int, required=True)
    parser.add_argument("--program", required=True)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--sanitizer-folder", required=True)
    parser.add_argument("--record-file", required=True)
    parser.add_argument("--survey-files", nargs=2, required=True)
    parser.add_argument("--program-output")
    options = parser.parse_args()
    run = Run(options)
    run.note("seed %d, %g s" % (options.seed, options.seconds))
    try:
        run.loop()
    finally:
        if run.process and run.process.poll() is None:
            run.process.kill()
            run.process.wait()
    summary = run.summary()
    run.note("summary\n" + summary)
    print(summary)
    return 1 if run.failure else 0


if __name__ == "__main__":
    sys.exit(main())
