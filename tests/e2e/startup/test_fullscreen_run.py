"""The full-screen run from start to end: KINOVELA.SCR /s covers the screen, plays the saved
playlist clip after clip, ends on a key and leaves the resume record for the next run."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import saverrun  # noqa: E402
from saverrun import clip_path, report  # noqa: E402

import kvharness  # noqa: E402

# DirectShow's kinds and Media Foundation's, each after one of the other engine's.
EVERY_KIND = ['clip.mpg', 'clip.mp4', 'clip.avi', 'clip.mov', 'clip.wmv', 'clip.dat']


class PlaylistRun(saverrun.StartupCase):
    def test_every_clip_kind_plays_in_turn_full_screen_without_black_and_a_key_leaves_the_resume_record(self):
        settings = self.write_settings()
        run = self.start_fullscreen(EVERY_KIND)

        # In playlist order, then back to the first after the last.
        times = run.watch_sequence([saverrun.CLIP_COLOURS[name] for name in EVERY_KIND] + ['red'], timeout=60)
        report('first picture %.1f s after start; clips began at %s s' % (
            times[0], ', '.join('%.1f' % t for t in times)))
        seen = [colour for _, colour, _ in run.shots]
        self.assertNotIn('black', seen[seen.index('red'):], 'a change between clips showed black')
        _, _, shot = run.shots[-1]
        self.assertEqual(saverrun.picture_colour(shot, (0, 0, 64, 64)), 'red', 'the picture reaches the corner')
        self.assertIsNotNone(saverrun.square_fraction(shot), 'the moving square shows: a picture, not a fill')

        report('exit %.2f s after Escape' % run.end_with('Escape'))
        record = self.resume_record()
        # Escape came just after the first clip had begun again.
        self.assertEqual((record.get('FILEPOSITION'), record.get('FILENAME')), ('0', clip_path('clip.mpg')))
        self.assertTrue(0 < float(record['CURRENTPOSITION']) < 3, record)
        ini = kvharness.read_ini()
        for section, values in settings.items():
            for key, value in values.items():
                self.assertEqual(ini[section][key], value, 'the close writes only the resume record')

    def test_a_run_without_a_settings_file_creates_none(self):
        self.remove_settings()
        run = self.start_fullscreen(['clip.mpg'])
        run.wait_for_colour('red', timeout=20)
        run.end_with('Escape')
        self.assertIsNone(kvharness.read_ini(), 'no g_screen.ini after the run')
        self.assertEqual(kvharness.read_playlist(), [clip_path('clip.mpg')])

    def test_with_continue_the_next_run_starts_where_the_last_one_stopped(self):
        # First run: avi, then ten.mp4 (Media Foundation's); stopped a few seconds into it.
        self.write_settings(CONTINUE=1)
        playlist = ['clip.avi', 'ten.mp4']
        run = self.start_fullscreen(playlist)
        run.watch_sequence(['green', 'magenta'], timeout=25)
        kvharness.wait_until(lambda: (saverrun.clip_seconds_shown(run.look('ten')[1], 'ten.mp4') or 0) >= 5, 10,
                             interval=0.2, message='ten.mp4 to reach 5 s')
        run.end_with('Escape')
        record = self.resume_record()
        self.assertEqual((record.get('FILEPOSITION'), record.get('FILENAME')), ('1', clip_path('ten.mp4')))
        stopped_at = float(record['CURRENTPOSITION'])
        self.assertTrue(5 <= stopped_at < 9, record)

        # Second run: ten.mp4 at once, in its second half, and the avi when it has played out.
        run = self.start_fullscreen(playlist)
        colour, shot = run.wait_for_colour(('magenta', 'green'), timeout=20)
        first = run.elapsed()
        self.assertEqual(colour, 'magenta', 'the remembered clip shows first')
        resumed_at = saverrun.clip_seconds_shown(shot, 'ten.mp4')
        report('stopped at %.2f s of ten.mp4; the next run showed %s s' % (
            stopped_at, 'no square' if resumed_at is None else '%.1f' % resumed_at))
        self.assertIsNotNone(resumed_at)
        # The picture shows a moment after the position is set.
        self.assertTrue(stopped_at - 0.5 <= resumed_at <= stopped_at + 2, (stopped_at, resumed_at))
        run.wait_for_colour('green', timeout=10 - stopped_at + 5)
        left = run.elapsed() - first
        report('the rest of ten.mpg took %.1f s (%.1f s were left)' % (left, 10 - stopped_at))
        self.assertGreater(left, 10 - stopped_at - 2, 'ten.mp4 did not start from its beginning')
        run.end_with('Escape')
        record = self.resume_record()
        self.assertEqual((record.get('FILEPOSITION'), record.get('FILENAME')), ('0', clip_path('clip.avi')))


class EmptyPlaylist(saverrun.StartupCase):
    def test_an_empty_playlist_shows_load_media_file_on_black_and_a_key_ends_it(self):
        self.remove_settings()
        run = self.start_fullscreen([])
        kvharness.wait_until(lambda: run.elapsed() > 1.5)
        _, shot = run.look('empty')
        width, height = kvharness.screen_size()
        label = (0, 0, 140, 24)
        text = kvharness.colour_fraction(shot, '#c0c0c0', label, fuzz=8)
        self.assertGreater(text, 0.04, 'silver text at the top left')
        self.assertLess(kvharness.brightness(shot, (0, 30, width, height - 30)), 0.005, 'black below the label')
        self.assertLess(kvharness.brightness(shot, (150, 0, width - 150, 30)), 0.005, 'black beside the label')
        # Bold 16-pixel Tahoma: "load media file" spans about a hundred pixels from x = 8.
        columns = [x for x, p in enumerate(saverrun.row_pixels(shot, 10)) if min(p) > 120]
        self.assertTrue(columns and 6 <= columns[0] <= 12 and 90 <= columns[-1] - columns[0] <= 125, columns[:3])

        kvharness.wait_until(lambda: run.elapsed() > 3.5)
        _, later = run.look('still-empty')
        self.assertEqual(kvharness.mean_colour(later), kvharness.mean_colour(shot), 'nothing starts to play')
        run.end_with('q')


if __name__ == '__main__':
    kvharness.main()
