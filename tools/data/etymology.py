#!/usr/bin/env python3
"""Builds resource/Etymology_enc.dat from the reviewable sources in
tools/data/etymology/ (words.tsv, roots.tsv, affixes.tsv; see their heads).

The Japanese meanings of each word are the first four of our own word lists
TT and DT, read with `tessarion-tool words`. The plain text goes to
tools/data/out/Etymology.txt and is encoded with `tessarion-tool encode`.
Same sources, same bytes. A word that is not on a list, a root or an affix
that a word uses but the tree or the table lacks, or a malformed line stops
the build with the file and line.
"""
import argparse
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
SOURCES = os.path.join(HERE, 'etymology')
sys.path.insert(0, HERE)
from build import ETYMOLOGY_VERSION as VERSION   # noqa: E402  (the version the catalog lists)
RECORD_LINES = 29
GROUP_SIZE = 100
LAST_GROUP = 201
LISTS = ('TT', 'DT')
LANGUAGES = {'AI', 'Arab', 'C', 'Celt', 'Du', 'E', 'Eg', 'F', 'Fk', 'G', 'Gaul', 'Gk', 'GR', 'Heb', 'IE',
             'II', 'It', 'Ir', 'J', 'L', 'M', 'ME', 'ON', 'OE', 'PE', 'Sc', 'Sem', 'Sp', 'Sv', 'Sw', 'We',
             'W', 'n'}
# Columns of words.tsv and the record line each goes to.
WORD_COLUMNS = (7, 9, 10, 11, 12, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25)
# Word-list columns (tessarion-tool words): the headword, then the four meanings.
LIST_WORD, LIST_MEANINGS = 2, slice(7, 11)


class SourceError(Exception):
    pass


def rows(name, columns):
    path = os.path.join(SOURCES, name)
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            fields = line.split('\t')
            if len(fields) != columns:
                raise SourceError(f'{path}:{number}: {len(fields)} fields, {columns} expected')
            yield path, number, fields


def list_meanings(tool, program_folder):
    meanings = {}
    for code in LISTS:
        out = subprocess.run([tool, 'words', '--program-folder', program_folder, '--file', code],
                             check=True, capture_output=True, text=True).stdout
        for line in out.splitlines():
            f = line.split('\t')
            meanings.setdefault(f[LIST_WORD], [m for m in f[LIST_MEANINGS] if m])
    return meanings


def affix_form(form, prefix):
    """The affix-table form of a record's prefix or suffix: "pre2" is "pre-2", "ly2" is "-ly2"."""
    digit = form[-1] if form[-1:] in '123456789' and form[-1:] else ''
    stem = form[:-1] if digit else form
    return (stem + '-' + digit) if prefix else ('-' + stem + digit)


def build_text(meanings):
    roots, tree = {}, []
    for path, number, (level, code, forms, gloss) in rows('roots.tsv', 4):
        if level not in ('1', '2', '3') or code not in LANGUAGES or not forms or not gloss:
            raise SourceError(f'{path}:{number}: level 1-3, a known language code, forms and a gloss expected')
        if (code, forms) in roots:
            raise SourceError(f'{path}:{number}: root {code} {forms} written twice')
        roots[(code, forms)] = gloss
        tree += [level, code, forms, gloss]
    affixes, table = set(), []
    for path, number, (form, gloss) in rows('affixes.tsv', 2):
        if not form or not gloss or '-' not in form:
            raise SourceError(f'{path}:{number}: a form with "-" and a gloss expected')
        if form in affixes:
            raise SourceError(f'{path}:{number}: {form} written twice')
        affixes.add(form)
        table += [form, gloss, '', '']
    for path, number, (form, gloss) in rows('affixes.tsv', 2):
        if '-' in gloss and gloss not in affixes:
            raise SourceError(f'{path}:{number}: {form} points at {gloss}, which is not in affixes.tsv')
    records, seen = [], set()
    for path, number, fields in rows('words.tsv', len(WORD_COLUMNS)):
        word = fields[0]
        if word in seen:
            raise SourceError(f'{path}:{number}: {word} written twice')
        seen.add(word)
        if word not in meanings:
            raise SourceError(f'{path}:{number}: {word} is on neither word list')
        lines = [''] * RECORD_LINES
        for line, text in zip(WORD_COLUMNS, fields):
            lines[line] = text
        for line, text in zip((3, 4, 5, 6), meanings[word][:4]):
            lines[line] = text
        for code_line, forms_line in ((14, 15), (18, 19)):
            key = (lines[code_line], lines[forms_line])
            if any(key) and key not in roots:
                raise SourceError(f'{path}:{number}: root {key[0]} {key[1]} is not in roots.tsv')
        if lines[19] and not lines[15]:
            raise SourceError(f'{path}:{number}: a second root without a first one')
        # The root's basic sense is the tree's gloss unless the word says otherwise.
        if lines[15] and not lines[16]:
            lines[16] = roots[(lines[14], lines[15])]
        for line, prefix in ((11, True), (21, False)):
            if lines[line] and affix_form(lines[line], prefix) not in affixes:
                raise SourceError(f'{path}:{number}: {affix_form(lines[line], prefix)} is not in affixes.tsv')
        if lines[25] not in ('', '1', '2', '3'):
            raise SourceError(f'{path}:{number}: layout type 1, 2, 3 or empty expected')
        records.append((path, number, lines))
    for path, number, lines in records:
        for line in (9, 10):
            if lines[line] and lines[line] not in seen:
                raise SourceError(f'{path}:{number}: parent {lines[line]} has no record in words.tsv')
    if len(records) > GROUP_SIZE * LAST_GROUP:
        raise SourceError(f'{len(records)} words: room for {GROUP_SIZE * LAST_GROUP}')
    out = [f'#{VERSION}']
    for i, (_, _, lines) in enumerate(records):
        lines[0] = str(i // GROUP_SIZE + 1)
        out += lines
    out += ['root'] + tree + ['affix'] + table + ['end']
    return ''.join(line + '\r\n' for line in out)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--tool', default=os.path.join(REPO, 'build', 'tessarion-tool'))
    ap.add_argument('--program-folder', default=os.path.join(REPO, 'build'),
                    help='a program folder holding the built word lists')
    ap.add_argument('--resource', default=os.path.join(REPO, 'resource'))
    ap.add_argument('--check', action='store_true',
                    help='write nothing; fail when the shipped file differs from what the sources and '
                         'the word lists make (a meaning changed on a list and the file was not rebuilt)')
    args = ap.parse_args()
    try:
        text = build_text(list_meanings(args.tool, args.program_folder))
    except SourceError as e:
        sys.exit(str(e))
    target = os.path.join(args.resource, 'Etymology_enc.dat')
    if args.check:
        with tempfile.TemporaryDirectory() as tmp:
            plain = os.path.join(tmp, 'Etymology.txt')
            with open(plain, 'w', encoding='utf-8', newline='') as f:
                f.write(text)
            made = os.path.join(tmp, 'Etymology_enc.dat')
            subprocess.run([args.tool, 'encode', plain, made], check=True, stdout=subprocess.DEVNULL)
            with open(made, 'rb') as a, open(target, 'rb') as b:
                if a.read() != b.read():
                    sys.exit('%s differs from what tools/data/etymology/ and the word lists make: '
                             'run tools/data/etymology.py' % target)
        print('%s is up to date' % target)
        return
    out_dir = os.path.join(HERE, 'out')
    os.makedirs(out_dir, exist_ok=True)
    plain = os.path.join(out_dir, 'Etymology.txt')
    with open(plain, 'w', encoding='utf-8', newline='') as f:
        f.write(text)
    subprocess.run([args.tool, 'encode', plain, target], check=True)


if __name__ == '__main__':
    main()
