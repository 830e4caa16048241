"""A full-screen run over a playlist full of entries that cannot play: every clip still gets its
turn, and an MPEG clip shows its last half second before the next one starts."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import saverrun  # noqa: E402
from saverrun import clip_path, report  # noqa: E402

import kvharness  # noqa: E402


class HostileEntries(saverrun.StartupCase):
    def test_entries_that_cannot_play_are_skipped_forward_and_the_mpeg_tail_shows(self):
        self.write_settings()
        folder = kvharness.windows_path(kvharness.clips_dir())
        # A missing first entry, then every kind of entry that cannot play between the two clips.
        playlist = [clip_path('missing-first.avi'), folder, clip_path('clip.avi'), 'NUL', 'CON', '',
                    clip_path('empty.avi'), clip_path('junk.avi'), clip_path('notvideo.mpg'),
                    clip_path('tail.mpg')]
        run = self.start_fullscreen([], lines=playlist)
        # clip.avi, tail.mpg red then its yellow tail, and clip.avi again after the last entry.
        times = run.watch_sequence(['green', 'red', 'yellow', 'green'], timeout=40)
        report('clips began at %s s' % ', '.join('%.1f' % t for t in times))
        run.end_with('Escape')


if __name__ == '__main__':
    kvharness.main()
