"""Finds both boxes of the window through AT-SPI, types a text into the
input box, presses Encrypt through the button's action and reads the
result, and the note on a result the box does not show whole, as a screen
reader's user would; then finds the key of a Caesar text with Find key and
reads the analysis window's candidates, one row to a key with their
confidences adding up to 100 % at most, and its letter chart; then
changes the input and reads the line that greys the answer out; last
chooses Base32 in the list of the page "More methods", ticks its option
and encrypts."""

import os
import subprocess
import sys
import time

import pyatspi

failures = 0
checks = 0


def check(what, got, want):
    global failures, checks
    checks += 1
    if got != want:
        failures += 1
        print(f"FAIL: {what}: got {got!r}, want {want!r}")


def find(root, role, name, seconds=20):
    """The first object below `root` of `role` and `name`, waited for."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = pyatspi.findDescendant(
            root, lambda o: o is not None and o.getRoleName() == role and o.name == name)
        if found is not None:
            return found
        time.sleep(0.2)
    raise SystemExit(f"no {role} named {name!r}")


def application(seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower() == "zembrax":
                return app
        time.sleep(0.2)
    raise SystemExit("the program never showed on the accessibility bus")


def press(control):
    """Runs the control's action as a screen reader's user would."""
    actions = control.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    actions.doAction(names.index("Press") if "Press" in names else 0)


def text_of(box):
    text = box.queryText()
    return text.getText(0, text.characterCount)


environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
program = subprocess.Popen([sys.argv[1], "--encoding", "utf-8"], env=environment)
try:
    app = application()
    source = find(app, "text", "Input text")
    result = find(app, "text", "Result")
    check("the input box is editable",
          source.getState().contains(pyatspi.STATE_EDITABLE), True)
    check("the result is read-only",
          result.getState().contains(pyatspi.STATE_EDITABLE), False)

    # The window opens on the ASCII page, decimal numbers.
    source.queryEditableText().insertText(0, "Hi żółw", len("Hi żółw"))
    check("the input as read back", text_of(source), "Hi żółw")
    check("its length in characters", source.queryText().characterCount, 7)
    press(find(app, "push button", "Encrypt"))
    deadline = time.monotonic() + 10
    while not text_of(result) and time.monotonic() < deadline:
        time.sleep(0.1)
    check("the result", text_of(result),
          "72 105 32 -59 -68 -61 -77 -59 -126 119 ")
    check("a word of the result", result.queryText().getTextAtOffset(
        4, pyatspi.TEXT_BOUNDARY_WORD_START)[0], "105")

    # A result the box shows only up to a zero byte is said under it.
    text = source.queryEditableText()
    text.deleteText(0, source.queryText().characterCount)
    text.insertText(0, "72 0 105", len("72 0 105"))
    press(find(app, "push button", "Decrypt"))
    note = find(app, "label", "The box stops at a zero byte: 2 bytes are hidden. "
                "\"Save result as\u2026\" keeps them all.")
    check("the note is shown", note.getState().contains(pyatspi.STATE_SHOWING), True)
    check("the result box says it too", result.description.endswith("keeps them all."), True)

    # Find key on the Caesar page: the key found decrypts the text, and the
    # analysis window lists the candidates.
    press(find(app, "page tab", "Shift (Caesar)"))
    cipher_text = "Zkhq wkh kduerxu pdvwhu ilqdoob rshqhg wkh rog ohgjhu, kh irxqg wkdw hyhub vkls"
    deadline = time.monotonic() + 10
    while text_of(source) and time.monotonic() < deadline:  # a page change empties it
        time.sleep(0.1)
    source.queryEditableText().insertText(0, cipher_text, len(cipher_text))
    press(find(app, "push button", "Find key"))
    wanted = "When the harbour master finally opened the old ledger, he found that every ship"
    deadline = time.monotonic() + 20
    while text_of(result) != wanted and time.monotonic() < deadline:
        time.sleep(0.1)
    check("the decryption of the key found", text_of(result), wanted)
    candidates = find(app, "tree", "Candidates")
    check("the candidates are listed", candidates.childCount > 0, True)
    first = pyatspi.findDescendant(candidates, lambda o: o is not None and o.name == "Caesar shift 3")
    check("the best key is read out", first is not None, True)
    for role, name in [("push button", "Apply"), ("label", "Note")]:
        check(f"the analysis window's {name}", find(app, role, name).name, name)
    letters = find(app, "chart", "Letter frequencies")
    check("the letter chart's values are read out", "Input" in letters.description, True)

    # The rows as a screen reader reads them: one to a key, each with its
    # languages, and the confidences add up to 100 % at most.
    table = candidates.queryTable()
    rows = [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)]
            for r in range(table.nRows)]
    keys = [row[0] for row in rows]
    check("one row to a key", len(keys), len(set(keys)))
    check("every row names its languages", all(row[1] for row in rows), True)
    total = sum(int(row[2].rstrip(" %")) for row in rows)
    check(f"the confidences add up to at most 100 % ({total} %)", total <= 100, True)

    # An input changed since greys the answer out, and Apply is off.
    source.queryEditableText().insertText(0, "x", 1)
    stale = find(app, "label", "The input has changed: Find key again")
    check("the stale line is shown", stale.getState().contains(pyatspi.STATE_SHOWING), True)
    check("Apply is off", find(app, "push button", "Apply").getState().contains(
        pyatspi.STATE_ENABLED), False)

    # The page of further methods: its list, and the option controls of the
    # method chosen there, which Encrypt reads.
    press(find(app, "page tab", "More methods"))
    methods = find(app, "list", "Methods")
    captions = [methods.getChildAtIndex(i).name for i in range(methods.childCount)]
    check("Base32 is listed", "Base32" in captions, True)
    press(methods.getChildAtIndex(captions.index("Base32")))
    padding = find(app, "check box", "No padding")
    check("the option says what it does",
          padding.description, "without the = that fill the last group")
    press(padding)
    deadline = time.monotonic() + 10
    while text_of(source) and time.monotonic() < deadline:  # a page change empties it
        time.sleep(0.1)
    source.queryEditableText().insertText(0, "Hi", 2)
    press(find(app, "push button", "Encrypt"))
    deadline = time.monotonic() + 10
    while text_of(result) != "JBUQ" and time.monotonic() < deadline:
        time.sleep(0.1)
    check("Base32 without padding", text_of(result), "JBUQ")
finally:
    program.terminate()
    program.wait(10)

print(f"atspi_test: {checks - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
