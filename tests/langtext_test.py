"""How tools/langstats takes running text out of its sources: markup, option
tags, code and untranslated boilerplate out, the prose and its letters in."""

import importlib.machinery
import importlib.util
import os
import struct
import sys
import tempfile
import unittest

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools")
sys.path.insert(0, TOOLS)
import langtext  # noqa: E402

loader = importlib.machinery.SourceFileLoader("langstats", os.path.join(TOOLS, "langstats"))
langstats = importlib.util.module_from_spec(importlib.util.spec_from_loader("langstats", loader))
loader.exec_module(langstats)

PAGE = r""".\" A comment that says nothing of the language
.TH LS 1
.SH NAME
ls \- Verzeichnisinhalte auflisten
.SH BESCHREIBUNG
Listet Informationen \fBüber\fP die \fIDATEIen\fR auf,
standardm\(:a\[u00DF]ig das aktuelle Verzeichnis.
.TP
\fB\-a\fR, \fB\-\-all\fR
Einträge, die mit . beginnen, nicht verstecken.
.TP
.BR \-A ", " \-\-almost\-all
Nicht . und .. auflisten.
.nf
ls \-la /etc | grep passwd
.fi
.PP
Der Rückgabewert ist
.B null
bei Erfolg.
"""


def catalogue(messages):
    """A gettext catalogue (.mo) of the msgid-msgstr pairs, header first."""
    pairs = [(b"", b"Content-Type: text/plain; charset=UTF-8\n")] + messages
    count, ids, strs = len(pairs), b"", b""
    data_at = 28 + 16 * count
    id_table, str_table = [], []
    for msgid, _ in pairs:
        id_table.append((len(msgid), data_at + len(ids)))
        ids += msgid + b"\0"
    for _, msgstr in pairs:
        str_table.append((len(msgstr), data_at + len(ids) + len(strs)))
        strs += msgstr + b"\0"
    header = struct.pack("<7I", 0x950412DE, 0, count, 28, 28 + 8 * count, 0, 0)
    tables = b"".join(struct.pack("<2I", *e) for e in id_table + str_table)
    return header + tables + ids + strs


class RoffTest(unittest.TestCase):
    def test_keeps_prose_and_drops_markup_tags_and_listings(self):
        self.assertEqual(langtext.roff_paragraphs(PAGE), [
            "ls - Verzeichnisinhalte auflisten",
            "Listet Informationen über die DATEIen auf, standardmäßig das aktuelle Verzeichnis.",
            "Einträge, die mit . beginnen, nicht verstecken.",
            "Nicht . und .. auflisten.",
            "Der Rückgabewert ist null bei Erfolg.",
        ])

    def test_special_characters_become_their_letters(self):
        self.assertEqual(langtext.unescape(r"\('e\(`a\(,c\(ss\[u0142]\(em"), "éàçßł ")


class HtmlTest(unittest.TestCase):
    def test_takes_paragraphs_without_commands_and_file_names(self):
        page = ('<h1>Title</h1><p>Edit <code class="filename">/etc/fstab</code> with '
                '<span class="command"><strong>nano</strong></span> and <em>save</em> it.</p>'
                '<pre>mount -a</pre><p>Second &amp; last.</p>')
        self.assertEqual(langtext.html_paragraphs(page), ["Edit  with  and save it.", "Second & last."])


class FortuneAndCatalogueTest(unittest.TestCase):
    def test_fortunes_lose_their_attribution(self):
        text = "Ein Satz.\n\t-- Jemand\n%\nZwei\nZeilen.\n"
        self.assertEqual(langtext.fortune_paragraphs(text), ["Ein Satz.", "Zwei Zeilen.\n"[:-1] + " "])

    def test_catalogues_give_translations_without_option_names(self):
        messages = [(b"usage", "  -a, --all   alle Einträge zeigen\n\nZweiter Absatz".encode()),
                    (b"file", b"Datei\0Dateien")]
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "test.mo")
            with open(path, "wb") as f:
                f.write(catalogue(messages))
            self.assertEqual(langtext.catalogue_paragraphs(path),
                             ["alle Einträge zeigen", "Zweiter Absatz", "Datei"])


class CleanTest(unittest.TestCase):
    def test_drops_addresses_and_code_words_from_prose(self):
        self.assertEqual(
            langstats.clean("Schreiben Sie an info@example.org oder lesen Sie https://example.org "
                            "und die Datei /etc/passwd mit Geduld und Ruhe durch."),
            "Schreiben Sie an oder lesen Sie und die Datei mit Geduld und Ruhe durch.")

    def test_drops_synopses_and_short_paragraphs(self):
        self.assertIsNone(langstats.clean("ls [-a] [--all] [-l] [DATEI]... mit Optionen"))
        self.assertIsNone(langstats.clean("Zu kurz."))

    def test_letters_are_the_ascii_letters_folded(self):
        self.assertEqual(langstats.letters("Für Ölige: ÆØÅ Straße 42!"), "frligestrae")


if __name__ == "__main__":
    unittest.main()
