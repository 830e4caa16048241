"""The benchmark's arithmetic and verdicts, without Wine: python3 tests/bench/test_figures.py"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import figures  # noqa: E402


class Sample:
    def __init__(self, t, gui_ms=0.0, windows=(), picture=False):
        self.t, self.gui_ms, self.windows, self.picture = t, gui_ms, list(windows), picture


class Window:
    def __init__(self, id, width, height, viewable=True):
        self.id, self.width, self.height, self.viewable = id, width, height, viewable


def verdicts(data):
    """Verdict by figure number ('1'..'7'); the explaining lines under a figure are left out."""
    return {row[0].split()[0]: row[5] for row in figures.rows(data) if not row[0].startswith(' ')}


def playing_data(**overrides):
    data = {'saver.picture_s': [1.0] * 3, 'ref.picture_s': [1.0] * 3, 'saver.exit_ms': [100.0] * 3,
            'ref.exit_ms': [100.0] * 3, 'saver.cpu_s': [1.0] * 3, 'ref.cpu_s': [1.0] * 3,
            'saver.hwm_mb': [90.0] * 3, 'ref.hwm_mb': [90.0] * 3}
    data.update(overrides)
    return data


class RunsTakenInPairs(unittest.TestCase):
    def test_a_failed_run_drops_its_pair_instead_of_shifting_the_rest(self):
        data = {'a': [2.0, None, 6.0], 'b': [1.0, 5.0, 3.0]}
        self.assertEqual(figures.pairs(data, 'a', 'b'), [(2.0, 1.0), (6.0, 3.0)])
        self.assertEqual(figures.pair_ratio(data, 'a', 'b'), 2.0)

    def test_the_ratio_is_the_median_of_the_pairs_not_of_the_medians(self):
        # A slow spell on the machine hits both runs of one pair: the pairs still say 1.5.
        data = {'a': [1.5, 3.0, 15.0], 'b': [1.0, 2.0, 10.0]}
        self.assertAlmostEqual(figures.pair_ratio(data, 'a', 'b'), 1.5)

    def test_no_pair_gives_no_ratio(self):
        self.assertIsNone(figures.pair_ratio({'a': [1.0], 'b': [None]}, 'a', 'b'))
        self.assertIsNone(figures.pair_ratio({}, 'a', 'b'))

    def test_spread_shows_median_min_and_max_of_the_runs_that_worked(self):
        self.assertEqual(figures.spread([3.0, None, 1.0, 2.0]), '2.00 [1.00..3.00]')
        self.assertEqual(figures.spread([0.021, 0.019], scale=100, digits=1), '2.0 [1.9..2.1]')
        self.assertEqual(figures.spread([]), 'n/a')


class ReadingAChangeOfClip(unittest.TestCase):
    def test_a_gap_runs_from_the_first_sample_showing_neither_clip_to_the_new_clip(self):
        samples = [(0.0, None), (0.5, 'red'), (3.0, 'red'), (3.01, None), (3.05, None), (3.06, 'green'),
                   (6.0, 'green'), (6.01, 'red'), (9.0, None)]
        gaps = figures.change_gaps_ms(samples)
        self.assertEqual(len(gaps), 2, 'the black before the first clip is no change')
        self.assertAlmostEqual(gaps[0], 50)
        self.assertEqual(gaps[1], 0)

    def test_the_figure_is_met_at_eighty_ms_and_names_the_earlier_figure(self):
        rows = figures.rows({'change.gap_ms': [0.0, 80.0, 120.0], 'change.worst_ms': [10.0, 90.0, 300.0]})
        self.assertEqual(verdicts({'change.gap_ms': [0.0, 80.0, 120.0], 'change.worst_ms': [300.0]})['8'], 'met')
        self.assertIn('earlier', rows[0][2])
        self.assertEqual(verdicts({'change.gap_ms': [81.0], 'change.worst_ms': [81.0]})['8'], 'NOT MET')


class SoakVerdict(unittest.TestCase):
    def test_figures_that_come_and_go_after_the_warm_up_are_flat(self):
        rows = [(50, 20, 150.0, 100), (100, 26, 200.0, 99), (150, 24, 201.0, 87), (200, 28, 204.0, 103),
                (250, 25, 205.0, 93)]
        self.assertTrue(figures.soak_verdict(rows).startswith('verdict: flat from change 100 to 250'))

    def test_a_thread_per_ten_changes_is_growth(self):
        rows = [(100, 30, 200.0, 140), (150, 35, 200.0, 140), (200, 40, 200.0, 140), (250, 45, 200.0, 140)]
        verdict = figures.soak_verdict(rows)
        self.assertIn('GROWING (threads)', verdict)
        self.assertIn('threads +5 (+10.0 per 100 changes)', verdict)


class ReadingAStart(unittest.TestCase):
    def test_the_longest_pause_is_the_longest_span_without_processor_time(self):
        samples = [Sample(0.0, 0), Sample(0.1, 10), Sample(0.2, 10.5), Sample(2.2, 11), Sample(2.3, 40)]
        self.assertAlmostEqual(figures.longest_pause_ms(samples), 2100, places=6)

    def test_unreadable_samples_neither_start_nor_end_a_pause(self):
        samples = [Sample(0.0, 0), Sample(0.5, None), Sample(1.0, 0.5), Sample(1.1, 30)]
        self.assertAlmostEqual(figures.longest_pause_ms(samples), 1000, places=6)

    def test_the_resume_wait_is_the_half_second_before_the_first_picture(self):
        samples = [Sample(0.1, 5), Sample(0.35, 8), Sample(0.45, 9), Sample(0.8, None), Sample(0.9, 20, picture=True)]
        start, end = figures.resume_wait(samples)
        self.assertEqual((start.t, end.t), (0.45, 0.9))
        self.assertEqual(figures.resume_wait(samples[:4]), (None, None))


class Verdicts(unittest.TestCase):
    def test_side_by_side_targets_hold_up_to_their_bound(self):
        v = verdicts(playing_data(**{'saver.picture_s': [1.1] * 3, 'saver.cpu_s': [1.05] * 3,
                                     'saver.hwm_mb': [103.5] * 3}))
        self.assertEqual((v['1'], v['3'], v['4']), ('met', 'met', 'met'))
        v = verdicts(playing_data(**{'saver.picture_s': [1.12] * 3, 'saver.cpu_s': [1.06] * 3,
                                     'saver.hwm_mb': [104.0] * 3}))
        self.assertEqual((v['1'], v['3'], v['4']), ('NOT MET', 'NOT MET', 'NOT MET'))

    def test_exit_needs_both_the_absolute_bound_and_the_ratio(self):
        self.assertEqual(verdicts(playing_data(**{'saver.exit_ms': [149.0] * 3}))['2'], 'met')
        self.assertEqual(verdicts(playing_data(**{'saver.exit_ms': [151.0] * 3}))['2'], 'NOT MET')
        slow_both = playing_data(**{'saver.exit_ms': [140.0] * 3, 'ref.exit_ms': [80.0] * 3})
        self.assertEqual(verdicts(slow_both)['2'], 'NOT MET')

    def test_a_missing_reference_never_counts_as_met(self):
        data = playing_data(**{'ref.cpu_s': [None] * 3})
        self.assertEqual(verdicts(data)['3'], 'NOT MET')

    def test_resume_share_must_stay_under_a_tenth(self):
        self.assertEqual(verdicts({'resume.share': [0.099], 'resume.cpu_ms': [49], 'resume.wall_ms': [500]})['5'],
                         'met')
        self.assertEqual(verdicts({'resume.share': [0.10], 'resume.cpu_ms': [50], 'resume.wall_ms': [500]})['5'],
                         'NOT MET')

    def test_a_big_playlist_is_judged_by_time_shown_and_by_extra_time_to_picture(self):
        big = figures.BIG_PLAYLIST
        data = {'config%d.shown_s' % big: [0.9, 0.95], 'config1.shown_s': [0.3, 0.3],
                'list%d.picture_s' % big: [1.04, 2.04], 'list1.picture_s': [1.0, 2.0]}
        rows = figures.rows(data)
        self.assertEqual([r[5] for r in rows if r[5] != '-'], ['met', 'met'])
        self.assertIn('extra 40 [40..40] ms', rows[1][3])
        data['list%d.picture_s' % big] = [1.06, 2.06]
        data['config%d.shown_s' % big] = [1.0, 1.0]
        self.assertEqual([r[5] for r in figures.rows(data) if r[5] != '-'], ['NOT MET', 'NOT MET'])

    def test_size_is_met_at_exactly_half_and_a_missing_file_is_not(self):
        self.assertEqual(verdicts({'size': [figures.EARLIER_SIZE // 2]})['7'], 'met')
        self.assertEqual(verdicts({'size': [figures.EARLIER_SIZE // 2 + 1]})['7'], 'NOT MET')
        self.assertEqual(verdicts({'size': [0]})['7'], 'NOT MET')

    def test_figures_not_measured_are_left_out_of_the_table(self):
        self.assertEqual(figures.rows({}), [])
        self.assertEqual([r[0][0] for r in figures.rows({'size': [1]})], ['7'])


if __name__ == '__main__':
    unittest.main()
