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


# EDICT tags of senses a learner must not be taught as a word's meaning:
# vulgar, derogatory or sensitive words, slang, archaic, obsolete and dated
# words and spellings, dialects, and words of poetry or one sex's speech.
UNFIT_TAGS = {'vulg', 'X', 'derog', 'sens', 'sl', 'm-sl', 'net-sl', 'col', 'joc', 'arch', 'obs', 'obsc',
              'dated', 'poet', 'male', 'fem', 'ok', 'oK', 'ik', 'iK', 'io',
              'ksb:', 'ktb:', 'kyb:', 'osb:', 'rkb:', 'thb:', 'tsb:', 'tsug:', 'kyu:', 'hob:', 'nab:'}


# Meanings no learner is taught, whatever the dictionaries say: discriminatory
# and vulgar words, dialect, and the old month names. check-data refuses the
# same list in every shipped file.
UNFIT_MEANINGS = {
    '支那', 'シナ', '支那語', 'シナ語', '支那人', 'シナ人', '毛唐', '土人', 'めくら', '盲', 'つんぼ', '聾',
    'おし', '唖', 'びっこ', 'かたわ', '片輪', '気違い', 'きちがい', '気狂い', '白痴', '黒ん坊', 'ジャップ',
    '金玉', 'きんたま', 'タマキン', 'ズベ公', 'ちんこ', 'ちんぽ', 'まんこ', 'おまんこ', 'くそ', '糞', '売女', '淫売', 'あばずれ',
    'あらへん', 'あれへん', 'おおきに', 'ほんま', 'あかん',
    '睦月', '如月', '弥生', '卯月', '皐月', '水無月', '文月', '葉月', '長月', '神無月', '霜月', '師走',
    'カラード', '乞丐', '二号', '情婦', '屁', '屁をこく', '屁をひる', 'ザーメン',
}


class MeaningSource:
    def __init__(self, edict_entries, freedict, wordnet):
        self.freedict = freedict
        self.wordnet = wordnet
        # forms of common EDICT entries met so far (candidates of any word)
        self.common_forms = set()
        # kanji spelling -> its readings, to tell a reading from a meaning
        self.reading_of = {}
        for e in edict_entries:
            if e.reading and e.spelling != e.reading:
                self.reading_of.setdefault(e.spelling, set()).add(e.reading)
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

    def readings_of(self, forms):
        return {r for m in forms for r in self.reading_of.get(_stem(m), ())}

    def unfit_forms(self, word):
        """Japanese forms EDICT gives for the word only in senses a learner
        must not be taught (see UNFIT_TAGS)."""
        fit, unfit = set(), set()
        for e, si, gi, n, verb, pos in self.by_gloss.get(word.lower(), []):
            tags = e.sense_tags[si] if si < len(e.sense_tags) else set()
            (unfit if tags & UNFIT_TAGS else fit).update({e.japanese, e.spelling, e.reading})
        return unfit - fit

    def edict_candidates(self, word, plain=False):
        """Japanese forms whose gloss is the word (or "to word"), best first,
        merged by reading. plain: only senses fit to teach (see UNFIT_TAGS)."""
        scored = {}
        wpos = set(self.wordnet.lemma_pos(word)) if self.wordnet else set()
        for e, si, gi, n, verb, pos in self.by_gloss.get(word.lower(), []):
            if e.spelling.startswith('〜') or not _has_japanese(e.japanese):
                continue
            if plain and e.sense_tags[si] & UNFIT_TAGS:
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
        for s, form, common, _ in best:
            if form not in out:
                out.append(form)
                if common:
                    self.common_forms.add(form)
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

    def meanings(self, word, limit=4, plain=False):
        """(meanings, confirmed): confirmed when both sources hold the first.
        Loanwords in katakana come after native words, one at most (unless
        there is nothing else); a form and the same form plus "な"/"する"
        count once. plain: no meaning EDICT marks vulgar, derogatory, slang,
        archaic or dialect, nor one of UNFIT_MEANINGS."""
        ed = [m for m in self.edict_candidates(word, plain) if _clean(m)]
        fd = [_clean(m) for m in self.freedict_terms(word) if _clean(m)]
        if plain:
            unfit = self.unfit_forms(word) | UNFIT_MEANINGS
            ed = [m for m in ed if _stem(m) not in unfit and m not in unfit]
            fd = [m for m in fd if _stem(m) not in unfit and m not in unfit]
            # Unreviewed words keep the meanings both dictionaries give and the
            # common words of EDICT: rare, literary and odd forms go.
            both = {_stem(m) for m in ed} & {_stem(f) for f in fd}
            ed = [m for m in ed if _stem(m) in both or m in self.common_forms]
            fd = [m for m in fd if _stem(m) in both]

        fdset = set(fd)
        agreed = [m for m in ed[:6] if _stem(m) in {_stem(f) for f in fdset}]
        pool = agreed[:1] + ed[:3] + agreed[1:] + fd[:2] + ed[3:] + fd[2:]
        native = [m for m in pool if not _is_katakana(m)]
        kata = [m for m in pool if _is_katakana(m)]
        ordered, stems = [], set()
        for m in native + kata[:1 if native else 2]:
            if _stem(m) in stems or len(ordered) >= limit:
                continue
            # A reading in kana of a meaning already given in kanji adds nothing.
            if plain and m in self.readings_of(ordered):
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
    # A stressed r-coloured vowel is long (girl ɚ́ː), an unstressed one short.
    'ER': ('[E2]', '[E2!][k0]', '[E2!2][k0]'),
    'EH': ('[E3]', '[E3!]', '[E3!2]'),
    # The glyph set has no stressed ɪ; a stressed ɪ is drawn as a stressed i.
    'IH': ('[I]', '[i!]', '[i!2]'),
    # An unstressed IY is the short i of happy, report, serious.
    'IY': ('i', '[i!][k0]', '[i!2][k0]'),
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
# Prefixes of verbs that take the stress on the verb they are built on
# (oversee, overcome, undertake); the number of vowels each prefix has.
_VERB_PREFIXES = (('over', 2), ('under', 2))
# Hiragana endings of a Japanese verb in its dictionary form.
_VERB_ENDINGS = tuple('うくぐすつぬぶむる')


def _vowel_positions(phones):
    return [i for i, p in enumerate(phones) if p[-1:] in '012' and p[:-1] in _VOWELS]


def _set_stress(phones, i, stress):
    phones[i] = phones[i][:-1] + stress


# Endings of verb forms that describe (敵意のある, 進んでいる): adjectives.
_DESCRIBING_ENDINGS = ('のある', 'ている', 'ておる')


def is_verb_meaning(meaning):
    """A Japanese meaning in a verb's dictionary form (克服する, 見落とす)."""
    m = re.sub(r'[（(][^)）]*[)）]', '', meaning).strip()
    return m.endswith(_VERB_ENDINGS) and not m.endswith(_DESCRIBING_ENDINGS)


def _primary_index(arpa):
    phones = arpa.split()
    vowels = _vowel_positions(phones)
    for k, i in enumerate(vowels):
        if phones[i].endswith('1'):
            return k
    return -1


def mend_stress(arpa, word='', verb=False):
    """The stress of a pronouncing-dictionary entry as a learner's dictionary
    prints it:
    - of two primary stresses (outside, engineer) the first is a secondary one;
    - an over-/under- verb is stressed on the verb it is built on
      (oversee òuvərsíː, undertake ʌ̀ndərtéik);
    - a final -y (company, ability), a final -o (memo, tomorrow) and an i
      before another vowel after the stressed syllable (immediately) carry no
      stress;
    - -ism has no secondary stress (mechanism, tourism)."""
    phones = arpa.split()
    vowels = _vowel_positions(phones)
    primaries = [i for i in vowels if phones[i].endswith('1')]
    for i in primaries[:-1]:
        _set_stress(phones, i, '2')
    for prefix, n in _VERB_PREFIXES:
        if verb and word.startswith(prefix) and len(vowels) > n and phones[vowels[0]].endswith('1'):
            stem = vowels[n:]
            target = next((i for i in stem if phones[i].endswith('2')), stem[0])
            _set_stress(phones, vowels[0], '2')
            _set_stress(phones, target, '1')
    primary = next((i for i in vowels if phones[i].endswith('1')), len(phones))
    for i in vowels:
        final = i == len(phones) - 1
        if phones[i] == 'OW2' and final:
            _set_stress(phones, i, '0')
        if phones[i] != 'IY2':
            continue
        before_vowel = i + 1 < len(phones) and i + 1 in vowels
        if final or (before_vowel and i > primary):
            _set_stress(phones, i, '0')
    tail = phones[-4:]
    if len(tail) == 4 and tail[0] == 'IH2' and tail[1:] in (['Z', 'AH0', 'M'], ['S', 'AH0', 'M']):
        _set_stress(phones, len(phones) - 4, '0')
    return ' '.join(phones)


def _drop_early_secondary(phones):
    # A secondary stress right before the primary one (include: IH2 N K L UW1 D)
    # is not marked in learners' dictionaries; one with a syllable between
    # (information) is. The vowel keeps its full quality: "3" is a full vowel
    # without a mark (worldwide wɚːldwáid, not a reduced ɚ).
    vowels = _vowel_positions(phones)
    for k in range(len(vowels) - 1):
        a, b = phones[vowels[k]], phones[vowels[k + 1]]
        if a.endswith('2') and b.endswith('1'):
            # An i before the stress is short (reality riǽləti).
            phones[vowels[k]] = a[:-1] + ('0' if a.startswith('IY') else '3')
    return phones


# Full vowels without a stress mark where the unstressed form is reduced
# ("3": also written in the correction table, colleague K AA1 L IY3 G).
_UNMARKED_FULL = {'ER': '[E2][k0]', 'AH': '[A2]', 'IY': 'i[k0]'}


def arpabet_to_code(arpa):
    out = []
    for ph in _drop_early_secondary(arpa.split()):
        m = re.fullmatch(r'([A-Z]+)([0123]?)', ph)
        if not m:
            raise ValueError('bad ARPAbet phone %r in %r' % (ph, arpa))
        base, stress = m.group(1), m.group(2)
        if base in _VOWELS:
            unstressed, primary, secondary = _VOWELS[base]
            if stress == '3':
                out.append(_UNMARKED_FULL.get(base, unstressed))
                continue
            # A one-syllable word with "AH0" (a, the) stays a schwa.
            out.append({'1': primary, '2': secondary}.get(stress, unstressed))
        elif base in _CONSONANTS:
            out.append(_CONSONANTS[base])
        else:
            raise ValueError('unknown ARPAbet phone %r in %r' % (ph, arpa))
    return ''.join(out)


def choose_variant(variants, verb):
    """The entry of the word the asked meaning belongs to: where the entries
    stress different syllables (export: noun ékspɔːrt, verb ikspɔ́ːrt), a verb
    takes the one stressed latest; any other word keeps the first entry (the
    correction table names another where the first is not the asked one).
    Weak forms without a primary stress (just: JH IH0 S T) are never taken."""
    if not verb:
        return variants[0]
    stressed = [(v, _primary_index(v)) for v in variants if _primary_index(v) >= 0]
    if not stressed:
        return variants[0]
    latest = max(k for _, k in stressed)
    return next(v for v, k in stressed if k == latest)


def pronunciation(word, cmu, choice=None, first_meaning=''):
    """Code of the word (phrases: each word's code joined by a space). choice:
    an ARPAbet string (taken as written: the reviewed correction) or the
    1-based CMU variant number from the correction table; without one the
    entry is chosen by the first meaning's part of speech and its stress
    mended by rule."""
    if choice and not choice.isdigit():
        return arpabet_to_code(choice)
    verb = is_verb_meaning(first_meaning)
    parts = []
    for w in strip_homonym_digit(word).lower().split():
        variants = cmu.get(w)
        if not variants:
            return ''
        if choice and choice.isdigit() and len(parts) == 0:
            arpa = variants[min(int(choice) - 1, len(variants) - 1)]
        else:
            arpa = choose_variant(variants, verb) if ' ' not in word else variants[0]
        parts.append(arpabet_to_code(mend_stress(arpa, w, verb)))
    return ' '.join(parts)


def strip_homonym_digit(word):
    """tear2 -> tear: the digit tells two rows of one spelling apart."""
    return re.sub(r'(?<=[a-z])[2-9]$', '', word)


# ---------------------------------------------------------------- links ----
# Suffixes whose base word is nearly always right when both words are on the
# same list (happiness -> happy, payment -> pay, careful -> care), with the
# parts of speech the dictionary must give the word and its base: a -ly word
# is an adverb or adjective made from an adjective or noun (simply, weekly,
# never apply <- apple or imply <- imp), -ment makes nouns of verbs (never
# pigment <- pig), -able adjectives of verbs and nouns (never notable <- not).
_SAFE_SUFFIXES = [
    # (suffix, base ending, parts of speech of the word, of the base)
    ('iness', 'y', 'n', 'a'), ('ness', '', 'n', 'a'), ('ment', '', 'n', 'v'),
    ('ily', 'y', 'ra', 'an'), ('ly', '', 'ra', 'an'), ('ly', 'le', 'ra', 'a'),
    ('iful', 'y', 'a', 'n'), ('ful', '', 'a', 'nv'), ('less', '', 'a', 'nv'),
    ('able', '', 'a', 'vn'), ('able', 'e', 'a', 'vn'), ('iable', 'y', 'a', 'v'),
]


def _pos_fits(wordnet, word, kinds):
    """Whether the dictionary gives the word one of the parts of speech kinds
    (without a dictionary every word fits)."""
    if wordnet is None:
        return True
    return any(p in kinds for p in wordnet.lemma_pos(word))


def base_word(word, words, wordnet, overrides=None):
    """The base word of the same list this word derives from, or ''.
    overrides: the reviewed links (word -> base, '' for none), which win."""
    if overrides and word in overrides:
        base = overrides[word]
        return base if base in words else ''
    candidates = []
    for suf, repl, word_pos, base_pos in _SAFE_SUFFIXES:
        if word.endswith(suf) and len(word) - len(suf) >= 3:
            stem = word[: len(word) - len(suf)] + repl
            if (stem in words and stem != word and _pos_fits(wordnet, word, word_pos)
                    and _pos_fits(wordnet, stem, base_pos)):
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
