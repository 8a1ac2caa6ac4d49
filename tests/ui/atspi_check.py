# Walks the desktop's accessibility tree once and checks that the running program's window names
# its controls for a screen reader; atspi_check.sh starts the desktop and the program around it.
import os
import sys
import time

import pyatspi

APP_WAIT_S = 20.0
FRAME_TITLE = "Corvani (1)"
PUSH_BUTTONS = [
    "R", "V", "B", "Llum Blanca", "Anàlisi de la llum",
    "vermell", "verd", "blau", "cian", "magenta", "groc", "FULL NOU",
    "tinta cian", "tinta magenta", "tinta groga",
    "buida el pot", "pinta el paper amb la mescla",
]
# The picture boxes are announced as pictures; the rest are found by name.
IMAGES = ["ull", "llum"]
NAMED = ["direcció de la llum", "FILTRES"]
MAX_NODES = 2000


def frames():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        for child in app:
            if child is not None and child.getRoleName() == "frame" and child.name == FRAME_TITLE:
                yield app, child


def walk(node, out, depth=0):
    # The tree comes over D-Bus from another process: bound the walk so a cycle or a huge tree
    # ends the check instead of hanging it.
    if node is None or len(out) >= MAX_NODES or depth > 30:
        return
    out.append((node.getRoleName(), node.name, depth))
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
                if any(role == "push button" for role, _, _ in nodes):
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
    buttons = {name for role, name, _ in nodes if role == "push button"}
    names = {name for _, name, _ in nodes}
    missing = [f"push button \"{n}\"" for n in PUSH_BUTTONS if n not in buttons]
    images = {name for role, name, _ in nodes if role == "image"}
    missing += [f"image \"{n}\"" for n in IMAGES if n not in images]
    missing += [f"element \"{n}\"" for n in NAMED if n not in names]
    unnamed = [role for role, name, _ in nodes if role == "push button" and not name.strip()]
    print(f"application \"{app.name}\", frame \"{FRAME_TITLE}\": {len(nodes)} accessible objects")
    # ATSPI_CHECK_DUMP=1 prints the tree even when the check passes.
    if missing or unnamed or os.environ.get("ATSPI_CHECK_DUMP"):
        for role, name, depth in nodes:
            print(f"  {'  ' * depth}{role}: \"{name}\"")
    if missing or unnamed:
        for m in missing:
            print(f"FAIL: missing {m}")
        if unnamed:
            print(f"FAIL: {len(unnamed)} push button(s) without a name")
        sys.exit(1)
    print(f"PASS: {len(PUSH_BUTTONS)} push buttons, {len(IMAGES)} images and {len(NAMED)} other elements found by name")


if __name__ == "__main__":
    main()
