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
