"""Italian words: the grouping columns of the IT list, from spelling rules
that hold for the words of one list (a rule only fires when the word it
names is on the list too)."""

# Prefixes whose remainder, when it is a word of the list, is the same-origin
# word (ritrovare -> trovare, impossibile -> possibile).
PREFIXES = ['contro', 'sopra', 'tras', 'anti', 'dis', 'con', 'per', 'pro', 'tra',
            'sor', 'sot', 'pre', 'ri', 'in', 'im', 'ot', 's']
# Words of the list that only look prefixed (checked by hand): spalla is no
# s-palla, prestare no pre-stare in today's sense.
NOT_PREFIXED = {'spalla', 'soffrire', 'scorso', 'prestare', 'sporco', 'scala', 'stanza',
                'spesa', 'scena', 'sconto', 'svolgere', 'contare', 'contatto', 'ingannare',
                'sotto', 'tradire', 'scultura', 'presenza'}
# Look-alikes that mean something else (rumore is noise, arrivo arrival).
NO_COGNATE = {'stanza', 'rumore', 'arrivo'}
NO_BASE = {'novità'}
NO_SUFFIX = {'riposo'}
# Derivational suffixes that group words (column 12). Infinitive endings are
# no suffixes here: they would group every verb.
SUFFIXES = ['zione', 'sione', 'mente', 'mento', 'tore', 'trice', 'ista', 'ismo', 'ezza',
            'enza', 'abile', 'ibile', 'ità', 'oso', 'osa']
# Suffix rules that find the base word (the derivation link).
BASE_RULES = [
    ('amente', ['o']), ('emente', ['e']), ('lmente', ['le']), ('rmente', ['re']),
    ('azione', ['are']), ('amento', ['are']), ('imento', ['ire', 'ere']), ('atore', ['are']),
    ('ezza', ['o', 'e']), ('ità', ['e', 'o']),
]
# Italian ending -> English ending of a cognate (nazione -> nation).
COGNATES = [('zione', 'tion'), ('sione', 'sion'), ('ità', 'ity'), ('ismo', 'ism'),
            ('ista', 'ist'), ('mento', 'ment'), ('enza', 'ence'), ('anza', 'ance'),
            ('oso', 'ous'), ('ico', 'ic'), ('ale', 'al'), ('ivo', 'ive'), ('bile', 'ble'),
            ('ario', 'ary'), ('ore', 'or')]


def prefix_and_base(word, words):
    if word in NOT_PREFIXED:
        return '', ''
    for p in PREFIXES:
        rest = word[len(p):]
        if word.startswith(p) and len(rest) >= 4 and rest in words:
            return p, rest
    return '', ''


def suffix_of(word):
    if word in NO_SUFFIX:
        return ''
    for s in SUFFIXES:
        if word.endswith(s) and len(word) > len(s) + 2:
            return s
    return ''


def base_of(word, words):
    if word in NO_BASE:
        return ''
    for suf, repls in BASE_RULES:
        if word.endswith(suf) and len(word) > len(suf) + 2:
            stem = word[: -len(suf)]
            for r in repls:
                cand = stem + r
                if cand in words and cand != word:
                    return cand
    return ''


def english_cognate(word, english_words):
    if word in NO_COGNATE:
        return ''
    for it, en in COGNATES:
        if word.endswith(it) and len(word) > len(it) + 1:
            cand = word[: -len(it)] + en
            if cand in english_words:
                return cand
    return ''


# Infinitive endings: a word of a section that mixes kinds is a verb when it
# ends so (bere, porre and the reflexive -arsi, -ersi, -irsi included).
INFINITIVE_ENDINGS = ('are', 'ere', 'ire', 'rre', 'arsi', 'ersi', 'irsi', 'rsi')
# Section names -> the kind of their words; a section naming none mixes kinds.
SECTION_KINDS = [('verb', 'verb'), ('noun', 'noun'), ('adjective', 'adjective'), ('number', 'number')]


def kind_of(word, section):
    """The kind of a word of IT_words.txt: the one its section names ("verbs",
    "more nouns"); in a section of "words" (mixed kinds), verb for an
    infinitive and "other" for the rest."""
    name = section.lower()
    if 'words' not in name:
        for key, kind in SECTION_KINDS:
            if key in name:
                return kind
    return 'verb' if word.endswith(INFINITIVE_ENDINGS) else 'other'


def interleave_kinds(entries):
    """[(band, kind, word, meanings)] -> [(word, meanings)]: bands in order;
    inside a band the kinds evenly interleaved (the i-th of n words of a kind
    goes at (i + 1/2) / n of the band), each kind in file order. Ties go to
    the kind met first in the band."""
    out = []
    for band in sorted({e[0] for e in entries}):
        rows = [e for e in entries if e[0] == band]
        kinds = []
        for _, kind, _, _ in rows:
            if kind not in kinds:
                kinds.append(kind)
        size = {k: sum(1 for r in rows if r[1] == k) for k in kinds}
        seen = dict.fromkeys(kinds, 0)
        keyed = []
        for _, kind, word, meanings in rows:
            keyed.append(((seen[kind] + 0.5) / size[kind], kinds.index(kind), word, meanings))
            seen[kind] += 1
        keyed.sort(key=lambda r: (r[0], r[1]))
        out += [(word, meanings) for _, _, word, meanings in keyed]
    return out
