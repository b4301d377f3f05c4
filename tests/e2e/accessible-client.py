"""A screen reader's side of the accessibility bus, for the end-to-end scripts.

accessible-client.py listen
    registers for state changes, as screen readers do, and stays until it is ended.
accessible-client.py PID STEP...
    runs each step against the accessible tree of the program with that process id; a step is
    `show ROLE NAME TEXT` (a showing object of that role and name, whose description holds
    TEXT, which may be empty), `gone ROLE NAME` (no longer showing) or `click ROLE NAME` (its
    first action). Each step waits ten seconds at most; the status is 1 at the first step that
    fails.
"""

import faulthandler
import os
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

WAIT_SECONDS = 10


def listen():
    listener = Atspi.EventListener.new(lambda event: None)
    listener.register("object:state-changed")
    Atspi.event_main()


def application(pid):
    desktop = Atspi.get_desktop(0)
    # Everything is asked anew at each look (the clearing takes in the whole tree).
    desktop.clear_cache()
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def showing(accessible):
    return accessible.get_state_set().contains(Atspi.StateType.SHOWING)


# The showing objects of the application, depth first; the hidden ones' subtrees are left out.
def walk(accessible):
    for i in range(accessible.get_child_count()):
        child = accessible.get_child_at_index(i)
        if child is not None and showing(child):
            yield child
            yield from walk(child)


def find(pid, role, name):
    app = application(pid)
    if app is None:
        return None
    for accessible in walk(app):
        if accessible.get_role_name() == role and accessible.get_name() == name:
            return accessible
    return None


def wait(pid, what, test):
    deadline = time.monotonic() + WAIT_SECONDS
    while True:
        # Events from the game are taken as they come, as a screen reader would.
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            os.kill(pid, 0)
        except ProcessLookupError:
            raise SystemExit(f"FAIL: the game ended while waiting for {what}")
        try:
            found = test()
            if found is not None:
                return found
        except GLib.Error:
            pass  # the tree changed under the question: ask again
        if time.monotonic() > deadline:
            raise SystemExit(f"FAIL: no {what} within {WAIT_SECONDS} s")
        time.sleep(0.05)


ARITY = {"show": 3, "gone": 2, "click": 2}


def run(pid, steps):
    while steps:
        # A question that the game never answers ends the step too.
        faulthandler.dump_traceback_later(WAIT_SECONDS + 5, exit=True)
        verb = steps[0]
        if verb not in ARITY or len(steps) <= ARITY[verb]:
            raise SystemExit(f"a step cannot start with {steps}")
        role, name = steps[1:3]
        text = steps[3] if verb == "show" else ""
        steps = steps[1 + ARITY[verb] :]
        what = f"{role} '{name}'"
        if verb == "gone":
            wait(pid, f"end of {what}", lambda: None if find(pid, role, name) else True)
            print(f"gone {what}")
            continue
        found = wait(pid, what, lambda: find(pid, role, name))
        if verb == "show":
            description = found.get_description() or ""
            if text not in description:
                raise SystemExit(f"FAIL: {what} is described as '{description}', not '{text}'")
            print(f"read {what}: {description}")
        elif not found.do_action(0):
            raise SystemExit(f"FAIL: {what} refused its action")
        else:
            print(f"clicked {what}")


if __name__ == "__main__":
    if sys.argv[1:] == ["listen"]:
        listen()
    else:
        run(int(sys.argv[1]), sys.argv[2:])
