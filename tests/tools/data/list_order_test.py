"""The order rules of the data build: Italian kinds interleaved inside their
bands, English bands ordered by exam use.

    python3 tests/tools/data/list_order_test.py
"""
import os
import sys
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
sys.path.insert(0, os.path.join(REPO, 'tools', 'data'))

import build     # noqa: E402
import italian   # noqa: E402


class ItalianKinds(unittest.TestCase):
    def test_kind_of_a_word_follows_its_section(self):
        cases = [
            ('essere', 'verbs', 'verb'),
            ('casa', 'nouns', 'noun'),
            ('mare', 'more nouns', 'noun'),            # looks like an infinitive, but a noun section
            ('bello', 'adjectives and others', 'adjective'),
            ('tre', 'numbers', 'number'),
            ('accendere', 'more verbs and words', 'verb'),
            ('volto', 'more verbs and words', 'other'),
            ('sedersi', 'frequent words added later', 'verb'),
            ('mentre', 'frequent words added later', 'other'),
        ]
        for word, section, kind in cases:
            with self.subTest(word=word):
                self.assertEqual(italian.kind_of(word, section), kind)

    def test_kinds_mix_from_the_first_rows_and_bands_keep_their_words(self):
        verbs = ['v%d' % i for i in range(8)]
        nouns = ['n%d' % i for i in range(4)]
        adjectives = ['a%d' % i for i in range(2)]
        rows = ([(1, 'verb', w, []) for w in verbs] + [(1, 'noun', w, []) for w in nouns] +
                [(1, 'adjective', w, []) for w in adjectives] + [(2, 'verb', 'late', []), (2, 'noun', 'later', [])])
        order = [w for w, _ in italian.interleave_kinds(rows)]
        self.assertEqual(set(order[:4]), {'n0', 'v0', 'a0', 'v1'})
        for kind_words in (verbs, nouns, adjectives):
            self.assertEqual([w for w in order if w in kind_words], kind_words)
        self.assertEqual(set(order[-2:]), {'late', 'later'})

    def test_the_shipped_list_asks_nouns_verbs_and_adjectives_among_its_first_rows(self):
        rows, band, section = [], 1, ''
        with open(os.path.join(REPO, 'tools', 'data', 'lists', 'IT_words.txt'), encoding='utf-8') as f:
            for line in f:
                line = line.rstrip('\n')
                if line.startswith('## band '):
                    band = int(line.split()[2])
                elif line.startswith('## '):
                    section = line[3:]
                elif line.strip() and not line.startswith('#'):
                    word = line.split(': ')[0]
                    rows.append((band, italian.kind_of(word, section), word, []))
        order = [w for w, _ in italian.interleave_kinds(rows)]
        kind = {w: k for _, k, w, _ in rows}
        self.assertLessEqual({'verb', 'noun', 'adjective'}, {kind[w] for w in order[:10]}, order[:10])
        band_of = {w: b for b, _, w, _ in rows}
        self.assertEqual([band_of[w] for w in order], sorted(band_of[w] for w in order))


class ExamUseOrder(unittest.TestCase):
    def test_words_films_use_far_more_than_texts_leave_the_front(self):
        spoken_order = ['okay', 'know', 'hello', 'think', 'because', 'time', 'report', 'crazy', 'market', 'email']
        spoken = {w: i + 1 for i, w in enumerate(spoken_order)}
        written = {'know': 900, 'think': 800, 'time': 700, 'report': 300, 'market': 200, 'crazy': 2,
                   'okay': 1, 'hello': 1}
        order = build.exam_use_order(sorted(spoken), spoken, written)
        self.assertEqual(order[:2], ['know', 'think'])
        self.assertLess(order.index('report'), order.index('hello'))
        self.assertLess(order.index('market'), order.index('crazy'))
        self.assertGreater(order.index('okay'), spoken_order.index('okay'))
        # No written count: the spoken rank stands.
        self.assertEqual(order.index('because'), spoken_order.index('because'))
        self.assertEqual(order[-1], 'email')

    def test_same_input_same_order(self):
        spoken = {w: i for i, w in enumerate(['a', 'b', 'c', 'd'])}
        written = {'a': 1, 'b': 1, 'c': 1, 'd': 1}
        self.assertEqual(build.exam_use_order(['d', 'c', 'b', 'a'], spoken, written),
                         build.exam_use_order(['a', 'b', 'c', 'd'], spoken, written))

    def test_written_counts_are_summed_over_senses_and_a_bad_line_is_named(self):
        import tempfile
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, 'cntlist.rev')
            with open(path, 'w', encoding='utf-8') as f:
                f.write('kill%2:35:00:: 1 30\nkill%1:04:00:: 2 5\nhello%1:10:00:: 1 1\n')
            self.assertEqual(build.read_written_counts(path), {'kill': 35, 'hello': 1})
            with open(path, 'a', encoding='utf-8') as f:
                f.write('broken line\n')
            with self.assertRaises(SystemExit) as raised:
                build.read_written_counts(path)
            self.assertIn('cntlist.rev:4', str(raised.exception))


if __name__ == '__main__':
    unittest.main()
