# Walks the desktop's accessibility tree once and checks that the running program's window names
# its controls for a screen reader; atspi_check.sh starts the desktop and the program around it.
import os
import sys
import time

import pyatspi
from gi.repository import GLib

APP_WAIT_S = 20.0
FRAME_TITLE = "Corvani (1)"
PUSH_BUTTONS = [
    "R, encén la llum vermella", "V, encén la llum verda", "B, encén la llum blava", "Llum Blanca, encén la llum blanca",
    "Anàlisi de la llum, analitza la llum en els tres colors bàsics",
    "vermell, posa el filtre vermell", "verd, posa el filtre verd", "blau, posa el filtre blau", "cian, posa el filtre cian",
    "magenta, posa el filtre magenta", "groc, posa el filtre groc", "FULL NOU, posa un full nou de paper blanc",
    "Afegeix tinta cian al pot", "Afegeix tinta magenta al pot", "Afegeix tinta groga al pot",
    "Buida el pot de mescla", "Pinta el paper amb la mescla",
]
# Roles are compared by value: their display names change between AT-SPI versions (push buttons
# are "push button" up to at-spi2-core 2.52 and "button" after it).
PUSH_BUTTON = pyatspi.ROLE_PUSH_BUTTON
IMAGE = pyatspi.ROLE_IMAGE
ROLE_WORDS = {PUSH_BUTTON: "push button", IMAGE: "image", pyatspi.ROLE_CANVAS: "canvas"}
# The picture boxes are announced as pictures; the rest are found by name.
IMAGES = ["ull", "Llum que apunta a l'ull"]
NAMED = ["Direcció de la llum", "FILTRES"]
MAX_NODES = 2000
# What the eye is told before and after white light is switched on, and the shapes on the surface.
EYE_DARK = "A l'ull no arriba cap llum."
EYE_WHITE = "Arriba a l'ull llum blanca."
SWITCH = "Llum Blanca, encén la llum blanca"
NOTICE_WHITE = "botó Apaga Llum, apaga la llum blanca. " + EYE_WHITE
SURFACE = "banc òptic"
SHAPES = ["paper blanc", "pot de mescla buit"]
EVENT_WAIT_S = 10.0


def frames():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        for child in app:
            if child is not None and child.getRole() == pyatspi.ROLE_FRAME and child.name == FRAME_TITLE:
                yield app, child


def walk(node, out, depth=0):
    # The tree comes over D-Bus from another process: bound the walk so a cycle or a huge tree
    # ends the check instead of hanging it.
    if node is None or len(out) >= MAX_NODES or depth > 30:
        return
    out.append((node.getRole(), node.name, depth, node))
    for child in node:
        walk(child, out, depth + 1)


def program_ended():
    # atspi_check.sh passes the program's process id; an ended child stays a zombie until reaped.
    pid = os.environ.get("ATSPI_CHECK_PID")
    if not pid:
        return False
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] in ("Z", "X")
    except OSError:
        return True


def find_frame():
    # The program registers with the registry some time after it starts; poll, with a deadline.
    deadline = time.monotonic() + APP_WAIT_S
    while time.monotonic() < deadline and not program_ended():
        try:
            for app, frame in frames():
                nodes = []
                walk(frame, nodes)
                if any(role == PUSH_BUTTON for role, _, _, _ in nodes):
                    return app, nodes
        except Exception:  # the registry may not answer until it is up
            pass
        time.sleep(0.25)
    apps = []
    try:
        apps = [a.name for a in pyatspi.Registry.getDesktop(0) if a is not None]
    except Exception:
        pass
    if program_ended():
        sys.exit("FAIL: the program ended before its window appeared in the accessibility tree")
    sys.exit(f"FAIL: no frame \"{FRAME_TITLE}\" with push buttons in the accessibility tree after "
             f"{APP_WAIT_S:.0f} s; applications registered: {apps}")


def main():
    app, nodes = find_frame()
    buttons = {name for role, name, _, _ in nodes if role == PUSH_BUTTON}
    names = {name for _, name, _, _ in nodes}
    missing = [f"push button \"{n}\"" for n in PUSH_BUTTONS if n not in buttons]
    images = {name for role, name, _, _ in nodes if role == IMAGE}
    missing += [f"image \"{n}\"" for n in IMAGES if n not in images]
    missing += [f"element \"{n}\"" for n in NAMED if n not in names]
    unnamed = [role for role, name, _, _ in nodes if role == PUSH_BUTTON and not name.strip()]
    print(f"application \"{app.name}\", frame \"{FRAME_TITLE}\": {len(nodes)} accessible objects")
    # ATSPI_CHECK_DUMP=1 prints the tree even when the check passes.
    if missing or unnamed or os.environ.get("ATSPI_CHECK_DUMP"):
        for _, name, depth, node in nodes:
            print(f"  {'  ' * depth}{node.getRoleName()}: \"{name}\"")
    if missing or unnamed:
        for m in missing:
            print(f"FAIL: missing {m}")
        if unnamed:
            print(f"FAIL: {len(unnamed)} push button(s) without a name")
        sys.exit(1)
    print(f"PASS: {len(PUSH_BUTTONS)} push buttons, {len(IMAGES)} images and {len(NAMED)} other elements found by name")
    check_light_at_the_eye(nodes)


def find(nodes, role, name):
    for r, n, _, node in nodes:
        if r == role and n == name:
            return node
    sys.exit(f"FAIL: no {ROLE_WORDS[role]} \"{name}\" in the accessibility tree")


def check_light_at_the_eye(nodes):
    eye = find(nodes, IMAGE, "ull")
    if eye.description != EYE_DARK:
        sys.exit(f"FAIL: the eye's description at start is \"{eye.description}\", not \"{EYE_DARK}\"")
    surface = find(nodes, pyatspi.ROLE_CANVAS, SURFACE)
    children = [(c.getRole(), c.name) for c in surface if c is not None]
    missing = [s for s in SHAPES if (IMAGE, s) not in children]
    if missing or (pyatspi.ROLE_NOTIFICATION, EYE_DARK) not in children:
        shown = [(c.getRoleName(), c.name) for c in surface if c is not None]
        sys.exit(f"FAIL: the surface's children are {shown}; expected the shapes {SHAPES} and the notice")

    # A screen reader speaks a notification as it is shown, whatever has the focus: listen for
    # that event, then switch white light on as a pupil would, through the button's action.
    heard = []
    loop = GLib.MainLoop()

    def on_showing(event):
        try:
            if event.detail1 == 1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
                heard.append(event.source.name)
                loop.quit()
        except Exception as e:  # an object gone between the event and the question
            print(f"event not readable: {e}")

    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    switch = find(nodes, PUSH_BUTTON, SWITCH)

    def press():
        switch.queryAction().doAction(0)
        return False

    # The program learns of the new listener from the registry; give it a moment before acting.
    GLib.timeout_add(500, press)
    GLib.timeout_add(int(EVENT_WAIT_S * 1000), loop.quit)
    loop.run()
    pyatspi.Registry.deregisterEventListener(on_showing, "object:state-changed:showing")
    if heard != [NOTICE_WHITE]:
        sys.exit(f"FAIL: after \"{SWITCH}\" the notifications shown were {heard}, expected [\"{NOTICE_WHITE}\"]")
    if eye.description != EYE_WHITE:
        sys.exit(f"FAIL: after \"{SWITCH}\" the eye's description is \"{eye.description}\"")
    print(f"PASS: the eye is described, the surface names its shapes, and \"{NOTICE_WHITE}\" is announced")


if __name__ == "__main__":
    main()
