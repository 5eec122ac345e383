#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Anki decks checked from outside the program, with Python's sqlite3 and zipfile.

  anki_decks.py check CLI SOURCE_DIR   decks vocatrix-cli writes hold a consistent collection
  anki_decks.py import CLI             decks built here from the documented schemas, older and
                                       current (zstd, by the zstd tool), read with their text
"""
import hashlib
import html
import json
import os
import re
import sqlite3
import subprocess
import sys
import tempfile
import zipfile

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def stripped(field):
    """What Anki sorts and checks duplicates by: tags dropped, entities decoded."""
    return html.unescape(re.sub(r"<[^>]*>", "", field)).replace("\xa0", " ")


OLDER_TABLES = {
    "col": ["id", "crt", "mod", "scm", "ver", "dty", "usn", "ls", "conf", "models", "decks", "dconf", "tags"],
    "notes": ["id", "guid", "mid", "mod", "usn", "tags", "flds", "sfld", "csum", "flags", "data"],
    "cards": ["id", "nid", "did", "ord", "mod", "usn", "type", "queue", "due", "ivl", "factor", "reps", "lapses",
              "left", "odue", "odid", "flags", "data"],
    "revlog": ["id", "cid", "usn", "ease", "ivl", "lastIvl", "factor", "time", "type"],
    "graves": ["usn", "oid", "type"],
}


def check_package(path, entries):
    name = os.path.basename(path)
    with zipfile.ZipFile(path) as package:
        expect(sorted(package.namelist()) == ["collection.anki2", "media"], f"{name}: members {package.namelist()}")
        expect(package.read("media") == b"{}", f"{name}: media map")
        with tempfile.NamedTemporaryFile(suffix=".anki2") as db_file:
            db_file.write(package.read("collection.anki2"))
            db_file.flush()
            db = sqlite3.connect(db_file.name)
            for table, columns in OLDER_TABLES.items():
                found = [row[1] for row in db.execute(f"PRAGMA table_info({table})")]
                expect(found == columns, f"{name}: columns of {table}: {found}")
            (ver, crt, mod, usn, models, decks, dconf, conf), = db.execute(
                "SELECT ver, crt, mod, usn, models, decks, dconf, conf FROM col")
            expect(ver == 11 and usn == 0 and crt <= mod // 1000, f"{name}: col ver {ver} usn {usn} crt {crt}")
            models, decks, dconf, conf = (json.loads(text) for text in (models, decks, dconf, conf))
            expect(len(models) == 1, f"{name}: {len(models)} note types")
            (model_id, model), = models.items()
            expect(str(model["id"]) == model_id and model["name"] == "Vocatrix", f"{name}: note type {model_id}")
            expect([f["name"] for f in model["flds"]] == ["Language 1", "Language 2", "Antonyms",
                                                            "Antonym translations", "Form", "Languages"],
                   f"{name}: fields")
            expect([t["ord"] for t in model["tmpls"]] == [0, 1], f"{name}: templates")
            expect("{{Language 1}}" in model["tmpls"][0]["qfmt"] and "{{Language 2}}" in model["tmpls"][0]["afmt"]
                   and "{{Language 2}}" in model["tmpls"][1]["qfmt"] and "{{Language 1}}" in model["tmpls"][1]["afmt"]
                   and all("{{Antonyms}}" in t["afmt"] for t in model["tmpls"]), f"{name}: template sides")
            # The question shows its head word alone; the back shows every word of both fields.
            expect(all("class=question" in t["qfmt"] and "{{Language 1}}" in t["afmt"] and "{{Language 2}}" in t["afmt"]
                       for t in model["tmpls"]) and "-webkit-line-clamp: 1" in model["css"], f"{name}: synonyms on the back")
            expect(str(conf["curModel"]) == model_id and "1" in dconf, f"{name}: conf and deck options")
            expect(all(str(d["id"]) == key and d["conf"] == 1 for key, d in decks.items()), f"{name}: deck ids")
            notes = {}
            for nid, guid, mid, note_mod, note_usn, tags, flds, sfld, csum in db.execute(
                    "SELECT id, guid, mid, mod, usn, tags, flds, sfld, csum FROM notes"):
                fields = flds.split("\x1f")
                first = stripped(fields[0])
                expect(len(fields) == 6, f"{name}: note {nid} has {len(fields)} fields")
                expect(str(mid) == model_id and note_usn == -1 and note_mod == mod // 1000, f"{name}: note {nid}")
                expect(str(sfld) == first, f"{name}: note {nid} sfld {sfld!r} for {first!r}")
                expect(csum == int(hashlib.sha1(first.encode()).hexdigest()[:8], 16), f"{name}: note {nid} csum")
                expect(tags.startswith(" ") and tags.endswith(" ") and "\x1f" not in tags, f"{name}: tags {tags!r}")
                notes[nid] = guid
            expect(len(notes) == entries, f"{name}: {len(notes)} notes for {entries} entries")
            expect(len(set(notes.values())) == len(notes), f"{name}: guids repeat")
            carded = set()
            for cid, nid, did, ord_, card_usn, queue, due in db.execute(
                    "SELECT id, nid, did, ord, usn, queue, due FROM cards"):
                expect(nid in notes, f"{name}: card {cid} of no note")
                expect(str(did) in decks and did != 1, f"{name}: card {cid} in deck {did}")
                expect(ord_ in (0, 1) and card_usn == -1 and queue == 0 and due >= 1, f"{name}: card {cid}")
                carded.add(nid)
            expect(carded == set(notes), f"{name}: notes without a card")
            db.close()


def cli(program, *args):
    return subprocess.run([program, *args], capture_output=True, text=True)


def check(program, source):
    with tempfile.TemporaryDirectory() as work:
        lessons = []
        for example in ("english-german", "french-german"):
            lessons.append(os.path.join(source, "examples", example + ".tav"))
        # A generated dictionary: markup, entities and Windows-1252 letters in the words.
        big = os.path.join(work, "big.txt")
        with open(big, "w", encoding="cp1252", newline="\n") as text:
            text.write("Ti: Big & <bold>\nTh: \nAu: \nBm: \nFo: Arial_clBlack_10_[Bold]\t - \tArial_clBlack_10_[Bold]"
                       "\n\nSp: English\t - \tDeutsch\n")
            for i in range(3000):
                text.write(f"w{i} <b>&amp; \u00e9\t - \tW\u00f6rt{i}\n")
        lessons.append(big)
        for lesson in lessons:
            target = os.path.join(work, os.path.basename(lesson) + ".apkg")
            result = cli(program, "convert", lesson, target)
            expect(result.returncode == 0, f"convert {lesson}: {result.stderr}")
            entries = int(cli(program, "stats", lesson).stdout.split("\n")[0].split(": ")[1])
            check_package(target, entries)


def make_package(path, members):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as package:
        for name, data in members.items():
            package.writestr(name, data)


def database_bytes(build):
    with tempfile.TemporaryDirectory() as work:
        name = os.path.join(work, "c.db")
        db = sqlite3.connect(name)
        build(db)
        db.commit()
        db.close()
        with open(name, "rb") as f:
            return f.read()


# Notes of both decks: (deck, fields). Deck 10 is "Words", 11 its subdeck "Words::Verbs".
NOTES = [
    (10, ["<b>house</b><br>home", "Haus [sound:haus.mp3]"]),
    (11, ["to go", "gehen<br/>laufen<img src=\"go.png\">"]),
    (11, ["caf&eacute; &amp; more", "Caf&#233;&nbsp;[sound:cafe.ogg]"]),
]
EXPECTED = ["Sp: Front\t - \tBack", "house\t - \tHaus", "to go\t - \tgehen", "caf\u00e9 & more\t - \tCaf\u00e9", "",
            "Sp: Front\t - \tFront", "house\t = \thome", "", "Sp: Back\t - \tBack", "gehen\t = \tlaufen"]


def older_collection(db):
    for table, columns in OLDER_TABLES.items():
        db.execute(f"CREATE TABLE {table} ({', '.join(c + ' integer' for c in columns)})")
    models = {"100": {"id": 100, "name": "Basic", "flds": [{"name": "Front", "ord": 0}, {"name": "Back", "ord": 1}],
                      "tmpls": [{"name": "Card 1", "ord": 0, "qfmt": "{{Front}}", "afmt": "{{Back}}"}]}}
    decks = {"1": {"id": 1, "name": "Default"}, "10": {"id": 10, "name": "Words"},
             "11": {"id": 11, "name": "Words::Verbs"}}
    db.execute("INSERT INTO col VALUES (1, 0, 0, 0, 11, 0, 0, 0, '{}', ?, ?, '{}', '{}')",
               (json.dumps(models), json.dumps(decks)))
    for i, (deck, fields) in enumerate(NOTES, 1):
        flds = "\x1f".join(fields)
        db.execute("INSERT INTO notes VALUES (?, ?, 100, 0, -1, '', ?, ?, ?, 0, '')",
                   (i, f"g{i}", flds, stripped(fields[0]), int(hashlib.sha1(stripped(fields[0]).encode()).hexdigest()[:8], 16)))
        db.execute("INSERT INTO cards VALUES (?, ?, ?, 0, 0, -1, 0, 0, ?, 0, 0, 0, 0, 0, 0, 0, 0, '')", (i, i, deck, i))


def current_collection(db):
    older_collection(db)
    # The current schema: note types, fields, templates and decks in tables of
    # their own (their configuration as protocol buffers), col.models empty.
    db.execute("UPDATE col SET ver = 18, models = '', decks = ''")
    db.executescript("""
        CREATE TABLE notetypes (id integer NOT NULL PRIMARY KEY, name text NOT NULL, mtime_secs integer NOT NULL,
          usn integer NOT NULL, config blob NOT NULL);
        CREATE TABLE fields (ntid integer NOT NULL, ord integer NOT NULL, name text NOT NULL, config blob NOT NULL,
          PRIMARY KEY (ntid, ord)) WITHOUT ROWID;
        CREATE TABLE templates (ntid integer NOT NULL, ord integer NOT NULL, name text NOT NULL,
          mtime_secs integer NOT NULL, usn integer NOT NULL, config blob NOT NULL, PRIMARY KEY (ntid, ord)) WITHOUT ROWID;
        CREATE TABLE decks (id integer PRIMARY KEY NOT NULL, name text NOT NULL, mtime_secs integer NOT NULL,
          usn integer NOT NULL, common blob NOT NULL, kind blob NOT NULL);
        INSERT INTO notetypes VALUES (100, 'Basic', 0, 0, x'');
        INSERT INTO fields VALUES (100, 1, 'Back', x''), (100, 0, 'Front', x'');
        INSERT INTO templates VALUES (100, 0, 'Card 1', 0, 0, x'');
        INSERT INTO decks VALUES (1, 'Default', 0, 0, x'', x''), (10, 'Words', 0, 0, x'', x''),
          (11, 'Words' || char(31) || 'Verbs', 0, 0, x'', x'');
    """)


def stub_collection(db):
    older_collection(db)
    db.execute("DELETE FROM notes")
    db.execute("INSERT INTO notes VALUES (9, 'stub', 100, 0, -1, '', 'Please update to the latest Anki version'"
               " || char(31) || '', '', 0, 0, '')")


def check_import(program, path, what):
    result = cli(program, "show", path)
    expect(result.returncode == 0, f"{what}: {result.stderr}")
    lines = result.stdout.splitlines()
    expect(lines[0] == "Ti: " and EXPECTED[0] in lines, f"{what}: {lines[:8]}")
    body = lines[lines.index(EXPECTED[0]):][:len(EXPECTED)] if EXPECTED[0] in lines else lines
    expect(body == EXPECTED, f"{what}: {body}")
    expect("left out what a lesson cannot hold: pictures: 1, sounds: 2." in result.stderr, f"{what}: {result.stderr}")


def import_decks(program):
    with tempfile.TemporaryDirectory() as work:
        older = os.path.join(work, "older.apkg")
        make_package(older, {"collection.anki2": database_bytes(older_collection), "media": "{}"})
        check_import(program, older, "older schema")
        # Anki 2.1's own older file, beside the stub that older versions read.
        middle = os.path.join(work, "middle.apkg")
        make_package(middle, {"collection.anki2": database_bytes(stub_collection),
                              "collection.anki21": database_bytes(older_collection), "media": "{}"})
        check_import(program, middle, "collection.anki21")
        packed = subprocess.run(["zstd", "-q", "-c"], input=database_bytes(current_collection), capture_output=True,
                                check=True).stdout
        current = os.path.join(work, "current.apkg")
        make_package(current, {"collection.anki2": database_bytes(stub_collection), "collection.anki21b": packed,
                               "media": b"\x28\xb5\x2f\xfd\x00\x00\x01\x00\x00"})
        check_import(program, current, "current schema")
        # A damaged compression is an error naming the file, not a crash.
        broken = os.path.join(work, "broken.apkg")
        make_package(broken, {"collection.anki21b": packed[: len(packed) // 2], "media": "{}"})
        result = cli(program, "show", broken)
        expect(result.returncode == 1 and f"The collection of the Anki deck '{broken}' is damaged." in result.stderr,
               f"damaged: {result.returncode} {result.stderr}")


def main():
    mode, program = sys.argv[1], sys.argv[2]
    if mode == "check":
        check(program, sys.argv[3])
    else:
        import_decks(program)
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
