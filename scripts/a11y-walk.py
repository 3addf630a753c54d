#!/usr/bin/python3
"""A keyboard-only walk through the window, heard through AT-SPI as a screen reader hears it.

Run by scripts/a11y-walk.sh inside Xvfb with a private session bus. Each step presses keys with
xdotool (or moves with Tab until a named control has the focus, as a person listening would) and
then prints what the accessibility bus said: focus changes, windows, and the open menus, dialogs
and alerts found by walking the tree from the application down. Lines starting with PROBLEM mark
a focus on something without a name or with a role that says nothing.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

SILENT_ROLES = {"filler", "panel", "unknown", "redundant object", "layered pane", "scroll pane"}
# The quote a machine without network shows first.
QUOTE = "Live for today, tomorrow is not a given. — Unknown Author"
WATCHED_ROLES = {"menu", "popup menu", "alert", "dialog", "file chooser"}

events = []
focus = {"name": None, "role": None}


def label(acc):
    try:
        text = "%s '%s'" % (acc.getRoleName(), acc.name)
        if acc.description:
            text += " – %s" % acc.description.replace("\n", " ")[:120]
        return text
    except Exception as error:  # the object went while we asked
        return "(gone: %s)" % error


def on_event(event):
    kind = event.type
    if kind.startswith("focus") or (kind == "object:state-changed:focused" and event.detail1):
        try:
            focus["name"], focus["role"] = event.source.name, event.source.getRoleName()
        except Exception:
            return
        if kind.startswith("focus"):
            return
        events.append("focus      " + label(event.source))
        if not focus["name"] or focus["role"] in SILENT_ROLES:
            events.append("PROBLEM    focus on " + label(event.source))
    elif kind.startswith("window:activate"):
        events.append("window     " + label(event.source))
    elif kind == "object:state-changed:showing" and event.detail1:
        try:
            role = event.source.getRoleName()
        except Exception:
            return
        if role in WATCHED_ROLES or role == "progress bar":
            events.append("shows      " + label(event.source))
    elif kind == "object:property-change:accessible-name":
        try:
            if event.source.getState().contains(pyatspi.STATE_FOCUSED):
                events.append("renamed    " + label(event.source))
        except Exception:
            pass
    elif kind == "object:property-change:accessible-value":
        events.append("value      " + label(event.source) + " = %s" % value_of(event.source))


def value_of(acc):
    try:
        return acc.queryValue().currentValue
    except Exception:
        return "?"


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "Lumisera":
            return app
    return None


def watched(acc, depth=0, out=None):
    out = [] if out is None else out
    try:
        role = acc.getRoleName()
        count = acc.childCount
    except Exception:
        return out
    if role in WATCHED_ROLES:
        items = []
        for i in range(min(count, 12)):
            child = acc.getChildAtIndex(i)
            if child is not None and child.getRoleName() in ("menu item", "push button"):
                items.append(child.name)
        out.append("in tree    %s%s" % (label(acc), (" [" + ", ".join(items) + "]") if items else ""))
    if depth < 30:
        for i in range(count):
            child = acc.getChildAtIndex(i)
            if child is not None:
                watched(child, depth + 1, out)
    return out


def key(*names):
    subprocess.run(["xdotool", "key", "--delay", "60"] + list(names), check=False)


def pause(seconds=0.7):
    end = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def keyboard_focus(acc=None, depth=0):
    """The control that has the keyboard: the focused object none of whose children is focused. An
    item of a list counts only while its list has the focus (a list reports its current item as
    focused even while the keyboard is elsewhere)."""
    acc = acc if acc is not None else application()
    if acc is None or depth > 40:
        return None
    try:
        for i in range(acc.childCount):
            child = acc.getChildAtIndex(i)
            if child is None or not child.getState().contains(pyatspi.STATE_FOCUSED) and \
                    not child.getState().contains(pyatspi.STATE_ACTIVE) and child.childCount == 0:
                continue
            found = keyboard_focus(child, depth + 1)
            if found is not None:
                return found
        state = acc.getState()
        if state.contains(pyatspi.STATE_FOCUSED):
            parent = acc.parent
            if acc.getRoleName() in ("list item", "table cell") and parent is not None and \
                    not parent.getState().contains(pyatspi.STATE_FOCUSED):
                return None
            return acc
    except Exception:
        return None
    return None


def focused_name():
    acc = keyboard_focus()
    try:
        return acc.name if acc is not None else None
    except Exception:
        return None


def tab_to(name, backwards=False, limit=25):
    for _ in range(limit):
        if focused_name() == name:
            return True
        key("shift+Tab" if backwards else "Tab")
        pause(0.35)
    return focused_name() == name


def tab_to_tiles(limit=25):
    """Tabs until the keyboard is on the grid (on one of its tiles)."""
    for _ in range(limit):
        acc = keyboard_focus()
        try:
            if acc is not None and acc.getRoleName() in ("list item", "table cell"):
                return True
        except Exception:
            pass
        key("Tab")
        pause(0.35)
    return False


def tile(name, arrow="Left"):
    """The tile of that name, found with the arrow keys from wherever the grid is."""
    return tab_to_tiles() and (arrow_to(name, arrow) or arrow_to(name, "Right"))


def arrow_to(name, arrow="Down", limit=12):
    for _ in range(limit):
        if focus["name"] == name or focused_name() == name:
            return True
        key(arrow)
        pause(0.3)
    return focus["name"] == name or focused_name() == name


def run(steps):
    for title, action in steps:
        events.clear()
        ok = action()
        pause(0.9)
        print("== %s%s" % (title, "" if ok is not False else "   (NOT REACHED)"))
        for line in events:
            print("   " + line)
        app = application()
        for line in (watched(app) if app else ["no application on the bus"]):
            print("   " + line)
        now = keyboard_focus()
        print("   keyboard on: %s" % (label(now) if now is not None else "nothing the tree shows"))
        sys.stdout.flush()


def typed(text):
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=False)


def hold(name, seconds):
    subprocess.run(["xdotool", "keydown", name], check=False)
    pause(seconds)
    subprocess.run(["xdotool", "keyup", name], check=False)


def main():
    passcode = sys.argv[1]
    pyatspi.Registry.registerEventListener(
        on_event, "focus:", "object:state-changed:focused", "object:state-changed:showing",
        "window:activate", "object:property-change:accessible-name", "object:property-change:accessible-value")
    for _ in range(50):
        if application():
            break
        pause(0.2)
    pause(1.5)
    steps = [
        ("start: the main screen", lambda: None),
        ("Tab through the main screen", lambda: [key("Tab") or pause(0.35) for _ in range(7)] and None),
        ("Tab to the quote, Space: the next quote", lambda: tab_to(QUOTE) and key("space")),
        ("Tab to Tap to Set Passcode, Return", lambda: tab_to("Tap to Set Passcode") and key("Return")),
        ("type the new passcode twice", lambda: (typed(passcode), key("Return"), pause(0.3), typed(passcode),
                                                 key("Return"))),
        ("Return: Storage", lambda: key("Return")),
        ("Return: the on-device tree", lambda: key("Return")),
        ("Return: New Folder", lambda: key("Return")),
        ("name it Holidays, Return", lambda: (typed("Holidays"), key("Return"))),
        ("Tab to the folder menu, Space", lambda: tab_to("Folder Menu") and key("space")),
        ("Down to Add Folder, Return", lambda: arrow_to("Add Folder") and key("Return")),
        ("Private with PIN 2468", lambda: (typed("Private"), key("Tab"), typed("2468"), key("Return"),
                                           pause(1.5))),
        ("Tab to the grid, Return opens Holidays", lambda: tile("Holidays, folder") and (key("Return"),
                                                                                           pause(1.5))),
        ("folder menu: Import Files", lambda: tab_to("Folder Menu") and (key("space"), pause(0.4),
                                                                       arrow_to("Import Files"), key("Return"))),
        ("the file dialog: type three names, Return",
         lambda: (pause(1.0), typed('"beach.png" "Invoice.pdf" "Notes.txt"'), key("Return"), pause(2.0))),
        ("Tab to the tiles", lambda: tile("beach.png, picture")),
        ("Right along the tiles", lambda: (key("Right"), pause(0.3), key("Right"))),
        ("the menu key: the tile menu", lambda: key("Menu")),
        ("Escape closes it", lambda: key("Escape")),
        ("Select mode", lambda: tab_to("Select") and key("space")),
        ("Tab to the tiles, Space selects", lambda: tile("beach.png, picture, not selected") and key("space")),
        ("Share the selection", lambda: tab_to("Share Selected Items") and key("space")),
        ("the passcode, Return", lambda: (typed(passcode), key("Return"), pause(1.0))),
        ("Escape closes the share dialog", lambda: key("Escape")),
        ("Delete the selection", lambda: tab_to("Delete Selected Items") and key("space")),
        ("Tab to Delete Items, Return: the confirmation alert",
         lambda: tab_to("Delete Items") and key("Return")),
        ("Escape cancels; Tab to Cancel, Return", lambda: (key("Escape"), pause(0.4), tab_to("Cancel"),
                                                            key("Return"))),
        ("Escape leaves Select mode; the picture opens", lambda: (key("Escape"), pause(0.3),
                                                                   tile("beach.png, picture"), key("Return"))),
        ("Return zooms, Escape twice", lambda: (key("Return"), pause(0.6), key("Escape"), pause(0.4),
                                                key("Escape"))),
        ("the PDF", lambda: tile("Invoice.pdf, PDF") and key("Return")),
        ("Escape, the text", lambda: (key("Escape"), pause(0.5), tile("Notes.txt, document"), key("Return"))),
        ("Escape, Alt+Left back to the tree", lambda: (key("Escape"), pause(0.5), key("alt+Left"))),
        ("the protected folder", lambda: tile("Private, folder") and key("Return")),
        ("its lock: Return, the PIN", lambda: (tab_to("Enter PIN"), key("Return"), pause(0.6), typed("2468"),
                                               key("Return"))),
        ("folder menu: Modify Folder", lambda: tab_to("Folder Menu") and (key("space"), pause(0.4),
                                                                        arrow_to("Modify Folder"),
                                                                        key("Return"))),
        ("Escape; folder menu: Delete Folder", lambda: (key("Escape"), pause(0.5), tab_to("Folder Menu"),
                                                        key("space"), pause(0.4), arrow_to("Delete Folder"),
                                                        key("Return"))),
        ("Tab to Cancel, Return", lambda: tab_to("Cancel") and key("Return")),
        ("Alt+Left twice: the main screen", lambda: (key("alt+Left"), pause(0.5), key("alt+Left"),
                                                     pause(0.5), key("alt+Left"))),
        ("Settings", lambda: tab_to("Settings") and key("space")),
        ("Tab through Settings", lambda: [key("Tab") or pause(0.3) for _ in range(9)] and None),
        ("Check Vault: Space, the report", lambda: tab_to("Check Vault") and (key("space"), pause(2.0))),
        ("Tab to Close, Return", lambda: tab_to("Close") and key("Return")),
        ("Change Passcode: Space, the form", lambda: tab_to("Change Passcode") and (key("space"), pause(0.6))),
        ("the current passcode, Tab through the form", lambda: (typed(passcode), key("Tab"), pause(0.3),
                                                                key("Tab"), pause(0.3), key("Tab"))),
        ("Escape closes it", lambda: key("Escape")),
        ("Escape; About", lambda: (key("Escape"), pause(0.5), tab_to("About Lumisera"), key("space"))),
        ("Escape; the background menu", lambda: (key("Escape"), pause(0.5), tab_to("Background Image"),
                                                  key("space"))),
        ("Escape", lambda: key("Escape")),
    ]
    run(steps)


if __name__ == "__main__":
    main()
