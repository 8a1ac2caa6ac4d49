# Plays a keyboard session on the program while Orca listens, and checks what Orca says after
# each key: the "SPEECH OUTPUT" lines of its debug log. orca_check.sh starts the desktop, the
# speech server and Orca around it. ORCA_CHECK_RECORD=1 prints what is heard without checking.
import os
import pty
import re
import subprocess
import sys
import threading
import time
import tty

ORCA_WAIT_S = 30.0
# Orca has finished with a key once its log has been still this long; a step that is not heard
# in full by the deadline fails.
QUIET_S = 1.5
STEP_DEADLINE_S = 20.0
MENU_SHOWN = "object:state-changed:showing for [popup menu"
SPOKEN = re.compile(r" - SPEECH OUTPUT: '(.*)'(?: voice=\S+)?\s*\{.*\}$")

WINDOW_TITLE = r"^Corvani \(1\)$"
BOX_TITLE = "^Corvani$"


# Orca's versions say the same words in the same order, but break them into utterances and end
# them with a full stop differently (Orca 43 says "notificació filtre 1: vermell.", Orca 48
# "notificació", "filtre 1: vermell."), and at-spi2-core 2.53 renamed the push button's role, which
# Orca 48 says "botó" where Orca 43 says "botó de pulsació". A step's words are compared as one
# text, each utterance's closing full stop dropped and the button's role in its short form.
def said(utterances):
    return " ".join(u.removesuffix(".") for u in utterances).replace("botó de pulsació", "botó")


# Qt 6.8 tells a screen reader of a change of the focused control's caption or value itself, and
# the program's notice then says only what came to the eye; under Qt 6.4 the notice says both.
QT_TELLS_FOCUSED_CHANGES = tuple(map(int, os.environ["ORCA_CHECK_QT_VERSION"].split(".")[:2])) >= (6, 8)


def changed(caption, notice="", button=True):
    """A key that changes the caption of the focused button (or the direction bar's value) to
    caption, and brings notice to the eye."""
    if QT_TELLS_FOCUSED_CHANGES:
        return [f"{caption} botó." if button else f"{caption}."] + ([f"notificació {notice}"] if notice else [])
    return [" ".join(filter(None, ["notificació", "botó" if button else "", f"{caption}.", notice]))]


WINDOW = "Corvani (1) marc."
BOX = "alerta Corvani."
OK = "D'acord botó de pulsació."
COM_FUNCIONA = (
    "amb llum blanca o amb els colors podeu enviar un raig de llum. Podeu interposar filtres de colors per veure "
    "quina llum arriba a l'ull. Podeu analitzar la llum i veure cada una de les tres components de colors bàsics. "
    "També és possible pintar un paper amb colors-pigment primaris  o les seves mescles i veure com és la llum "
    "que surt  ")

# Under Qt 6.8, with no window manager, the keyboard's return to the window from its closed menu
# now and then reaches the program after the box the item opened: Qt gives the keyboard back to
# the box, and Orca says the window and the box again. What a box opened from a menu may say then.
def box_from_menu(item, menu, text, focused):
    once = [item, menu, BOX, text, OK]
    if not QT_TELLS_FOCUSED_CHANGES:
        return [once]
    return [once, [item, menu, BOX, text, "Corvani (1)", focused, BOX, text, OK]]


# (what the pupil does, the keys, what Orca must say), in order, from the window as it opens.
# The desktop has no window manager, whose work the harness does where it matters: GIVE_BACK
# gives the window the keyboard once a message box has closed.
GIVE_BACK = "give the window the keyboard back"
STEPS = [
    ("the window opens", [], [WINDOW, "vermell, posa el filtre vermell botó de pulsació."]),
    ("a red filter is put in the ray", ["space"], ["notificació filtre 1: vermell."]),
    ("the options menu", ["alt+o"], ["Només Filtres.", "menú Opcions."]),
    ("down to inks only", ["Down"], ["Només Tintes.", "menú Opcions."]),
    ("inks only: the filters go, the focus moves on", ["Return"],
     ["FULL NOU, posa un full nou de paper blanc botó de pulsació.", "notificació cap filtre."]),
    ("to the cyan ink", ["Tab"], ["Afegeix tinta cian al pot botó de pulsació."]),
    ("cyan poured", ["space"], ["notificació pot de mescla: 1 porció, cian."]),
    ("to the magenta ink", ["Tab"], ["Afegeix tinta magenta al pot botó de pulsació."]),
    ("magenta poured", ["space"], ["notificació pot de mescla: 2 porcions, blau."]),
    ("to the yellow ink", ["Tab"], ["Afegeix tinta groga al pot botó de pulsació."]),
    ("to the eye", ["Tab"], ["ull imatge.", "A l'ull no arriba cap llum."]),
    ("to the analysis button", ["Tab"], ["Anàlisi de la llum, analitza la llum en els tres colors bàsics botó de pulsació."]),
    ("analysis on", ["space"], changed("normal, torna a la llum normal")),
    ("to the red lamp", ["Tab"], ["R, encén la llum vermella botó de pulsació."]),
    ("red lamp on: the button greys, the focus moves on", ["space"],
     ["V, encén la llum verda botó de pulsació.", "notificació Arriba a l'ull llum vermella."]),
    ("to the blue lamp", ["Tab"], ["B, encén la llum blava botó de pulsació."]),
    ("to the white-light switch", ["Tab"], ["Llum Blanca, encén la llum blanca botó de pulsació."]),
    ("white light on, in its three components", ["space"],
     changed("Apaga Llum, apaga la llum blanca", "Arriben a l'ull llum vermella, llum verda i llum blava.")),
    ("white light off", ["space"], changed("Llum Blanca, encén la llum blanca", "A l'ull no arriba cap llum.")),
    ("back to the blue lamp", ["shift+Tab"], ["B, encén la llum blava botó de pulsació."]),
    ("blue lamp on: the focus moves on", ["space"],
     ["Llum Blanca, encén la llum blanca botó de pulsació.", "notificació Arriba a l'ull llum blava."]),
    ("to the lamp", ["Tab"], ["Llum que apunta a l'ull imatge."]),
    ("to BORRA TOT", ["Tab"], ["BORRA TOT, apaga els llums i treu els filtres botó de pulsació."]),
    ("to the blue lamp's off button", ["Tab"], ["Off, apaga la llum blava botó de pulsació."]),
    ("blue lamp off: the button goes, the focus moves on", ["space"],
     ["Direcció de la llum barra de desplaçament.", "La llum apunta a l'ull.",
      "notificació A l'ull no arriba cap llum."]),
    ("the lamp turned down", ["Down"], changed("La llum apunta al paper", button=False)),
    ("to the paint button", ["Tab"], ["Pinta el paper amb la mescla botó de pulsació."]),
    ("the paper painted", ["space"], ["notificació paper blau."]),
    ("to the pot's emptying button", ["Tab"], ["Buida el pot de mescla botó de pulsació."]),
    ("the pot emptied", ["space"], ["notificació pot de mescla buit."]),
    ("the empty pot emptied: its box, once", ["space"],
     [BOX, "No hi ha tinta al pot de les mescles. No hi ha res que buidar.", OK]),
    ("the box answered", ["Return", GIVE_BACK], [WINDOW, "Buida el pot de mescla botó de pulsació."]),
    ("to the lamp turned down", ["Tab"], ["Llum que apunta al paper imatge."]),
    ("to FULL NOU", ["Tab"], ["FULL NOU, posa un full nou de paper blanc botó de pulsació."]),
    ("a new sheet", ["space"], ["notificació paper blanc."]),
    ("the information menu", ["alt+i"], ["Sobre aquest programa.", "menú Informació."]),
    ("How it works: its box", ["Down", "Return"],
     box_from_menu("Com funciona.", "menú Informació.", COM_FUNCIONA, "FULL NOU, posa un full nou de paper blanc botó.")),
    ("the box answered", ["Return", GIVE_BACK], [WINDOW, "FULL NOU, posa un full nou de paper blanc botó de pulsació."]),
]


class Orca:
    """Orca, writing its debug log to a terminal of ours: Python buffers a log written to a file by
    the block, but a terminal by the line, so each utterance is read as Orca makes it. The log is
    copied to orca.log as it comes."""

    def __init__(self, work):
        self.lines = []
        self.changed = time.monotonic()
        self.lock = threading.Lock()
        master, slave = pty.openpty()
        tty.setraw(slave)
        self.copy = open(os.path.join(work, "orca.log"), "w", encoding="utf-8")
        with open(os.path.join(work, "orca.out"), "w") as out:
            self.process = subprocess.Popen(
                ["orca", "--user-prefs", os.path.join(work, "orca"), "--debug-file", os.ttyname(slave)],
                stdout=out, stderr=subprocess.STDOUT)
        self.slave = slave
        threading.Thread(target=self._read, args=(master,), daemon=True).start()

    def _read(self, master):
        pending = b""
        while True:
            try:
                data = os.read(master, 65536)
            except OSError:
                return
            if not data:
                return
            pending += data
            *whole, pending = pending.split(b"\n")
            text = [line.decode("utf-8", "replace") for line in whole]
            with self.lock:
                if self.copy.closed:
                    return
                self.copy.write("".join(line + "\n" for line in text))
                self.lines += text
                self.changed = time.monotonic()

    def read(self, start):
        """The log's lines from line start on, and when it last grew."""
        with self.lock:
            return self.lines[start:], self.changed

    def stop(self):
        stop(self.process)
        os.close(self.slave)
        with self.lock:
            self.copy.close()


def stop(process):
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def spoken(lines):
    return [m.group(1) for m in map(SPOKEN.search, lines) if m]


def ways(expected):
    """What a step may be heard as: one list of utterances, or several."""
    return expected if isinstance(expected[0], list) else [expected]


def listen(orca, start, expected):
    """The utterances from log line start on, once they say at least as much as the shortest of
    what is expected and Orca's log is still, or at the deadline; and the line to listen from next."""
    deadline = time.monotonic() + STEP_DEADLINE_S
    while True:
        time.sleep(0.1)
        lines, changed = orca.read(start)
        heard = spoken(lines)
        now = time.monotonic()
        if now >= deadline or (len(said(heard)) >= min(len(said(w)) for w in ways(expected)) and now - changed >= QUIET_S):
            return heard, start + len(lines)


def wait_for_orca(orca):
    """Orca's first words, which must go to speech-dispatcher in Catalan; the line to listen from next."""
    deadline = time.monotonic() + ORCA_WAIT_S
    while time.monotonic() < deadline:
        time.sleep(0.2)
        lines, changed = orca.read(0)
        if spoken(lines) and time.monotonic() - changed >= QUIET_S:
            if not any("SPEECH DISPATCHER: Speaking" in line for line in lines):
                sys.exit("FAIL: Orca does not speak through speech-dispatcher; see orca.log")
            if not any(re.search(r"language ca\b", line) for line in lines):
                sys.exit("FAIL: Orca does not speak Catalan; see orca.log")
            return len(lines)
        if orca.process.poll() is not None:
            sys.exit("FAIL: Orca ended as it started; see orca.out")
    sys.exit(f"FAIL: Orca said nothing in {ORCA_WAIT_S:.0f} s")


def xdotool(*args):
    try:
        return subprocess.run(["xdotool", *args], stdout=subprocess.DEVNULL, timeout=STEP_DEADLINE_S).returncode == 0
    except subprocess.TimeoutExpired:
        return False


def give_keyboard_to_window():
    """As a window manager does: once no message box is shown, the main window has the keyboard."""
    deadline = time.monotonic() + STEP_DEADLINE_S
    while xdotool("search", "--onlyvisible", "--name", BOX_TITLE):
        if time.monotonic() > deadline:
            sys.exit("FAIL: a message box stays open")
        time.sleep(0.1)
    if not xdotool("search", "--sync", "--name", WINDOW_TITLE, "windowfocus", "--sync"):
        sys.exit("FAIL: xdotool could not give the window the keyboard")


def press(keys, orca):
    for key in keys:
        if key == GIVE_BACK:
            give_keyboard_to_window()
        elif key.startswith("alt+"):
            open_menu(key.removeprefix("alt+"), orca)
        elif not xdotool("key", key):
            sys.exit(f"FAIL: xdotool could not press {key}")
        time.sleep(0.15)


def open_menu(letter, orca):
    """Alt and a menu's letter, held as a pupil's hand holds them until the menu is shown. Let go at
    once, as xdotool's own chords are, the keys race the menu's grab of the keyboard with Orca's
    key listener, and now and then the menu closes as it opens."""
    start = len(orca.read(0)[0])
    if not xdotool("keydown", "alt", "sleep", "0.1", "keydown", letter):
        sys.exit(f"FAIL: xdotool could not press alt+{letter}")
    deadline = time.monotonic() + STEP_DEADLINE_S
    while time.monotonic() < deadline and not any(MENU_SHOWN in line for line in orca.read(start)[0]):
        time.sleep(0.05)
    xdotool("keyup", letter, "sleep", "0.1", "keyup", "alt")


def main():
    record = os.environ.get("ORCA_CHECK_RECORD") == "1"
    work = os.environ["ORCA_CHECK_WORK"]
    orca = Orca(work)
    app = None
    faults = 0
    try:
        start = wait_for_orca(orca)
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        with open(os.path.join(work, "app.log"), "w") as out:
            app = subprocess.Popen([os.environ["ORCA_CHECK_EXE"]], env=env, stdout=out, stderr=subprocess.STDOUT)
        give_keyboard_to_window()
        for number, (what, keys, expected) in enumerate(STEPS, 1):
            press(keys, orca)
            heard, start = listen(orca, start, expected)
            if app.poll() is not None:
                sys.exit(f"FAIL: the program ended at step {number} ({what}), status {app.returncode}")
            if record:
                print(f"{number:2} {what}: {keys}")
                for line in heard:
                    print(f"     {line!r}")
            elif said(heard) not in [said(w) for w in ways(expected)]:
                faults += 1
                print(f"FAIL at step {number}, {what} ({' '.join(keys) or 'no key'}):")
                print(f"  expected: {expected}")
                print(f"  heard:    {heard}")
            else:
                print(f"ok   {number:2} {what}")
    finally:
        if app:
            stop(app)
        orca.stop()
    # libatspi warns of each event whose D-Bus signature it cannot read, and drops it.
    with open(os.path.join(work, "orca.out"), errors="replace") as out:
        malformed = [line.strip() for line in out if "invalid signature" in line]
    if malformed:
        faults += 1
        print(f"FAIL: {len(malformed)} events reached Orca malformed, first: {malformed[0]}")
    if record:
        sys.exit("recorded what was heard; nothing was checked")
    if faults:
        sys.exit(f"FAIL: {faults} checks failed")
    print(f"PASS: {len(STEPS)} steps heard as expected")


if __name__ == "__main__":
    main()
