"""English headwords: Japanese meanings from EDICT and FreeDict, the
pronunciation code from the CMU dictionary, and base-word links from WordNet."""
import re

# ------------------------------------------------------------ meanings ----
_PAREN = re.compile(r'\s*\([^)]*\)')


def _norm_gloss(g):
    g = _PAREN.sub('', g).strip().lower()
    g = re.sub(r'\s+', ' ', g)
    return g


def _has_japanese(t):
    return re.search(r'[\u3040-\u30ff\u3400-\u9fff]', t) is not None


class MeaningSource:
    def __init__(self, edict_entries, freedict, wordnet):
        self.freedict = freedict
        self.wordnet = wordnet
        # gloss -> [(entry, sense index, gloss index, glosses in sense, verb gloss)]
        self.by_gloss = {}
        for e in edict_entries:
            for si, (pos, glosses) in enumerate(e.senses):
                for gi, g in enumerate(glosses):
                    n = _norm_gloss(g)
                    verb = False
                    if n.startswith('to '):
                        n = n[3:]
                        verb = True
                    self.by_gloss.setdefault(n, []).append((e, si, gi, len(glosses), verb, pos))

    def edict_candidates(self, word):
        """Japanese forms whose gloss is the word (or "to word"), best first,
        merged by reading."""
        scored = {}
        wpos = set(self.wordnet.lemma_pos(word)) if self.wordnet else set()
        for e, si, gi, n, verb, pos in self.by_gloss.get(word.lower(), []):
            if e.spelling.startswith('〜') or not _has_japanese(e.japanese):
                continue
            score = 0.0
            score += 6 if e.common else 0
            score += max(0, 4 - 2 * si)
            score += max(0, 4 - 2 * gi)
            score += 1 if n <= 3 else 0
            form = e.japanese
            posset = set(pos)
            if verb and 'vs' in posset and not any(p.startswith('v5') or p.startswith('v1') for p in posset):
                form = form + 'する'
            elif 'adj-na' in posset and wpos == {'a'}:
                form = form + 'な'
            if verb and 'v' not in wpos and wpos:
                score -= 3
            key = e.reading or e.spelling
            prev = scored.get(key)
            if prev is None or score > prev[0] or (score == prev[0] and e.common and not prev[2]):
                scored[key] = (score, form, e.common, e.line)
        best = sorted(scored.values(), key=lambda t: (-t[0], t[3]))
        out = []
        for s, form, _, _ in best:
            if form not in out:
                out.append(form)
        return out

    def freedict_terms(self, word):
        out = []
        for entry in self.freedict.get(word, []):
            for terms, _ in entry.senses:
                for t in terms:
                    t = re.sub(r'^\(.\)', '', t)
                    if t not in out:
                        out.append(t)
        return out

    def meanings(self, word, limit=4):
        """(meanings, confirmed): confirmed when both sources hold the first.
        Loanwords in katakana come after native words, one at most (unless
        there is nothing else); a form and the same form plus "な"/"する"
        count once."""
        ed = [m for m in self.edict_candidates(word) if _clean(m)]
        fd = [_clean(m) for m in self.freedict_terms(word) if _clean(m)]
        fdset = set(fd)
        agreed = [m for m in ed[:6] if _stem(m) in {_stem(f) for f in fdset}]
        pool = agreed[:1] + ed[:3] + agreed[1:] + fd[:2] + ed[3:] + fd[2:]
        native = [m for m in pool if not _is_katakana(m)]
        kata = [m for m in pool if _is_katakana(m)]
        ordered, stems = [], set()
        for m in native + kata[:1 if native else 2]:
            if _stem(m) in stems or len(ordered) >= limit:
                continue
            stems.add(_stem(m))
            ordered.append(m)
        confirmed = bool(agreed) and bool(ordered) and ordered[0] == agreed[0]
        return ordered, confirmed


def _is_katakana(t):
    return re.fullmatch(r'[\u30a0-\u30ffー・]+', _stem(t)) is not None


def _stem(t):
    for suf in ('する', 'な'):
        if t.endswith(suf) and len(t) > len(suf) + 1:
            return t[: -len(suf)]
    return t


def _clean(t):
    t = re.sub(r'[（(][^)）]*[)）]', '', t).strip()
    if not t or not _has_japanese(t) or re.search(r'[A-Za-z0-9|｜：:／/]', t):
        return ''
    return t


# -------------------------------------------------------- pronunciation ----
_VOWELS = {
    # ARPAbet vowel: (unstressed, primary, secondary)
    'AE': ('[ae]', '[ae!]', '[ae!2]'),
    'AH': ('[E]', '[A2!]', '[A2!2]'),
    'AA': ('[A]', '[A!]', '[A!2]'),
    'AO': ('[O][k0]', '[O!][k0]', '[O!2][k0]'),
    'ER': ('[E2]', '[E2!]', '[E2!2]'),
    'EH': ('[E3]', '[E3!]', '[E3!2]'),
    # The glyph set has no stressed ɪ; a stressed ɪ is drawn as a stressed i.
    'IH': ('[I]', '[i!]', '[i!2]'),
    'IY': ('i[k0]', '[i!][k0]', '[i!2][k0]'),
    'UH': ('[U]', '[U!]', '[U!2]'),
    'UW': ('u[k0]', '[u!][k0]', '[u!2][k0]'),
    'AY': ('a[I]', '[a!][I]', '[a!2][I]'),
    'AW': ('a[U]', '[a!][U]', '[a!2][U]'),
    'EY': ('e[I]', '[e!][I]', '[e!2][I]'),
    'OW': ('o[U]', '[o!][U]', '[o!2][U]'),
    'OY': ('[O][I]', '[O!][I]', '[O!2][I]'),
}
_CONSONANTS = {
    'B': 'b', 'D': 'd', 'F': 'f', 'G': 'g', 'K': 'k', 'L': 'l', 'M': 'm', 'N': 'n',
    'P': 'p', 'R': 'r', 'S': 's', 'T': 't', 'V': 'v', 'W': 'w', 'Z': 'z',
    'TH': '[T]', 'DH': '[D]', 'SH': '[S]', 'ZH': '[Z]', 'CH': '[ts]', 'JH': '[dz]',
    'NG': '[N]', 'HH': 'h', 'Y': 'j',
}


def _drop_early_secondary(phones):
    # A secondary stress right before the primary one (include: IH2 N K L UW1 D)
    # is not marked in learners' dictionaries; one with a syllable between
    # (information) is.
    vowels = [i for i, p in enumerate(phones) if p[-1:] in '012' and p[:-1] in _VOWELS]
    for k in range(len(vowels) - 1):
        a, b = phones[vowels[k]], phones[vowels[k + 1]]
        if a.endswith('2') and b.endswith('1'):
            phones[vowels[k]] = a[:-1] + '0'
    return phones


def arpabet_to_code(arpa):
    out = []
    for ph in _drop_early_secondary(arpa.split()):
        m = re.fullmatch(r'([A-Z]+)([012]?)', ph)
        if not m:
            raise ValueError('bad ARPAbet phone %r in %r' % (ph, arpa))
        base, stress = m.group(1), m.group(2)
        if base in _VOWELS:
            unstressed, primary, secondary = _VOWELS[base]
            # A one-syllable word with "AH0" (a, the) stays a schwa.
            out.append({'1': primary, '2': secondary}.get(stress, unstressed))
        elif base in _CONSONANTS:
            out.append(_CONSONANTS[base])
        else:
            raise ValueError('unknown ARPAbet phone %r in %r' % (ph, arpa))
    return ''.join(out)


def pronunciation(word, cmu, choice=None):
    """Code of the word (phrases: each word's code joined by a space). choice:
    an ARPAbet string or the 1-based CMU variant number from the heteronym table."""
    if choice and not choice.isdigit():
        return arpabet_to_code(choice)
    parts = []
    for w in word.lower().split():
        variants = cmu.get(w)
        if not variants:
            return ''
        k = int(choice) - 1 if choice and choice.isdigit() and len(parts) == 0 else 0
        parts.append(arpabet_to_code(variants[min(k, len(variants) - 1)]))
    return ' '.join(parts)


# ---------------------------------------------------------------- links ----
# Suffixes whose base word is nearly always right when both words are on the
# same list (happiness -> happy, payment -> pay, careful -> care).
_SAFE_SUFFIXES = [
    ('iness', 'y'), ('ness', ''), ('ment', ''), ('ily', 'y'), ('ly', ''), ('ly', 'le'),
    ('iful', 'y'), ('ful', ''), ('less', ''), ('able', ''), ('able', 'e'), ('iable', 'y'),
]


def base_word(word, words, wordnet):
    """The base word of the same list this word derives from, or ''."""
    candidates = []
    for suf, repl in _SAFE_SUFFIXES:
        if word.endswith(suf) and len(word) - len(suf) >= 3:
            stem = word[: len(word) - len(suf)] + repl
            if stem in words and stem != word:
                candidates.append(stem)
    if candidates:
        return candidates[0]
    if wordnet is None:
        return ''
    # WordNet derivation: the linked word of the list that is a prefix-sharing,
    # shorter form (attend <- attendance), never a longer one.
    best = ''
    # Sorted, so two candidates of the same length always resolve the same way.
    for d in sorted(wordnet.derivations(word)):
        if d in words and d != word and 4 <= len(d) < len(word) and word[:4] == d[:4]:
            if not best or len(d) < len(best):
                best = d
    return best
