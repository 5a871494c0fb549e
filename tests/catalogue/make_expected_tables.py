#!/usr/bin/env python3
"""Writes ExpectedTables.h, the reference values of the catalogue tests.

A stand-alone helper, not part of the converter or its build: it reads markdown tables
(category, format title, caption, encoding, preset list and preset entry tables, in the
markdown files given on the command line), checks that they agree with each other, and
writes them as plain C++ data, one row per format key.

    python3 tests/catalogue/make_expected_tables.py TABLES.md [TABLES.md ...] \
        -o tests/catalogue/ExpectedTables.h

The catalogue's own C++ tables are never read here: the reference values must come from
outside the code under test. The header it writes is checked by hand and kept as
reference data; run this again only when the reference tables themselves change.
"""

import argparse
import re
import sys

CATEGORY_HEADER = ["position", "caption", "image", "family", "formats"]
TITLE_HEADER = ["key", "title"]
CAPTION_HEADER = ["key", "caption"]
ENCODING_HEADER = ["keys", "name ext", "video codec", "tag", "frame size", "frame rate",
                   "video bit/s", "audio codec", "channels", "sample rate", "audio bit/s", "other"]
PRESET_HEADER = ["Key", "Pos", "Title", "Frame size", "Video bitrate", "Frame rate",
                 "Audio bitrate", "Sample rate", "Aspect mode", "Audio-only"]
PRESET_LIST_LINE = re.compile(r'^- ([RVFASM])(\d+) \((\d+) items?; (\d+) formats?; [^)]*\): (.*)$')
QUOTED = re.compile(r'"([^"]*)"')
DASH = "\u2014"


def fail(msg):
    sys.exit("make_expected_tables: " + msg)


def cells(line):
    parts = line.strip().split("|")
    if len(parts) < 3 or parts[0] != "" or parts[-1] != "":
        fail("not a table row: " + line)
    return [c.strip() for c in parts[1:-1]]


def tables(lines, header):
    """Every table whose header row is exactly `header`, as lists of data rows."""
    found = []
    i = 0
    while i < len(lines):
        if lines[i].startswith("|") and cells(lines[i]) == header:
            rows = []
            i += 2  # header and separator
            while i < len(lines) and lines[i].startswith("|"):
                rows.append(cells(lines[i]))
                i += 1
            found.append(rows)
        else:
            i += 1
    return found


def one_table(lines, header):
    found = tables(lines, header)
    if len(found) != 1:
        fail("expected one table with header %r, found %d" % (header, len(found)))
    return found[0]


def text(cell):
    """A quoted text, or the dash for an empty field."""
    if cell == DASH:
        return ""
    m = re.fullmatch(r'"([^"]*)"', cell)
    if not m:
        fail("not a quoted text: %r" % cell)
    return m.group(1)


def c_str(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def parse_categories(lines):
    rows = []
    for pos, caption, image, family, count in one_table(lines, CATEGORY_HEADER):
        rows.append((int(pos), text(caption), int(image), int(family), int(count)))
    if [r[0] for r in rows] != list(range(15)):
        fail("category positions are not 0..14")
    return rows


def parse_titles(lines):
    return [(int(k), text(t)) for k, t in one_table(lines, TITLE_HEADER)]


def parse_captions(lines):
    return [(int(k), text(c)) for k, c in one_table(lines, CAPTION_HEADER)]


def parse_other(note, name_ext):
    """The column `other`: everything that departs from the common values."""
    extra = {"file_ext": name_ext, "aspect": "", "target": "", "norm": "", "no_video": False}
    for clause in filter(None, (c.strip() for c in re.split(r"[;,]", note))):
        m = re.fullmatch(r'(aspect|target|norm) "([^"]*)"', clause)
        if m:
            extra[m.group(1)] = m.group(2)
        elif clause == "extension field empty":
            extra["file_ext"] = ""
        elif (m := re.fullmatch(r'extension field "([^"]*)"', clause)):
            extra["file_ext"] = m.group(1)
        elif clause == "no video":
            extra["no_video"] = True
        else:
            fail("unknown note in the column other: %r" % clause)
    return extra


def parse_encoding(lines):
    per_key = {}
    for row in one_table(lines, ENCODING_HEADER):
        keys, name_ext, vcodec, tag, size, rate, vbit, acodec, ch, srate, abit, other = row
        name_ext = text(name_ext)
        values = dict(name_ext=name_ext, vcodec=text(vcodec), tag=text(tag), size=text(size),
                      rate=text(rate), vbit=int(vbit), acodec=text(acodec), channels=text(ch),
                      srate=text(srate), abit=int(abit))
        values.update(parse_other(other, name_ext))
        for key in (int(k) for k in keys.split(",")):
            if key in per_key:
                fail("key %d listed twice in the encoding table" % key)
            per_key[key] = values
    return per_key


def parse_preset_lists(lines):
    lists = {}
    for line in lines:
        m = PRESET_LIST_LINE.match(line)
        if not m:
            continue
        name = m.group(1) + m.group(2)
        items = QUOTED.findall(m.group(5))
        if len(items) != int(m.group(3)):
            fail("%s: %d items listed, %s announced" % (name, len(items), m.group(3)))
        if name in lists:
            fail("preset list %s given twice" % name)
        lists[name] = (items, int(m.group(4)))
    return lists


def parse_choice(cell):
    m = re.fullmatch(r'([RVFASM]\d+), (\d+), "([^"]*)"', cell)
    if not m:
        fail("not a preset cell: %r" % cell)
    return m.group(1), int(m.group(2)), m.group(3)


def parse_preset_entries(lines):
    entries = {}
    for table in tables(lines, PRESET_HEADER):
        for row in table:
            key, pos, title = int(row[0]), int(row[1]), text(row[2])
            choices = [parse_choice(c) for c in row[3:9]]
            if row[9] not in ("yes", "no"):
                fail("audio-only column of key %d reads %r" % (key, row[9]))
            if key in entries:
                fail("preset entry of key %d given twice" % key)
            entries[key] = (pos, title, choices, row[9] == "yes")
    return entries


def check(categories, titles, encoding, lists, entries):
    """Cross-checks between the tables, so that a misread table fails here and not in a test."""
    keys = [k for k, _ in titles]
    if len(keys) != 140 or len(set(keys)) != 140:
        fail("expected 140 distinct format keys, found %d" % len(set(keys)))
    for pos, _, _, family, count in categories:
        family_keys = [k for k in keys if k // 100 == family]
        if family_keys != [family * 100 + i for i in range(count)]:
            fail("category %d: keys %r do not match family %d with %d formats" % (pos, family_keys, family, count))
    if sorted(encoding) != sorted(keys):
        fail("encoding keys differ from the format keys")
    if sorted(entries) != sorted(keys):
        fail("preset keys differ from the format keys")
    title_of = dict(titles)
    uses = {name: 0 for name in lists}
    for key, (pos, title, choices, _) in entries.items():
        if pos != key % 100:
            fail("key %d has position %d" % (key, pos))
        if title != title_of[key]:
            fail("key %d: preset title %r differs from format title %r" % (key, title, title_of[key]))
        for (name, at, shown), letter in zip(choices, "RVFASM"):
            if not name.startswith(letter) or name not in lists:
                fail("key %d names list %s in the wrong column" % (key, name))
            items = lists[name][0]
            if not 0 <= at < len(items) or items[at] != shown:
                fail("key %d: %s position %d is not %r" % (key, name, at, shown))
            uses[name] += 1
    for name, (_, announced) in lists.items():
        if uses[name] != announced:
            fail("list %s: %d formats use it, %d announced" % (name, uses[name], announced))


def emit(out, categories, titles, captions, encoding, lists, entries):
    w = out.write
    w("// Reference values of the catalogue tests, checked by hand: every category, format title and\n")
    w("// caption, encoding row and preset, written apart from the catalogue's own tables (first put\n")
    w("// in this form by make_expected_tables.py beside this file).\n")
    w("// clang-format off\n#pragma once\n\n#include <string>\n#include <vector>\n\nnamespace expected {\n\n")

    w("struct Category { int Position; const char* Caption; int Image; int Family; int Formats; };\n")
    w("inline const Category Categories[] = {\n")
    for row in categories:
        w("    {%d, %s, %d, %d, %d},\n" % (row[0], c_str(row[1]), row[2], row[3], row[4]))
    w("};\n\n")

    w("struct Title { int Key; const char* Text; };\n")
    w("inline const Title Titles[] = {\n")
    for key, title in titles:
        w("    {%d, %s},\n" % (key, c_str(title)))
    w("};\n\n")

    w("// Captions given word for word (the other families have captions of their own choosing).\n")
    w("inline const Title Captions[] = {\n")
    for key, caption in captions:
        w("    {%d, %s},\n" % (key, c_str(caption)))
    w("};\n\n")

    w("struct Encoding {\n")
    w("    int Key; const char* NameExt; const char* FileExt; const char* VideoCodec; const char* VideoTag;\n")
    w("    const char* FrameSize; const char* FrameRate; int VideoBitrate; const char* AudioCodec;\n")
    w("    const char* AudioChannels; const char* AudioSampleRate; int AudioBitrate;\n")
    w("    const char* FrameAspectRatio; const char* TargetType; const char* NormType; bool DisableVideo;\n")
    w("};\n")
    w("inline const Encoding Encodings[] = {\n")
    for key, _ in titles:
        v = encoding[key]
        w("    {%d, %s, %s, %s, %s, %s, %s, %d, %s, %s, %s, %d, %s, %s, %s, %s},\n" % (
            key, c_str(v["name_ext"]), c_str(v["file_ext"]), c_str(v["vcodec"]), c_str(v["tag"]),
            c_str(v["size"]), c_str(v["rate"]), v["vbit"], c_str(v["acodec"]), c_str(v["channels"]),
            c_str(v["srate"]), v["abit"], c_str(v["aspect"]), c_str(v["target"]), c_str(v["norm"]),
            "true" if v["no_video"] else "false"))
    w("};\n\n")

    w("struct PresetList { const char* Name; std::vector<std::string> Items; };\n")
    w("inline const std::vector<PresetList> PresetLists = {\n")
    for name, (items, _) in lists.items():
        w("    {%s, {%s}},\n" % (c_str(name), ", ".join(c_str(i) for i in items)))
    w("};\n\n")

    w("// Choices in fill order: frame size, video bitrate, frame rate, audio bitrate, sample rate, aspect.\n")
    w("struct PresetChoice { const char* List; int Position; const char* Text; };\n")
    w("struct PresetEntry { int Key; PresetChoice Choices[6]; bool AudioOnly; };\n")
    w("inline const PresetEntry PresetEntries[] = {\n")
    for key, _ in titles:
        _, _, choices, audio_only = entries[key]
        w("    {%d, {%s}, %s},\n" % (key, ", ".join("{%s, %d, %s}" % (c_str(n), p, c_str(t)) for n, p, t in choices),
                                   "true" if audio_only else "false"))
    w("};\n\n} // namespace expected\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("markdown", nargs="+")
    ap.add_argument("-o", "--output", required=True)
    args = ap.parse_args()
    lines = []
    for path in args.markdown:
        with open(path, encoding="utf-8") as f:
            lines += f.read().splitlines()
    categories = parse_categories(lines)
    titles = parse_titles(lines)
    captions = parse_captions(lines)
    encoding = parse_encoding(lines)
    lists = parse_preset_lists(lines)
    entries = parse_preset_entries(lines)
    check(categories, titles, encoding, lists, entries)
    with open(args.output, "w", encoding="utf-8") as out:
        emit(out, categories, titles, captions, encoding, lists, entries)


if __name__ == "__main__":
    main()
