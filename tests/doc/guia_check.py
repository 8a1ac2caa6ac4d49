# The teachers' guide says only what the bench does. Each paragraph that quotes the bench between
# «» is preceded by a comment that plays its actions on the bench compiled natively:
#   <!-- banc: ACTION; ACTION ... | es veuen: CONTROL ... | no es veuen: CONTROL ... -->
# where an action is a control's name from the window's table (cmdfiltre(5)), "menú" and a menu
# item's text without its access letter's ampersand, or "barra avall" / "barra amunt". Every quote
# must be something the bench then says: the light at the eye, a shape's name, or a message shown
# on the way; the controls listed must be shown or hidden. Every question for the class has one
# such paragraph, its answer.
# Usage: guia_check.py GUIDE.md PATH/TO/corvani-passos
import re
import subprocess
import sys

COMMENT = re.compile(r"^<!-- banc: (.*) -->$")
QUOTE = re.compile(r"«([^»]*)»")
QUESTIONS = "## Preguntes per a la classe"


def run(passos, *args):
    return subprocess.run([passos, *args], check=True, capture_output=True, text=True).stdout


def vocabulary(passos):
    """The actions the guide may name, as the native bench takes them."""
    actions = {"barra avall": "barra:1", "barra amunt": "barra:0"}
    for n, line in enumerate(run(passos, "--rects").splitlines()):
        actions[line.split("|")[0]] = f"click:{n}"
    for line in run(passos, "--menus").splitlines():
        number, text = line.split("|", 1)
        actions["menú " + text.replace("&", "")] = f"menu:{number}"
    return actions


def blocks(text):
    """Paragraphs and list items, each with the heading it stands under, the section it is in
    and its lines; a comment belongs to the lines that follow it."""
    heading = section = ""
    for block in re.split(r"\n\s*\n", text):
        lines = block.strip("\n").split("\n")
        if lines[0].startswith("## "):
            section = heading = lines[0]
        elif lines[0].startswith("### "):
            heading = lines[0]
        yield heading, section, lines


def said(passos, actions):
    """What the bench says after the actions: the eye, the shapes, the messages shown on the way,
    and whether each control is shown."""
    steps = re.split(r"^--- \d+\n", run(passos, *actions), flags=re.M)[1:]
    words, shown = set(), {}
    for step in steps:
        for line in step.splitlines():
            kind, _, rest = line.partition("|")
            if kind == "missatge":
                words.add(rest)
    for line in steps[-1].splitlines():
        kind, _, rest = line.partition("|")
        if kind == "ull":
            words.add(rest)
        elif kind == "formes":
            words.update(f for f in rest.split(";") if f)
        elif kind not in ("missatge",):
            shown[kind] = rest.split("|")[0] == "1"
    return words, shown


def check_block(actions, passos, comment, quotes):
    """The problems of one paragraph played on the bench."""
    parts = [p.strip() for p in comment.split("|")]
    played = [a.strip() for a in parts[0].split(";")]
    lists = {}
    for part in parts[1:]:
        name, _, controls = part.partition(":")
        lists[name.strip()] = controls.split()
    unknown = [a for a in played + sum(lists.values(), []) if a not in actions]
    unknown += [k for k in lists if k not in ("es veuen", "no es veuen")]
    if unknown:
        return [f"names what the bench does not have: {', '.join(unknown)}"]
    if not quotes and not lists:
        return ["checks nothing: no «quote» and no controls listed"]
    words, shown = said(passos, [actions[a] for a in played])
    problems = [f"quotes «{q}», which the bench does not say; it says: " + " / ".join(sorted(words))
                for q in quotes if q not in words]
    problems += [f"says {c} is shown, and it is hidden" for c in lists.get("es veuen", []) if not shown[c]]
    problems += [f"says {c} is hidden, and it is shown" for c in lists.get("no es veuen", []) if shown[c]]
    return problems


def check(guide, passos):
    """Each paragraph played, with its problems; then the questions left without an answer."""
    actions = vocabulary(passos)
    results, answered = [], {}
    for heading, section, lines in blocks(open(guide, encoding="utf-8").read()):
        question = section == QUESTIONS and heading.startswith("### ")
        if question:
            answered.setdefault(heading, False)
        comment = COMMENT.match(lines[0])
        prose = " ".join(line.strip() for line in (lines[1:] if comment else lines))
        quotes = QUOTE.findall(prose)
        where = f"{heading}: {prose[:50]}..."
        if not comment:
            if quotes or "<!-- banc" in prose:
                results.append((where, ["quotes the bench without a well-formed comment to play it"]))
            continue
        results.append((where, check_block(actions, passos, comment.group(1), quotes)))
        if question and prose.startswith("**Resposta:**") and quotes:
            answered[heading] = True
    results += [(q, ["has no answer played on the bench"]) for q, ok in answered.items() if not ok]
    if not answered:
        results.append((QUESTIONS, ["holds no questions"]))
    return results


def main():
    guide, passos = sys.argv[1:3]
    results = check(guide, passos)
    failed = 0
    for where, problems in results:
        print("FAIL" if problems else "ok  ", where)
        for p in problems:
            print("    ", p)
        failed += bool(problems)
    print(f"{len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
