#!/usr/bin/env python3
"""Reads the running game's table through the accessibility bus, as a screen
reader does, and lays one card with the keyboard: the user's hand is read from
the tree, Home and then Enter (Right to the next card after a refusal) are
pressed until a card is taken, and the hand is read again, one card shorter.
Keys go to the main window through xdotool; the window id is the argument."""
import subprocess
import sys
import time

import pyatspi

WINDOW = sys.argv[1]
DEADLINE = time.monotonic() + 40


def log(text):
    print("[atspi.py] " + text, flush=True)


def fail(text):
    log("FAILED: " + text)
    sys.exit(1)


def keys(*names, focus=True):
    """Presses keys in the main window, or (focus=False) wherever the focus is:
    a modal dialog takes it by itself."""
    if focus:
        subprocess.run(["xdotool", "windowfocus", WINDOW], check=False)
    subprocess.run(["xdotool", "key", "--delay", "60", *names], check=True)


def find(node, test, depth=0):
    """The first object below node (node included) for which test holds."""
    if node is None or depth > 8:
        return None
    try:
        if test(node):
            return node
        for i in range(node.childCount):
            hit = find(node.getChildAtIndex(i), test, depth + 1)
            if hit is not None:
                return hit
    except Exception:  # an object gone while we looked
        return None
    return None


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name == "Corvane":
            a.clear_cache()
            return a
    return None


def named(name, role=None):
    def test(o):
        return o.name == name and (role is None or o.getRole() == role)
    return test


def table_state():
    """The hand's card names, the status line and whether a hint is up."""
    a = app()
    if a is None:
        return None, "", False
    hand = find(a, named("Your hand", pyatspi.ROLE_LIST))
    cards = None
    if hand is not None:
        cards = [hand.getChildAtIndex(i).name for i in range(hand.childCount)]
    status = find(a, lambda o: o.getRole() == pyatspi.ROLE_STATUS_BAR)
    hint = find(a, lambda o: o.name == "The Corvane Game"
                and o.getState().contains(pyatspi.STATE_SHOWING))
    return cards, status.name if status is not None else "", hint is not None


def wait(what, test, seconds):
    end = min(DEADLINE, time.monotonic() + seconds)
    while time.monotonic() < end:
        seen = table_state()
        if test(*seen):
            return seen
        time.sleep(0.1)
    return None


# The user's turn with a full hand: the tree names all thirteen cards.
seen = wait("the user's turn", lambda c, s, h: c is not None and len(c) == 13
             and s.startswith("Your turn"), 20)
if seen is None:
    fail("no hand of 13 named cards and no \"Your turn\" on the status line: %r" % (table_state(),))
log("status line: " + seen[1])
# A turn without a legal card is paid with P until one comes with a card to lay.
while "No card can be laid" in seen[1]:
    log("no card to lay: P pays the pot")
    keys("p")
    if wait("the opponents", lambda c, s, h: not s.startswith("Your turn"), 10) is None:
        fail("P did not pay the pot")
    seen = wait("the next turn", lambda c, s, h: c is not None and s.startswith("Your turn"), 20)
    if seen is None:
        fail("the user's turn did not come back")
hand = seen[0]
log("hand: " + ", ".join(hand))
if not all(" of " in name for name in hand):
    fail("the cards are not named as a person would say them")

keys("Home")
for k in range(len(hand)):
    keys("Return")
    got = wait("a move", lambda c, s, h: h or (c is not None and len(c) < len(hand)), 5)
    if got is None:
        fail("Enter on card %d neither laid it nor gave a hint" % (k + 1))
    cards, status, hint = got
    if not hint:
        gone = [n for n in hand if n not in cards]
        log("laid %s with the keyboard; the hand now holds %d cards" % (", ".join(gone), len(cards)))
        if len(cards) != len(hand) - 1 or len(gone) != 1:
            fail("the hand went from %d to %d cards" % (len(hand), len(cards)))
        sys.exit(0)
    # Refused: close the hint with Enter and try the next card.
    keys("Return", focus=False)
    if wait("the hint to close", lambda c, s, h: not h, 3) is None:
        fail("the hint did not close with Enter")
    keys("Right")
fail("no card of the hand could be laid")
