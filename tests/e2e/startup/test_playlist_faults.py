"""A full-screen run over a playlist full of entries that cannot play: every clip still gets its
turn, the file's UTF-8 mark and quotes are understood, and MPEG clips show their last half
second, muxed as the test clips are or as ffmpeg does by default, a clip of half a second too."""
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
        # Saved as Notepad saves UTF-8, with the first clip pasted as the shell's "Copy as path"
        # gives it; then every kind of entry that cannot play, three MPEG clips, a missing last entry.
        lines = ['"%s"' % clip_path('clip.avi'), folder, 'NUL', 'CON', '', clip_path('empty.avi'),
                 clip_path('junk.avi'), clip_path('notvideo.mpg'), clip_path('tail.mpg'),
                 clip_path('tail-default.mpg'), clip_path('short.mpg'), clip_path('missing-last.avi')]
        path = self.keep_file(os.path.join(kvharness.system32(), kvharness.PLAYLIST_FILE))
        with open(path, 'wb') as f:
            f.write(b'\xef\xbb\xbf' + ''.join(line + '\r\n' for line in lines).encode('utf-8'))
        run = self.start_fullscreen([], written=True)
        # clip.avi, tail.mpg red then its yellow tail, tail-default.mpg the same, the half second
        # of short.mpg, and clip.avi again after the last entry.
        times = run.watch_sequence(['green', 'red', 'yellow', 'red', 'yellow', 'blue', 'green'], timeout=45)
        report('clips began at %s s' % ', '.join('%.1f' % t for t in times))
        run.end_with('Escape')


if __name__ == '__main__':
    kvharness.main()
