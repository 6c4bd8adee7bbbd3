#!/usr/bin/python3
"""The running program as a screen reader meets it on the accessibility bus (AT-SPI).

Connects through the "[F10] autoconnect" menu item, then checks that every drop-down list reads
its chosen entry (as its text and as the selected row of its popup), that no control is named
after the window's title, that the engine-speed meter reads with "rpm", and that pressing
"propane" and "erase errors" through their accessible action makes the controller receive the
fuel-mode and erase commands (0x51, 0x61 in the virtual controller's log), and that a list whose
entry a user changes (a click and the arrow key, through xdotool) announces it and reads the new
entry.

Usage: atspi_check.py PID SIM_LOG
Exit status 0 when every check holds, 1 otherwise.
"""
import os
import shutil
import subprocess
import sys
import time

import pyatspi

TIMEOUT_S = 30


def wait_for(what, probe, timeout=TIMEOUT_S):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    raise SystemExit(f"FAIL: {what} within {timeout} s")


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that left the bus meanwhile
            continue
    return None


def walk(node, out, depth=0):
    """Every accessible below node; a table's cells are not walked (the grids are read by row
    and column, and the maps have hundreds of them)."""
    out.append(node)
    if depth > 40 or node.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE):
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, out, depth + 1)


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, text.characterCount)


def sim_frames(path):
    """The first byte of every frame the controller received, in order."""
    with open(path, encoding="ascii") as log:
        return [line.split()[1] for line in log if len(line.split()) == 7]


def selected_row(popup):
    """The name of the popup's selected row: by the selection interface where the toolkit
    offers one, else by the row's selected state."""
    try:
        selection = popup.querySelection()
        if selection.nSelectedChildren > 0:
            return selection.getSelectedChild(0).name
    except NotImplementedError:
        pass
    for i in range(popup.childCount):
        row = popup.getChildAtIndex(i)
        if row is not None and row.getState().contains(pyatspi.STATE_SELECTED):
            return row.name
    return None


def press(nodes, name, roles):
    matches = [n for n in nodes if n.name == name and n.getRole() in roles]
    if not matches:
        for n in nodes:
            if n.getRole() in roles:
                print(f"  {n.getRoleName()} {n.name!r}")
        raise SystemExit(f"FAIL: no {name!r} among the buttons")
    action = matches[0].queryAction()
    print(f"press {name!r} ({matches[0].getRoleName()}): action {action.getName(0)!r}")
    action.doAction(0)


def entry_change_is_announced(combo):
    """Clicks the list, picks the next entry with the arrow key and Return as a user does, and
    waits for the announcement: the toolkit tells AT-SPI of a list's new entry by a name change
    and a selection change on the list, after which a screen reader reads its text again."""
    from gi.repository import GLib

    heard = []

    def listener(event):
        if event.source is not None and event.source.name == combo.name:
            heard.append(event.type)

    # As a screen reader listens: the toolkit sends a list's change only while someone listens
    # for value changes, and then as a name change and a selection change.
    kinds = ("object:selection-changed", "object:property-change:accessible-name",
             "object:property-change:accessible-value", "object:value-changed")
    context = GLib.MainContext.default()

    def pump(seconds, done=lambda: False):
        end = time.monotonic() + seconds
        while time.monotonic() < end and not done():
            context.iteration(False)
            time.sleep(0.02)

    for kind in kinds:
        pyatspi.Registry.registerEventListener(listener, kind)
    # The program learns of a new listener through the bus and only then sends it events.
    pump(1)
    before = text_of(combo)
    x, y, w, h = combo.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", "1"],
                   check=True)
    time.sleep(0.5)
    subprocess.run(["xdotool", "key", "Down", "Return"], check=True)
    pump(10, lambda: heard and text_of(combo) != before)
    for kind in kinds:
        pyatspi.Registry.deregisterEventListener(listener, kind)
    after = text_of(combo)
    print(f"list {combo.name!r}: {before!r} -> {after!r}, heard {sorted(set(heard))}")
    return after != before and "object:selection-changed" in heard


def main():
    pid, sim_log = int(sys.argv[1]), sys.argv[2]
    failures = []
    app = wait_for("the program on the accessibility bus", lambda: application(pid))
    frame = wait_for("the main window", lambda: next(
        (app.getChildAtIndex(i) for i in range(app.childCount)
         if app.getChildAtIndex(i).getRole() == pyatspi.ROLE_FRAME), None))
    title = frame.name
    print(f"window: {title!r}")

    nodes = []
    walk(frame, nodes)
    connect = [n for n in nodes if n.getRole() == pyatspi.ROLE_MENU_ITEM and "F10" in n.name]
    if not connect:
        raise SystemExit("FAIL: no menu item with F10")
    print(f"connect: {connect[0].name!r}")
    connect[0].queryAction().doAction(0)
    wait_for("the connection (live requests)",
             lambda: sim_frames(sim_log).count("AA") >= 3)

    nodes = []
    walk(frame, nodes)
    print(f"{len(nodes)} accessibles")
    if os.environ.get("ATSPI_DUMP"):
        with open(os.environ["ATSPI_DUMP"], "w", encoding="utf-8") as dump:
            for n in nodes:
                dump.write(f"{n.getRoleName()}\t{n.name}\t{text_of(n)}\n")

    # No control is named after the window.
    for n in nodes[1:]:
        if title and n.name.startswith(title):
            failures.append(f"named after the window: {n.getRoleName()} {n.name!r}")

    # Every list reads its chosen entry, as its text and as its popup's selected row.
    lists = [n for n in nodes if n.getRole() == pyatspi.ROLE_COMBO_BOX]
    chosen = 0
    for combo in lists:
        text = text_of(combo)
        popup = combo.getChildAtIndex(0) if combo.childCount else None
        selected = selected_row(popup) if popup is not None else None
        entries = popup.childCount if popup is not None else 0
        print(f"list {combo.name!r}: text {text!r}, selected {selected!r} of {entries}")
        if not combo.name or combo.name == text:
            failures.append(f"list without a name of its own: {combo.name!r}")
        # A list whose value is none of its entries shows none and reads none.
        if entries and (text or None) != selected:
            failures.append(f"list {combo.name!r} reads {text!r}, its popup selects {selected!r}")
        chosen += 1 if text else 0
    if chosen < 40:
        failures.append(f"only {chosen} of {len(lists)} lists read an entry")

    # The engine-speed meter reads with its unit.
    meters = [n for n in nodes if n.name.startswith("engine speed")]
    for meter in meters:
        print(f"meter {meter.name!r} ({meter.getRoleName()}): {text_of(meter)!r}")
    if not any("rpm" in (text_of(m) or "") for m in meters):
        failures.append("no engine-speed meter reads with rpm")

    # Lamps read as indicators, with their state.
    lamps = [n for n in nodes if n.name == "STATUS"]
    for lamp in lamps:
        print(f"lamp {lamp.name!r} ({lamp.getLocalizedRoleName()}): {text_of(lamp)!r}")
    if not lamps or lamps[0].getLocalizedRoleName() != "indicator" or not text_of(lamps[0]):
        failures.append("the status lamp does not read as an indicator with its state")

    # Pressing through the accessible action sends what a click sends.
    buttons = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON)
    for name, command in (("propane", "51"), ("erase errors", "61")):
        before = len(sim_frames(sim_log))
        press(nodes, name, buttons)
        try:
            wait_for(f"frame {command} after pressing {name!r}",
                     lambda: command in sim_frames(sim_log)[before:], timeout=10)
            print(f"  the controller received {command}")
        except SystemExit as missing:
            failures.append(str(missing))

    # A change of entry made as a user makes it is announced.
    if shutil.which("xdotool"):
        red = [n for n in lists if n.name == "scope trace 1 (red)"]
        if not red or not entry_change_is_announced(red[0]):
            failures.append("the red scope trace's list did not announce its new entry")
    else:
        print("entry change: skipped (xdotool is not installed)")

    for f in failures:
        print("FAIL:", f)
    print("atspi_check:", "FAILED" if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
