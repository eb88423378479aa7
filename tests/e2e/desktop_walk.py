#!/usr/bin/python3
"""Drives the built program as a user does, on an X server of its own (Xvfb), with or without a
window manager (openbox, mutter, kwin_x11 or xfwm4): real key presses and clicks go through the X
server, and what the user would see is read from the screen reader's view of the program
(AT-SPI), from the window manager's stacking order and active window, and from the log file.

What only the real program can show is walked here: the program folder and its log, access keys
and AltGr on a German keyboard, which window has the keys after each message box, the keyboard way
to the editor, minimised windows, centring by the window frame, Qt's own texts in German and the
names a screen reader hears.

    dbus-run-session -- desktop_walk.py --program P --schema S --shots DIR [--window-manager openbox]

Needs Xvfb, setxkbmap, xdotool, xprop, xwininfo, ImageMagick's import, python3-pyatspi and the
AT-SPI bus (at-spi2-core); the window manager named by --window-manager. Installs nothing itself. Ends with
"N passed, M failed"; the exit status is 0 only when nothing failed.
"""
import argparse
import datetime
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

SCREEN = (1280, 1024)
# Each started as a desktop session starts it, taking the display over.
WINDOW_MANAGERS = {
    "none": None,
    "openbox": ["openbox"],
    "mutter": ["mutter", "--x11", "--replace"],
    "kwin": ["kwin_x11", "--replace"],
    "xfwm4": ["xfwm4", "--replace"],
}
TABLE = {"auto": '"Auto"'}


class Walk:
    def __init__(self, args):
        self.args = args
        self.passed = 0
        self.failed = 0
        self.work = tempfile.mkdtemp(prefix="tankverzehr-e2e-")
        self.processes = []
        self.program = None
        self.started = time.monotonic()

    # ---- reporting

    def check(self, what, ok, detail=""):
        if ok:
            self.passed += 1
            print("  ok   " + what, flush=True)
        else:
            self.failed += 1
            print("  FAIL " + what + (": " + detail if detail else ""), flush=True)
            # The screen as it was, for whoever looks into the failure.
            picture = os.path.join(self.args.shots, "e2e-%s-failure-%d.png" % (self.args.window_manager, self.failed))
            subprocess.run(["import", "-window", "root", picture], stderr=subprocess.DEVNULL)
            print("       (the screen: %s)" % picture, flush=True)
        return ok

    def same(self, what, expected, actual):
        return self.check(what, expected == actual, "expected %r, got %r" % (expected, actual))

    def step(self, title):
        print("== %s (%.1f s)" % (title, time.monotonic() - self.started), flush=True)

    @staticmethod
    def wait(condition, timeout=5.0):
        end = time.monotonic() + timeout
        while True:
            try:
                value = condition()
            except Exception:  # the window or control may not be there yet
                value = None
            if value or time.monotonic() > end:
                return value
            time.sleep(0.05)

    # ---- X server, window manager, program

    def start_display(self):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp", "-noreset",
                                 "-displayfd", str(write_end)], pass_fds=[write_end],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self.processes.append(xvfb)
        # The server writes the number and a line feed, maybe in two pieces; the pipe stays open until
        # both have come, or the server would fail writing the second.
        raw = b""
        while not raw.endswith(b"\n"):
            piece = os.read(read_end, 16)
            if not piece:
                break
            raw += piece
        os.close(read_end)
        number = raw.decode().strip()
        if not number:
            sys.exit("FAIL: the X server did not start")
        os.environ["DISPLAY"] = ":" + number
        if not self.wait(lambda: subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0):
            sys.exit("FAIL: the X server on %s does not answer" % os.environ["DISPLAY"])
        os.environ["XDG_RUNTIME_DIR"] = os.path.join(self.work, "runtime")
        os.makedirs(os.environ["XDG_RUNTIME_DIR"], mode=0o700)
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY"):
            os.environ.pop(name, None)
        # A German keyboard, as the program's users have: Ü has a key of its own, @ is AltGr+Q.
        subprocess.run(["setxkbmap", "-layout", "de"], check=True)
        # The screen reader's bus must be there before a Qt program starts, or it never connects;
        # it is started on demand by the session bus, which must know which display it serves (so
        # must KDE's shortcut service, which kwin waits for).
        subprocess.run(["dbus-update-activation-environment", "DISPLAY=" + os.environ["DISPLAY"],
                        "XDG_RUNTIME_DIR=" + os.environ["XDG_RUNTIME_DIR"]], check=True)
        command = WINDOW_MANAGERS[self.args.window_manager]
        if command:
            # kwin without compositing: drawn by the processor, its effects would only slow it down.
            env = dict(os.environ, KWIN_COMPOSE="N")
            self.processes.append(subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                                   stderr=subprocess.DEVNULL))
            if not self.wait(lambda: "window id" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 20):
                sys.exit("FAIL: %s did not take over the display" % command[0])
        bus_up = lambda: subprocess.run(["dbus-send", "--session", "--dest=org.a11y.Bus", "--print-reply",
                                         "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                                        capture_output=True).returncode == 0
        if not self.wait(bus_up, 10):
            sys.exit("FAIL: the screen reader's bus (AT-SPI) did not start")
        pyatspi.Registry.getDesktop(0)
        print("X server on %s, window manager: %s" % (os.environ["DISPLAY"], self.args.window_manager))

    def start_program(self, folder):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.program = subprocess.Popen(["./tankverzehr"], cwd=folder, env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def stop_program(self):
        if self.program:
            self.program.kill()
            self.program.wait()
            self.program = None

    def alive(self):
        return self.program is not None and self.program.poll() is None

    def cleanup(self):
        self.stop_program()
        # Terminated, not killed: the X server removes its lock and socket files on the way out.
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    # ---- X windows

    @staticmethod
    def x(*command):
        return subprocess.run(command, capture_output=True, text=True).stdout.strip()

    def keys(self, *names):
        subprocess.run(["xdotool", "key", "--delay", "40"] + list(names))

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "40", text])

    def window(self, title, visible=True):
        ids = self.x("xdotool", "search", "--all", *(["--onlyvisible"] if visible else []), "--pid",
                     str(self.program.pid), "--name", "^%s$" % title).split()
        return ids[0] if ids else None

    def active_title(self):
        # Without a window manager nobody keeps the active window: the window with the keys is it.
        if self.args.window_manager == "none":
            return self.x("xdotool", "getwindowfocus", "-f", "getwindowname")
        return self.x("xdotool", "getactivewindow", "getwindowname")

    def activate(self, title):
        window = self.window(title, visible=False)
        if self.args.window_manager != "none":
            # As a task bar or Alt+Tab asks the window manager (_NET_ACTIVE_WINDOW).
            subprocess.run(["xdotool", "windowactivate", window], stderr=subprocess.DEVNULL)
        else:
            subprocess.run(["xdotool", "windowraise", window, "windowfocus", window])
        return self.wait(lambda: self.active_title() == title)

    def click(self, title, x, y, button="1"):
        subprocess.run(["xdotool", "mousemove", "--window", self.window(title), str(x), str(y), "click", button])

    def close_box(self, title):
        """Waits for a message box, notes that it came, and closes it with Return."""
        came = self.wait(lambda: self.window(title))
        self.check("message box '%s' shown" % title, came)
        if came:
            # Without a window manager a new window gets the keys only when it takes them itself.
            if self.active_title() != title:
                self.activate(title)
            self.keys("Return")
            self.check("message box '%s' closed with Return" % title, self.wait(lambda: not self.window(title)))
        return came

    def frame_offset(self, title):
        """How far the middle of the window's frame lies from the middle of the screen."""
        window = self.window(title)
        info = self.x("xwininfo", "-id", window)
        value = lambda key: int(info.split(key)[1].split()[0])
        left, right, top, bottom = 0, 0, 0, 0
        extents = self.x("xprop", "-id", window, "_NET_FRAME_EXTENTS")
        if "=" in extents:
            left, right, top, bottom = (int(n) for n in extents.split("=")[1].split(","))
        frame_x = value("Absolute upper-left X:") - left
        frame_y = value("Absolute upper-left Y:") - top
        width = value("Width:") + left + right
        height = value("Height:") + top + bottom
        return (2 * frame_x + width - SCREEN[0]) // 2, (2 * frame_y + height - SCREEN[1]) // 2

    def frame_centred(self, title):
        # The frame comes a moment after the window: the program centres the window again then.
        centred = self.wait(lambda: max(abs(n) for n in self.frame_offset(title)) <= 1)
        return self.check("'%s' centred on the screen by its frame" % title, centred,
                          "off by %s" % (self.frame_offset(title),))

    def minimised(self, title):
        state = self.x("xprop", "-id", self.window(title, visible=False) or "0", "WM_STATE")
        return "Iconic" in state

    def shoot(self, title):
        subprocess.run(["import", "-window", self.window(title),
                        os.path.join(self.args.shots, "e2e-%s-%s.png" % (self.args.window_manager, title))],
                       stderr=subprocess.DEVNULL)

    def steadily_active(self, title, polls=6):
        """Waits until the window has stayed the active one for a few polls in a row, as a user sees
        it before clicking: a window manager may still be animating a window it restores."""
        streak = [0]

        def steady():
            streak[0] = streak[0] + 1 if self.active_title() == title else 0
            return streak[0] >= polls

        return self.wait(steady)

    def open_editor(self, overview, row_above=False):
        """A click on the second row's cell (Up for the first), Space to select that row, Tab to
        "Bearbeiten", Space."""
        self.wait(lambda: self.value("Gesamte Liter"))  # the overview has read the log
        self.steadily_active(overview)
        self.click(overview, 100, 110)
        self.keys(*(["Up"] if row_above else []), "space")
        if not self.wait(lambda: self.enabled(overview, "push button", "Bearbeiten")):
            return False
        self.keys("Tab", "space")
        return self.wait(lambda: self.active_title() == "Bearbeiten")

    def desktop_walk(self, main, overview, editor):
        """The three windows as the window manager keeps them: which lies on top, which has the
        keys, minimising and bringing back, and the editor's typing through all of it."""
        self.step("The editor above the overview; its typing kept when switching windows")
        self.check("the editor shown", self.open_editor(overview))
        self.click(editor, 150, 86)
        self.keys("ctrl+a")
        self.type("500")
        typed = lambda: self.text(editor, "Kilometer") == "500"
        self.check("500 typed into the editor's kilometres", self.wait(typed))
        self.click(overview, 20, 20)
        self.check("a click on the overview makes it active", self.wait(lambda: self.active_title() == overview))
        self.check("the editor stays above the overview", self.wait(lambda: self.above(editor, overview)),
                   "stacking %s" % self.stacking())
        self.activate(editor)
        self.check("back in the editor, the typed 500 is still there", self.wait(typed),
                   "Kilometer shows %r" % self.text(editor, "Kilometer"))

        self.step("The main window reachable while the overview and the editor are open")
        litres = self.text(main, "Verbrauchte Liter")
        self.check("the main window brought forward is the active window", self.activate(main))
        self.check("the main window lies above the overview and the editor",
                   self.wait(lambda: self.on_top(main)), "stacking %s" % self.stacking())
        self.keys("End")
        self.type("1")
        self.same("the keys go into the main window's litres box", litres + "1",
                  self.wait(lambda: self.text(main, "Verbrauchte Liter") == litres + "1" and litres + "1"))
        self.keys("BackSpace")
        self.click(overview, 20, 20)
        self.check("a click on the overview brings it back with the editor above it",
                   self.wait(lambda: self.on_top(editor) and self.above(overview, main)),
                   "stacking %s" % self.stacking())

        self.step("Minimising and bringing back")
        self.minimise(main)
        self.check("the main window is minimised", self.wait(lambda: self.minimised(main)))
        self.check("minimising the main window leaves the overview and the editor",
                   not self.minimised(overview) and not self.minimised(editor))
        self.check("the main window comes back", self.activate(main) and not self.minimised(main))
        self.minimise(overview)
        self.check("the overview is minimised, the editor with it",
                   self.wait(lambda: self.minimised(overview) and self.minimised(editor)))
        self.activate(main)
        self.keys("alt+udiaeresis")
        self.check("Alt+Ü brings the overview back, active",
                   self.wait(lambda: not self.minimised(overview) and self.active_title() == overview),
                   "active: %r" % self.active_title())
        self.check("the editor comes back with it, above it",
                   self.wait(lambda: self.viewable(editor) and self.on_top(editor)), "stacking %s" % self.stacking())
        self.check("the editor still shows the typed 500", self.wait(typed))
        self.minimise(editor)
        # GNOME and KDE keep a window that belongs to another from being minimised by itself.
        self.wait(lambda: self.minimised(editor), 2)
        self.activate(main)
        self.keys("alt+udiaeresis")
        self.check("Alt+Ü brings a minimised editor back, above the overview",
                   self.wait(lambda: self.viewable(editor) and self.on_top(editor)), "stacking %s" % self.stacking())
        self.minimise(editor)
        self.wait(lambda: self.minimised(editor), 2)
        self.activate(overview)
        self.check("'Bearbeiten' on its row brings the editor back, active",
                   self.open_editor(overview) and self.wait(lambda: not self.minimised(editor)))
        self.check("the typed 500 is still there", self.wait(typed),
                   "Kilometer shows %r" % self.text(editor, "Kilometer"))
        self.activate(overview)
        self.check("'Bearbeiten' on another row reads that entry", self.open_editor(overview, row_above=True) and
                   self.wait(lambda: self.text(editor, "Kilometer") == "600"),
                   "Kilometer shows %r" % self.text(editor, "Kilometer"))

        self.step("Closing the main window ends the program")
        self.activate(main)
        self.keys("alt+F4")
        self.check("the program ends, though the overview and the editor are open",
                   self.wait(lambda: not self.alive()))

    def minimise(self, title):
        # As the title bar's button or the task bar asks the window manager (WM_CHANGE_STATE).
        subprocess.run(["xdotool", "windowminimize", self.window(title, visible=False) or "0"],
                       stderr=subprocess.DEVNULL)

    def stacking(self):
        """The program's windows from bottom to top, as the window manager stacks them."""
        listed = self.x("xprop", "-root", "_NET_CLIENT_LIST_STACKING")
        ids = [int(n, 16) for n in listed.split("#")[1].split(",")] if "#" in listed else []
        titles = {}
        for title in ("Tankverzehrsberechnung", "Übersicht", "Bearbeiten"):
            window = self.window(title, visible=False)
            if window:
                titles[int(window)] = title
        return [titles[n] for n in ids if n in titles]

    def above(self, upper, lower):
        order = self.stacking()
        return upper in order and lower in order and order.index(upper) > order.index(lower)

    def on_top(self, title):
        order = self.stacking()
        return bool(order) and order[-1] == title

    def viewable(self, title):
        return "IsViewable" in self.x("xwininfo", "-id", self.window(title, visible=False) or "0")

    # ---- what a screen reader sees

    def app(self):
        # The screen reader's view is kept up to date by messages that wait to be handled.
        while GLib.MainContext.default().iteration(False):
            pass
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.program.pid:
                return app
        return None

    def control(self, title, role, name):
        """The control of that role and name in the window of that title, once the screen reader's
        view of the program has it (a program registers there a moment after its windows show)."""

        def find():
            app = self.app()
            for i in range(app.childCount if app else 0):
                window = app.getChildAtIndex(i)
                if window is not None and window.name == title:
                    return pyatspi.findDescendant(window, lambda a: a.getRoleName() == role and a.name == name)
            return None

        found = self.wait(find)
        if found is None:
            app = self.app()
            seen = [(app.getChildAtIndex(i).getRoleName(), app.getChildAtIndex(i).name)
                    for i in range(app.childCount)] if app else "no program (%s)" % [
                        (a.name, a.get_process_id()) for a in pyatspi.Registry.getDesktop(0) if a is not None]
            raise LookupError("%s '%s' in '%s'; the screen reader sees %s" % (role, name, title, seen))
        return found

    def value(self, name):
        """The value of the overview's value field that a screen reader names so: it reads the
        value as the field's description (the heading above it has the same name)."""
        app = self.app()
        for i in range(app.childCount):
            window = app.getChildAtIndex(i)
            if window.name == "Übersicht":
                fields = pyatspi.findAllDescendants(window, lambda a: a.getRoleName() == "label" and a.name == name)
                return "".join(field.description for field in fields)
        return None

    def text(self, title, name):
        return self.control(title, "text", name).queryText().getText(0, -1)

    def focused(self, title, name):
        return self.control(title, "text", name).getState().contains(pyatspi.STATE_FOCUSED)

    def enabled(self, title, role, name):
        return self.control(title, role, name).getState().contains(pyatspi.STATE_ENABLED)

    def context_menu_items(self, title, point):
        """Opens the context menu of the box at a point of a window and reads its items as a screen
        reader does."""
        self.title, self.point = title, point
        items = []

        def on_focus(event):
            if event.source.getRoleName() == "menu item" and not items:
                menu = event.source.parent
                items.extend(menu.getChildAtIndex(i).name.split("\t")[0] for i in range(menu.childCount))
                pyatspi.Registry.stop()

        pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
        pending = []  # the one-shot steps not run yet, removed should the menu be read before

        def once(delay, action):
            def run():
                pending.remove(source)
                action()
                return False
            source = GLib.timeout_add(delay, run)
            pending.append(source)

        once(200, lambda: self.click(self.title, *self.point, button="3"))
        once(800, lambda: self.keys("Down"))
        once(5000, pyatspi.Registry.stop)
        pyatspi.Registry.start()
        pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
        for source in pending:
            GLib.source_remove(source)
        self.keys("Escape")
        return [item for item in items if item]

    # ---- the log

    def make_log(self, folder, rows):
        connection = sqlite3.connect(os.path.join(folder, "Verbrauch.mdb"))
        with open(self.args.schema, encoding="utf-8") as schema:
            connection.executescript(schema.read())
        connection.executemany('INSERT INTO "Auto" VALUES (?, ?, ?, ?)', rows)
        connection.commit()
        connection.close()

    def rows(self, folder):
        connection = sqlite3.connect(os.path.join(folder, "Verbrauch.mdb"), timeout=3)
        rows = connection.execute('SELECT * FROM "Auto" ORDER BY rowid').fetchall()
        connection.close()
        return rows

    # ---- the walk

    def run(self):
        self.start_display()
        folder = os.path.join(self.work, "app")
        os.makedirs(folder)
        shutil.copy(self.args.program, os.path.join(folder, "tankverzehr"))
        earlier = ("02.11.2026", 600.0, 42.0, 7.0)
        self.make_log(folder, [earlier])
        today = datetime.date.today().strftime("%d.%m.%Y")
        main, overview, editor = "Tankverzehrsberechnung", "Übersicht", "Bearbeiten"

        self.step("The program starts in its folder beside its log")
        self.start_program(folder)
        if not self.check("main window shown", self.wait(lambda: self.window(main), 10)):
            return
        self.wait(lambda: self.app(), 10)
        self.frame_centred(main)
        self.activate(main)
        self.same("a screen reader names the litres box", "", self.text(main, "Verbrauchte Liter"))
        self.same("a screen reader names the kilometres box", "", self.text(main, "Gefahrene Kilometer"))
        vehicles = self.control(main, "combo box", "    Auto")
        labels = [target.name for relation in vehicles.getRelationSet()
                  if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
                  for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
        self.same("a screen reader hears the vehicle list labelled", ["Fahrzeug"], labels)

        self.step("30 litres, 400 km, Alt+B; then access keys that match nothing")
        self.type("30")
        self.keys("Tab")
        self.type("400")
        self.keys("alt+b")
        self.wait(lambda: len(self.rows(folder)) == 2)
        self.same("the fill-up recorded", [earlier, (today, 400.0, 30.0, 7.5)], self.rows(folder))
        self.keys("End", "alt+b", "alt+x", "ISO_Level3_Shift+q")
        self.same("Alt+B on 'Nochmal' and Alt+X type nothing, AltGr+Q types @", "30@",
                  self.wait(lambda: self.text(main, "Verbrauchte Liter")))
        self.keys("alt+n")
        self.wait(lambda: self.text(main, "Verbrauchte Liter") == "")
        self.keys("alt+n")
        self.same("Alt+N on 'Berechnen' types nothing", "", self.text(main, "Verbrauchte Liter"))
        self.same("nothing more recorded", 2, len(self.rows(folder)))

        self.step("Letters as litres, Alt+B: 'Fehler', and the keys go back to the litres")
        self.type("abc")
        self.same("the context menu of a box speaks German",
                  ["Rückgängig", "Wiederherstellen", "Ausschneiden", "Kopieren", "Einfügen", "Löschen",
                   "Alles auswählen"], self.context_menu_items(main, (72, 116)))
        self.keys("Tab")
        self.type("400")
        self.keys("alt+b")
        if self.close_box("Fehler"):
            self.check("the main window is active again", self.wait(lambda: self.active_title() == main))
            self.type("44")
            self.same("the next keys land in the emptied litres box", "44",
                      self.wait(lambda: self.text(main, "Verbrauchte Liter") == "44" and "44"))
            self.same("the kilometres box is empty", "", self.text(main, "Gefahrene Kilometer"))
        self.same("refused input records nothing", 2, len(self.rows(folder)))
        self.shoot(main)

        self.step("Alt+Ü: the overview; the keyboard way to the editor")
        self.keys("alt+udiaeresis")
        if not self.check("overview shown and active", self.wait(lambda: self.active_title() == overview)):
            return
        self.frame_centred(overview)
        for name, value in (("Gesamte Kilometer", "1000"), ("Gesamte Liter", "72"),
                            ("Durchschnitts- verbrauch", "7,2")):
            self.same("a screen reader hears '%s' and its value" % name, value, self.wait(lambda: self.value(name)))
        self.check("the grid is named for a screen reader", self.wait(lambda: self.control(overview, "table", "Einträge")))
        self.shoot(overview)
        self.keys("Down", "space")
        self.check("Space selects the row: 'Bearbeiten' enabled",
                   self.wait(lambda: self.enabled(overview, "push button", "Bearbeiten")))
        self.keys("Tab", "space")
        if not self.check("editor shown and active", self.wait(lambda: self.active_title() == editor)):
            return
        self.frame_centred(editor)
        self.same("the editor shows the new entry", "30", self.wait(lambda: self.text(editor, "Getankte Liter")))
        self.same("a screen reader names the editor's boxes", [today, "30", "7,5", "400"],
                  [self.text(editor, name) for name in ("Datum", "Getankte Liter", "Verbrauch", "Kilometer")])

        self.step("Message boxes in the editor: the keys stay in the editor, no edit is lost")
        main_boxes = (self.text(main, "Verbrauchte Liter"), self.text(main, "Gefahrene Kilometer"))
        # Editor boxes (twips / 15): date at (112, 8), litres at (112, 32), kilometres at (112, 80).
        self.click(editor, 150, 86)
        self.keys("End", "alt+x")
        self.same("Alt+X in the editor types nothing", "400", self.text(editor, "Kilometer"))
        self.keys("ctrl+a")
        self.type("555")
        self.click(editor, 150, 38)
        self.keys("End")
        self.type("x")
        if self.close_box("Tankverzehr"):  # "Falsche Eingabe"
            self.check("the editor is active again", self.wait(lambda: self.active_title() == editor))
            self.check("the emptied litres box has the focus",
                       self.wait(lambda: self.focused(editor, "Getankte Liter")))
            self.type("44")
            self.same("the next keys land in the editor's litres box", "44",
                      self.wait(lambda: self.text(editor, "Getankte Liter") == "44" and "44"))
        self.keys("ctrl+a", "BackSpace")
        self.close_box("Tankverzehr")  # "Falsche Eingabe" for the emptied box
        # "Übernahme" clicked: Alt+Ü would first release Alt in the empty box, which refuses it.
        self.click(editor, 60, 112)
        if self.close_box("Tankverzehr"):  # the empty-field message
            self.check("the empty litres box has the focus",
                       self.wait(lambda: self.focused(editor, "Getankte Liter")))
            self.type("45")
            self.same("the next keys land in the empty litres box", "45",
                      self.wait(lambda: self.text(editor, "Getankte Liter") == "45" and "45"))
        self.click(editor, 150, 14)
        self.keys("ctrl+a")
        self.type("1.11.2020")
        self.keys("alt+udiaeresis")
        if self.close_box("Datum n.i.O."):
            self.check("the emptied date box has the focus", self.wait(lambda: self.focused(editor, "Datum")))
            self.type("01.11.2020")
            self.same("the next keys land in the date box", "01.11.2020",
                      self.wait(lambda: self.text(editor, "Datum") == "01.11.2020" and "01.11.2020"))
        self.same("the kilometres typed before the boxes are kept", "555", self.text(editor, "Kilometer"))
        self.same("the main window's boxes are untouched", main_boxes,
                  (self.text(main, "Verbrauchte Liter"), self.text(main, "Gefahrene Kilometer")))
        self.shoot(editor)
        self.keys("alt+udiaeresis")
        self.wait(lambda: self.rows(folder)[1][1] == 555.0)
        self.same("the corrected entry stored", [earlier, ("01.11.2020", 555.0, 45.0, 8.1)], self.rows(folder))
        self.check("the overview is active again", self.wait(lambda: self.active_title() == overview))
        self.same("the overview shows the corrected totals", "87",
                  self.wait(lambda: self.value("Gesamte Liter") == "87" and "87"))

        if self.args.window_manager != "none":
            self.desktop_walk(main, overview, editor)
        self.stop_program()

        self.step("Started in a folder without Verbrauch.mdb")
        bare = os.path.join(self.work, "bare")
        os.makedirs(bare)
        shutil.copy(self.args.program, os.path.join(bare, "tankverzehr"))
        self.start_program(bare)
        if self.check("main window shown", self.wait(lambda: self.window(main), 10)):
            self.activate(main)
            self.type("6,3")
            self.keys("Tab")
            self.type("180")
            self.keys("alt+b")
            self.close_box("Tankverzehr")
            self.check("the program keeps running", self.alive())
            self.same("the folder holds only the program", ["tankverzehr"], sorted(os.listdir(bare)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--schema", required=True)
    parser.add_argument("--shots", required=True)
    parser.add_argument("--window-manager", choices=list(WINDOW_MANAGERS), default="none")
    args = parser.parse_args()
    os.makedirs(args.shots, exist_ok=True)
    walk = Walk(args)
    try:
        walk.run()
    finally:
        walk.cleanup()
    print("took %.1f s" % (time.monotonic() - walk.started))
    print("%d passed, %d failed" % (walk.passed, walk.failed))
    return 0 if walk.failed == 0 and walk.passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
