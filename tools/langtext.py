"""Running text out of manual pages (roff), HTML pages, fortune files and
gettext catalogues, in paragraphs, for tools/langstats."""

import html.parser
import re
import struct
import unicodedata


# --- roff ----------------------------------------------------------------

ACCENTS = {":": "\u0308", "'": "\u0301", "`": "\u0300", "^": "\u0302", "~": "\u0303",
           ",": "\u0327", "v": "\u030c", "o": "\u030a"}
FONT_MACROS = {"B", "I", "BR", "IR", "RB", "RI", "BI", "IB", "SM", "SB", "Nd"}
BREAK_MACROS = {"PP", "P", "LP", "SH", "SS", "TP", "IP", "HP", "TH", "sp", "RS", "RE", "Sh", "Ss",
                "Pp", "It", "Bl", "El", "TQ"}
SKIP_START = {"nf": "fi", "EX": "EE", "Bd": "Ed", "de": ".", "TS": "TE", "EQ": "EN", "ig": "."}


def special_character(name):
    """A groff special character's text: accented letters kept, others a space."""
    if len(name) == 2 and name[0] in ACCENTS and name[1].isalpha():
        return unicodedata.normalize("NFC", name[1] + ACCENTS[name[0]])
    if name == "ss":
        return "ß"
    if re.fullmatch(r"u[0-9A-Fa-f]{4,5}", name):
        return chr(int(name[1:], 16))
    if name in ("aq", "cq", "oq"):
        return "'"
    return " "


ESCAPES = re.compile(r"\\(?:f(?:\[[^\]]*\]|\(..|.)|s[+-]?\d|\*(?:\[[^\]]*\]|\(..|.)|"
                     r"\((..)|\[([^\]]*)\]|[-e&c|^%:/,~ ]|.)")


def unescape(line):
    """The text of a roff line: escapes resolved, fonts and a comment dropped."""
    line = line.split('\\"', 1)[0]

    def replace(match):
        text = match.group(0)
        if match.group(1) is not None or match.group(2) is not None:
            return special_character(match.group(1) or match.group(2))
        return {"\\-": "-", "\\e": "\\", "\\ ": " ", "\\~": " "}.get(text, "")
    return ESCAPES.sub(replace, line)


def macro_text(arguments):
    """A macro's arguments as text, quotes taken off."""
    return " ".join(a or b for a, b in re.findall(r'"([^"]*)"|(\S+)', arguments))


def roff_paragraphs(text):
    """The running text of a manual page in paragraphs, without its markup,
    headings, option tags and no-fill blocks (examples and code)."""
    paragraphs, current = [], []
    skip_until, drop_tag = None, False

    def flush():
        if current:
            paragraphs.append(" ".join(current))
            current.clear()
    for line in text.split("\n"):
        control = line.startswith((".", "'"))
        name, _, arguments = line[1:].strip().partition(" ") if control else ("", "", "")
        if skip_until is not None:
            if control and (name == skip_until or (skip_until == "." and line.startswith(".."))):
                skip_until = None
            continue
        if not control:
            if drop_tag:
                drop_tag = False
            elif line.strip():
                current.append(unescape(line))
            else:
                flush()
            continue
        if drop_tag and not name.startswith('\\"'):
            drop_tag = False  # the tag of .TP, given by a macro
            continue
        if name in SKIP_START:
            flush()
            skip_until = SKIP_START[name]
        elif name in BREAK_MACROS:
            flush()
            drop_tag = name in ("TP", "TQ")
        elif name in FONT_MACROS:
            current.append(unescape(macro_text(arguments)))
    flush()
    return paragraphs


# --- HTML and fortunes -----------------------------------------------------

class ParagraphParser(html.parser.HTMLParser):
    """Collects the text of <p> elements, leaving out code, commands, file
    names and other literal parts."""
    LITERAL_TAGS = {"code", "tt", "pre", "kbd", "samp", "var", "script", "style"}
    LITERAL_CLASSES = re.compile(r"command|file|literal|userinput|option|replaceable")

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.paragraphs, self.current, self.depth = [], [], 0
        self.open = []  # for each open element that may be literal: whether it is

    def handle_starttag(self, tag, attrs):
        if tag in self.LITERAL_TAGS or tag == "span":
            classes = " ".join(v or "" for k, v in attrs if k == "class")
            self.open.append(tag in self.LITERAL_TAGS or bool(self.LITERAL_CLASSES.search(classes)))
        if tag == "p":
            self.depth += 1

    def handle_endtag(self, tag):
        if (tag in self.LITERAL_TAGS or tag == "span") and self.open:
            self.open.pop()
        if tag == "p" and self.depth:
            self.depth -= 1
            if not self.depth and self.current:
                self.paragraphs.append("".join(self.current))
                self.current = []

    def handle_data(self, data):
        if self.depth and not any(self.open):
            self.current.append(data)


def html_paragraphs(text):
    parser = ParagraphParser()
    parser.feed(text)
    parser.close()
    return parser.paragraphs


OPTION_LEAD = re.compile(r"^\s*(?:-\S+,?\s+)+", re.MULTILINE)


def catalogue_paragraphs(path):
    """The translations of a gettext catalogue (.mo), one paragraph per
    message (the first plural form), option names at line starts taken off."""
    with open(path, "rb") as f:
        data = f.read()
    count, _, table = struct.unpack_from("<3I", data, 8)
    result = []
    for i in range(1, count):  # entry 0 is the catalogue's header
        length, offset = struct.unpack_from("<2I", data, table + 8 * i)
        text = data[offset:offset + length].split(b"\0")[0].decode("utf-8", "replace")
        result.extend(OPTION_LEAD.sub("", part) for part in text.split("\n\n"))
    return result


def fortune_paragraphs(text):
    """The fortunes of a file, without the attribution lines ("-- Author")."""
    entries = re.split(r"\n%\n", text)
    return [" ".join(line for line in entry.split("\n") if not line.strip().startswith(("--", "—")))
            for entry in entries]
