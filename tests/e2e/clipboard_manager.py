#!/usr/bin/python3
"""A clipboard manager as X11 desktops run one: it owns CLIPBOARD_MANAGER, and when a
program that owns the clipboard ends it asks (SAVE_TARGETS) for the text to be kept; the
manager then takes the text over and goes on serving it. Prints "ready" once it owns the
selection, and "kept <n> bytes" for each text taken over."""
import sys

from Xlib import X, Xatom, display
from Xlib.protocol import event

d = display.Display()
atom = lambda name: d.intern_atom(name)
MANAGER, CLIPBOARD, SAVE_TARGETS = atom("CLIPBOARD_MANAGER"), atom("CLIPBOARD"), atom("SAVE_TARGETS")
TARGETS, UTF8, KEPT = atom("TARGETS"), atom("UTF8_STRING"), atom("KEPT_TEXT")
window = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent,
                                       event_mask=X.PropertyChangeMask)
window.set_selection_owner(MANAGER, X.CurrentTime)
d.flush()
if d.get_selection_owner(MANAGER) != window:
    sys.exit("CLIPBOARD_MANAGER is owned by another client")
print("ready", flush=True)
kept = None


def reply(request, prop):
    notify = event.SelectionNotify(time=request.time, requestor=request.requestor,
                                   selection=request.selection, target=request.target,
                                   property=prop)
    request.requestor.send_event(notify)
    d.flush()


def fetch_clipboard(time):
    """The clipboard's text, asked of its owner while it still runs."""
    window.convert_selection(CLIPBOARD, UTF8, KEPT, time)
    d.flush()
    while True:
        e = d.next_event()
        if e.type == X.SelectionNotify and e.selection == CLIPBOARD:
            if e.property == X.NONE:
                return None
            return window.get_full_property(KEPT, X.AnyPropertyType).value


while True:
    e = d.next_event()
    if e.type != X.SelectionRequest:
        continue
    if e.selection == MANAGER and e.target == SAVE_TARGETS:
        kept = fetch_clipboard(e.time)
        reply(e, e.property)
        if kept is not None:
            window.set_selection_owner(CLIPBOARD, X.CurrentTime)
            d.flush()
            print("kept %d bytes" % len(kept), flush=True)
    elif e.selection == CLIPBOARD and kept is not None:
        if e.target == TARGETS:
            e.requestor.change_property(e.property, Xatom.ATOM, 32, [TARGETS, UTF8])
        elif e.target == UTF8:
            e.requestor.change_property(e.property, UTF8, 8, kept)
        else:
            reply(e, X.NONE)
            continue
        reply(e, e.property)
    else:
        reply(e, X.NONE)
