#!/usr/bin/python3
"""The window program end to end, driven as a screen reader drives it.

Runs the real tz4 on an X server with the simulator, finds windows, menu entries and buttons
through the accessibility interface (AT-SPI) by their names, and checks the records it stored
with the headless program. Run by run-on-xvfb.sh inside an X server and a session bus.

Usage: window_program.py TZ4 HOME_ROOT
"""

import json
import os
import signal
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 90  # seconds for anything the program does in one step

TZ4, ROOT = sys.argv[1], sys.argv[2]
HERE = os.path.abspath(__file__)


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


# --- the accessible tree ---------------------------------------------------------------

def named(node, role, name):
    try:
        return node.getRoleName() == role and (name is None or node.name == name)
    except Exception:  # a node that went away while we looked
        return False


def search(node, role, name, depth=0):
    if node is None or depth > 14:
        return None
    if named(node, role, name):
        return node
    try:
        children = list(node)
    except Exception:
        return None
    for child in children:
        found = search(child, role, name, depth + 1)
        if found is not None:
            return found
    return None


def search_all(node, role, name, depth=0):
    if node is None or depth > 14:
        return []
    found = [node] if named(node, role, name) else []
    try:
        children = list(node)
    except Exception:
        return found
    for child in children:
        found += search_all(child, role, name, depth + 1)
    return found


def wait_for(what, find, timeout=TIMEOUT):
    end = time.time() + timeout
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    raise Failure("gave up waiting for " + what)


def application(pid):
    def find():
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.name == "tz4" and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        return None
    return wait_for("the tz4 application on the accessibility bus", find)


def window(app, title_start):
    """A frame (the main window or a data window) whose name starts with title_start."""
    def find():
        return search_prefix(app, "frame", title_start)
    return wait_for("window " + title_start, find)


def search_prefix(node, role, prefix, depth=0):
    if node is None or depth > 8:
        return None
    try:
        if node.getRoleName() == role and node.name.startswith(prefix):
            return node
        for child in node:
            found = search_prefix(child, role, prefix, depth + 1)
            if found is not None:
                return found
    except Exception:
        pass
    return None


def message(app, title):
    """The message box (an alert or dialog at the top of the application) with this title."""
    def find():
        try:
            for child in app:
                if child.getRoleName() in ("alert", "dialog") and child.name == title:
                    return child
        except Exception:
            pass
        return None
    return wait_for("message box '%s'" % title, find)


def text_of(box):
    labels = []

    def walk(node):
        for child in node:
            if child.getRoleName() == "label" and child.name:
                labels.append(child.name)
            walk(child)
    walk(box)
    return "\n".join(labels)


def answer(app, title, button, expect_text=None):
    box = message(app, title)
    text = text_of(box)
    if expect_text is not None:
        check(expect_text in text, "message '%s' says %r, not %r" % (title, text, expect_text))
    press_now(wait_for("button " + button, lambda: search(box, "push button", button)))
    wait_for("message '%s' to close" % title, lambda: not still_there(app, box))
    return text


def still_there(app, box):
    try:
        return any(child == box for child in app)
    except Exception:
        return False


def press_now(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    raise Failure("%s '%s' cannot be pressed" % (node.getRoleName(), node.name))


# A menu entry runs its action before the program answers the press, and a measurement waits
# inside it, so the press is left to a helper process and this one goes on looking.
presses = []


def choose(frame_title, entry):
    presses.append(subprocess.Popen([sys.executable, HERE, "--press", str(PROGRAM.pid), frame_title, entry]))


# The active data window's entries come first in a merged menu and the frame's own after them,
# so the frame's Close(X) is the last entry of that name.
FRAMES_OWN = "TZ-4"


def press_in_helper(pid, frame_title, entry):
    app = application(pid)
    frame = window(app, frame_title)
    if frame_title == FRAMES_OWN:
        bar = wait_for("the frame's menu bar",
                       lambda: next((child for child in frame if named(child, "menu bar", None)), None))
        item = wait_for("menu entry " + entry, lambda: (search_all(bar, "menu item", entry) or [None])[-1])
    else:
        item = wait_for("menu entry " + entry, lambda: search(frame, "menu item", entry))
    try:
        press_now(item)
    except Exception:
        pass  # the program answers once the action has come back; nobody waits for that


def entry_named(app, frame_title, prefixes):
    frame = window(app, frame_title)
    for prefix in prefixes:
        found = search(frame, "menu item", prefix)
        if found is not None:
            return found
    return None


# --- the program -----------------------------------------------------------------------

PROGRAM = None


def tz4(home, *args):
    run = subprocess.run([TZ4, "--home", home] + list(args), capture_output=True, text=True, timeout=300)
    return run


def start(home, speed, *keys):
    global PROGRAM
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    PROGRAM = subprocess.Popen([TZ4, "--home", home, "--simulate", "--sim-speed", str(speed),
                                "--open", ",".join(keys)], env=env)
    return application(PROGRAM.pid)


def finish(expected_code):
    try:
        code = PROGRAM.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        PROGRAM.kill()
        raise Failure("the program did not end")
    for helper in presses:
        helper.kill()
    presses.clear()
    check(code == expected_code, "the program ended with %s, not %s" % (code, expected_code))


def connect(app):
    choose("TZ-4", "Connect(N)")
    # Setting the anode voltage reports itself, then the instrument is ready.
    answer(app, "Anode Voltage", "OK")
    answer(app, "TZ-4 Ready", "OK", "TZ-4 Initialize Finished")


def adjust_light(app, title):
    choose(title, "UV Intensity adjustment(L)")
    answer(app, "UV Intensity adjustment", "Yes")
    answer(app, "UV Intensity adjustment", "OK", "UV intensity adjustment done.")


def measure_and_save(app, title):
    choose(title, "Measurement(G)")
    answer(app, "Measurment finished", "OK", "The measurement is done.")
    answer(app, "Finished", "Yes", "Save this Data?")


def wait_until_scanning(app, title):
    wait_for("the scan to start in " + title,
             lambda: entry_named(app, title, ["Measurement Cancel(G)"]), timeout=TIMEOUT)


def records(home):
    run = tz4(home, "records", "--json")
    check(run.returncode == 0, "records failed: " + run.stderr)
    keys = [item["key"] for item in json.loads(run.stdout) if item["key"].split()[-1] in "WCLDT"]
    return sorted(keys, key=lambda key: int(key.split()[0]))


def shown(home, key):
    run = tz4(home, "show", key.split()[0], "--json")
    check(run.returncode == 0, "show %s failed: %s" % (key, run.stderr))
    return json.loads(run.stdout)


def seed(home, *settings):
    run = tz4(home, "--simulate", "--sim-speed", "2000", "measure", "work", "--sample", "Seed", *settings,
              "--light", "10", "--adjust", "--yes")
    check(run.returncode == 0, "seeding failed: " + run.stderr)
    return run.stdout.strip()


# --- the runs --------------------------------------------------------------------------

def two_windows_two_saves(home):
    """A stored record and a new one side by side; two scans saved from the new one."""
    seeded = seed(home, "--start", "5.0", "--end", "5.5", "--step", "0.1", "--time", "2")
    check(seeded == "1 W", "the seed is " + seeded)
    before = shown(home, "1 W")
    app = start(home, 50, "1 W", "0 W", "0 C")
    answer(app, "Measure Form", "OK", "Already started")
    connect(app)
    adjust_light(app, "0 W")
    measure_and_save(app, "0 W")
    window(app, "2 W")
    measure_and_save(app, "2 W")
    window(app, "3 W")
    choose("TZ-4", "Close(X)")
    finish(0)

    check(records(home) == ["1 W", "2 W", "3 W"], "records are %s" % records(home))
    for key in ("2 W", "3 W"):
        record = shown(home, key)
        points = record["points"]
        check(len(points) == 6, "%s holds %d points" % (key, len(points)))
        check(abs(points[0][0] - 5.0) < 1e-6 and abs(points[-1][0] - 5.5) < 1e-6,
              "%s spans %s..%s eV" % (key, points[0][0], points[-1][0]))
    check(shown(home, "1 W") == before, "the stored record shown beside the new one changed")


def close_during_scan(home):
    """The frame closed mid-scan: asked, cancelled safely, closed, nothing stored."""
    seed(home, "--start", "4.0", "--end", "6.0", "--step", "0.02", "--time", "2")
    app = start(home, 20, "0 W")
    connect(app)
    adjust_light(app, "0 W")
    choose("0 W", "Measurement(G)")
    wait_until_scanning(app, "0 W")
    choose("TZ-4", "Close(X)")
    answer(app, "Measurement", "Yes")
    answer(app, "Photoelectric Work Function", "OK")  # the cancel reports itself
    finish(0)
    check(records(home) == ["1 W"], "a cancelled scan was stored: %s" % records(home))


def stop_signal_during_scan(home):
    """SIGTERM mid-scan: the program cancels safely and ends by itself, storing nothing."""
    seed(home, "--start", "4.0", "--end", "6.0", "--step", "0.02", "--time", "2")
    app = start(home, 20, "0 W")
    connect(app)
    adjust_light(app, "0 W")
    choose("0 W", "Measurement(G)")
    wait_until_scanning(app, "0 W")
    PROGRAM.send_signal(signal.SIGTERM)
    finish(128 + signal.SIGTERM)
    check(records(home) == ["1 W"], "a scan stopped by a signal was stored: %s" % records(home))


def main():
    runs = [two_windows_two_saves, close_during_scan, stop_signal_during_scan]
    failed = 0
    for run in runs:
        home = os.path.join(ROOT, run.__name__)
        os.makedirs(home, exist_ok=True)
        began = time.time()
        try:
            run(home)
            print("ok   %s (%.1f s)" % (run.__name__, time.time() - began), flush=True)
        except Exception as error:
            failed += 1
            print("FAIL %s: %s" % (run.__name__, error), flush=True)
            if PROGRAM is not None and PROGRAM.poll() is None:
                PROGRAM.kill()
            for helper in presses:
                helper.kill()
            presses.clear()
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == "--press":
        press_in_helper(int(sys.argv[2]), sys.argv[3], sys.argv[4])
        sys.exit(0)
    sys.exit(main())
