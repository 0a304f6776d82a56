#!/usr/bin/python3
"""Prints what a screen reader (AT-SPI) sees of the running kelt.

Each line is "role | name | description", indented by depth. Tables add their row and
column counts and the names of their first cells; text roles add their text; [hidden],
[focused] and [checked] mark those states.
  --depth N     stop N levels below the application
  --find NAME   exit 0 when an object with this exact accessible name exists, else 1
                (table cells are not searched)
  --wait S      wait up to S seconds for kelt's frame to appear first
  --last-word   type "85 欠" into the editor box and ask it, as Orca does, for the word at the very
                end of its text (Qt 6.4's own line edit spins for ever there); exit 0 on an answer
  --keys KEYS   press these keys (xdotool names, comma-separated) one by one in kelt and print
                what a screen reader hears of each: the focus and name changes of kelt's objects
  --row-headers after any --keys, compare where each row header in sight is reported with where
                its row's name cell is (a magnifier follows the header); exit 0 when all agree
Needs a session where kelt runs with accessibility on; tools/a11y-check.sh makes one.
"""
import argparse
import sys
import time

import pyatspi

TEXT_ROLES = {"text", "entry", "password text", "paragraph", "spin button", "terminal"}
FIRST_CELLS = 6


def find_app(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and (app.name or "").lower() == name.lower():
            return app
    return None


def wait_for_frame(name, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            app = find_app(name)
            if app is not None and any(c.getRoleName() == "frame" for c in app):
                return app
        except Exception:  # the application may still be registering
            pass
        time.sleep(0.3)
    return None


def marks(acc):
    """A few states a listener cares about: hidden, focused, checked."""
    st = acc.getState()
    m = [w for w, s in (("focused", pyatspi.STATE_FOCUSED), ("checked", pyatspi.STATE_CHECKED))
         if st.contains(s)]
    if not st.contains(pyatspi.STATE_SHOWING):
        m.insert(0, "hidden")
    return f" [{', '.join(m)}]" if m else ""


def short(s, n=80):
    s = (s or "").replace("\n", "\\n")
    return s if len(s) <= n else s[: n - 1] + "…"


def extras(acc, role):
    """Extra lines for tables and text roles."""
    out = []
    if role in ("table", "tree table"):
        try:
            t = acc.queryTable()
        except NotImplementedError:
            return ["(no table interface)"]
        out.append(f"rows={t.nRows} columns={t.nColumns}")
        heads = [t.getColumnHeader(c) for c in range(min(FIRST_CELLS, t.nColumns))]
        out.append("headers " + " ".join(repr(short(h.name if h else None, 20)) for h in heads))
        cells = []
        for i in range(min(FIRST_CELLS, t.nRows * t.nColumns)):
            r, c = divmod(i, t.nColumns)
            cell = t.getAccessibleAt(r, c)
            text = f"{short(cell.name, 20)!r}{marks(cell)}" if cell else "None"
            cells.append(f"({r},{c})={text}")
        out.append("cells " + " ".join(cells))
    elif role in TEXT_ROLES:
        try:
            out.append("text=" + repr(short(acc.queryText().getText(0, -1))))
        except NotImplementedError:
            pass
    return out


def walk(acc, depth, max_depth, visit):
    """Calls visit(acc, depth) for each object; table cells are summarised, not walked."""
    visit(acc, depth)
    if depth >= max_depth or acc.getRoleName() in ("table", "tree table"):
        return
    for child in acc:
        if child is not None:
            walk(child, depth + 1, max_depth, visit)


def ask_last_word(app):
    """Types into the editor box, then asks for the word at the end of its text."""
    import subprocess

    subprocess.run(["xdotool", "type", "--delay", "50", "85 x"], check=True)
    time.sleep(0.5)
    boxes = []

    def match(o, d):
        if o.getRoleName() == "text" and (o.name or "").startswith("現在のセル"):
            boxes.append(o)

    walk(app, 0, 50, match)
    if not boxes:
        print("no editor box found", file=sys.stderr)
        return 1
    text = boxes[0].queryText()
    length = text.characterCount
    start = time.time()
    word = text.getTextAtOffset(length, pyatspi.TEXT_BOUNDARY_WORD_START)
    print(f"{length} characters; the word at {length}: {word!r} in {time.time() - start:.2f} s")
    return 0


def listen(keys):
    """Presses each key and prints the announcements that follow it."""
    import subprocess
    from gi.repository import GLib

    heard = []

    def on_event(event):
        src = event.source
        try:
            app_name = src.getApplication().name
        except Exception:
            return
        if (app_name or "").lower() != "kelt":
            return
        if event.type.startswith("object:state-changed:focused") and not event.detail1:
            return
        heard.append(f"{event.type} | {src.getRoleName()} | {src.name}")

    for kind in ("object:property-change:accessible-name", "object:state-changed:focused"):
        pyatspi.Registry.registerEventListener(on_event, kind)
    loop = GLib.MainLoop()
    context = loop.get_context()

    def pump(seconds):
        end = time.time() + seconds
        while time.time() < end:
            context.iteration(False)
            time.sleep(0.01)

    pump(0.5)
    heard.clear()
    for key in keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)
        pump(0.6)
        print(f"{key}:")
        for line in heard:
            print(f"    {line}")
        heard.clear()
    return 0


def row_headers(app):
    """Prints the rows in sight with their header's and their name cell's places on screen."""
    tables = []
    walk(app, 0, 50, lambda o, d: tables.append(o) if o.getRoleName() == "table" else None)
    if not tables:
        print("no table found", file=sys.stderr)
        return 1
    table = tables[0].queryTable()
    box = tables[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    in_sight = wrong = 0
    for row in range(table.nRows):
        cell = table.getAccessibleAt(row, 0).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if cell.y < box.y or cell.y + cell.height > box.y + box.height:
            if in_sight:
                break
            continue
        in_sight += 1
        header = table.getRowHeader(row)
        place = header.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        agrees = place.y == cell.y and abs(place.height - cell.height) <= 1  # its grid line
        wrong += not agrees
        print(f"row {row + 1} | header {header.name!r} at y={place.y} h={place.height}"
              f" | name cell at y={cell.y} h={cell.height}" + ("" if agrees else " | MISMATCH"))
    print(f"{in_sight} rows in sight, {wrong} headers elsewhere")
    return 0 if in_sight and not wrong else 1


def main():
    ap = argparse.ArgumentParser(description="Print kelt's accessible tree.")
    ap.add_argument("--depth", type=int, default=50)
    ap.add_argument("--find", metavar="NAME")
    ap.add_argument("--wait", type=float, default=0, metavar="S")
    ap.add_argument("--app", default="kelt")
    ap.add_argument("--keys", metavar="KEYS")
    ap.add_argument("--last-word", action="store_true")
    ap.add_argument("--row-headers", action="store_true")
    a = ap.parse_args()

    app = wait_for_frame(a.app, a.wait) if a.wait else find_app(a.app)
    if app is None:
        print(f"no application named {a.app!r} on the AT-SPI desktop", file=sys.stderr)
        return 2

    if a.keys is not None:
        heard = listen(a.keys.split(","))
        if not a.row_headers:
            return heard
    if a.row_headers:
        return row_headers(app)
    if a.last_word:
        return ask_last_word(app)

    if a.find is not None:
        found = []

        def match(o, d):
            if o.name == a.find:
                found.append(o.getRoleName() + marks(o))

        walk(app, 0, a.depth, match)
        print(f"{a.find!r}: " + (", ".join(found) if found else "not found"))
        return 0 if found else 1

    def show(o, d):
        role = o.getRoleName()
        pad = "  " * d
        print(f"{pad}{role} | {short(o.name)} | {short(o.description)}{marks(o)}")
        for line in extras(o, role):
            print(f"{pad}    {line}")

    walk(app, 0, a.depth, show)
    return 0


if __name__ == "__main__":
    sys.exit(main())
