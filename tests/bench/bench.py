#!/usr/bin/env python3
"""make bench: what the saver costs on top of bare DirectShow playback, side by side.

Runs dist/win64/KINOVELA.SCR and the reference player (build/win64/bench/refplayer.exe, which plays
one file full screen through the same DShowPlayer and ends on a key; with /mf, an MP4 through a
bare Media Foundation session) in turn under Wine, each
figure from runs interleaved with the reference's, and prints one table: median [min..max] of
the runs, the reference, the ratio (median of the pairwise ratios), the target and whether it is
met. It uses a Wine prefix and display of its own (build/bench, or KINOVELA_BUILD), so other runs
on the machine neither see its keys nor disturb its screen.

    python3 tests/bench/bench.py [--runs N] [--only 1,2,...]

KINOVELA_SAVER and KINOVELA_REFPLAYER name other builds of the two programs, to compare builds.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, '..', '..'))
os.environ.setdefault('KINOVELA_BUILD', os.path.join(ROOT, 'build', 'bench'))
os.environ.setdefault('KINOVELA_CLIPS', os.path.join(ROOT, 'build', 'win64', 'clips'))
sys.path.insert(0, os.path.join(ROOT, 'tests', 'e2e'))

import figures  # noqa: E402
import kvharness  # noqa: E402
import procwatch  # noqa: E402
import kvx11  # noqa: E402

SAVER = os.environ.get('KINOVELA_SAVER', kvharness.saver_file())
REFERENCE = os.environ.get('KINOVELA_REFPLAYER', os.path.join(ROOT, 'build', 'win64', 'bench', 'refplayer.exe'))
SHIPPED = os.path.join(ROOT, 'dist', 'win32', 'KINOVELA.SCR')
# Above the clip's moving white square, which crosses the middle of the picture.
PICTURE_REGION = (508, 150, 4, 4)
# ten.mpg plays 10 s: its processor time is taken from 1 s to 8 s after the first picture.
PLAY_FROM = 1.0
PLAY_TO = PLAY_FROM + figures.PLAY_SECONDS
SAMPLE_PAUSE = 0.002  # between screen samples: the poller must not take a core from the player


def is_picture(rgb):
    r, g, b = rgb
    return r > 0.6 and g < 0.3 and b < 0.3


def is_mp4_picture(rgb):
    """ten.mp4 is magenta."""
    r, g, b = rgb
    return r > 0.6 and g < 0.3 and b > 0.6


def clip_of(rgb):
    """Which clip of the change run a screen colour shows: clip.mpg is red, clip.avi green."""
    r, g, b = rgb
    if r > 0.6 and g < 0.3 and b < 0.3:
        return 'red'
    if g > 0.35 and r < 0.3 and b < 0.3:
        return 'green'
    return None


def sleep_until(moment):
    delay = moment - time.monotonic()
    if delay > 0:
        time.sleep(delay)


class Bench:
    def __init__(self, runs, work_dir):
        self.runs = runs
        self.work_dir = work_dir
        self.display = kvx11.Display(kvharness.wine_env()['DISPLAY'])
        self.screen = kvharness.screen_size()
        self.files = kvharness.FileKeeper()
        for name in (kvharness.INI_FILE, kvharness.PLAYLIST_FILE):
            self.files.keep(os.path.join(kvharness.system32(), name))
        self.ten = kvharness.windows_path(os.path.join(kvharness.clips_dir(), 'ten.mpg'))
        self.ten_mp4 = kvharness.windows_path(os.path.join(kvharness.clips_dir(), 'ten.mp4'))
        # The file the runs play, and what its picture looks like.
        self.film, self.picture = self.ten, is_picture
        self.data = {}
        self.intervals = []
        self.failures = []
        self.index = 0  # the run being measured: a figure's values are kept by run

    def record(self, key, value):
        values = self.data.setdefault(key, [])
        values.extend([None] * (self.index + 1 - len(values)))
        values[self.index] = value

    def attempt(self, label, run, *args, **kw):
        """One run; a failed run is noted and leaves a gap, and the benchmark goes on."""
        try:
            run(*args, **kw)
        except (AssertionError, RuntimeError, OSError, subprocess.SubprocessError) as e:
            self.failures.append('%s, run %d: %s' % (label, self.index + 1, e))

    # ---- programs ----------------------------------------------------------------------------

    def settings(self, playlist_size=1, resume=False):
        """The saver's files: ten.mpg first, then made-up entries; with resume, a remembered
        position in ten.mpg with CONTINUE on, otherwise no settings file."""
        entries = [self.film] + ['C:\\Videos\\Holiday %04d\\clip%05d.mpg' % (i // 100, i) for i in range(1, playlist_size)]
        kvharness.write_playlist(entries)
        ini = os.path.join(kvharness.system32(), kvharness.INI_FILE)
        if resume:
            kvharness.write_ini({'MEDIA': {'CONTINUE': '1', 'FILEPOSITION': '0', 'CURRENTPOSITION': '5',
                                           'FILENAME': self.ten}})
        elif os.path.exists(ini):
            os.remove(ini)

    def start(self, who, *args):
        # The last program's picture must be gone, or it would count as this one's.
        kvharness.wait_until(lambda: not self.picture(self.display.colour(PICTURE_REGION) or (0, 0, 0)), 10,
                             interval=0.02, message='the screen to clear')
        if who == 'saver':
            command = [kvharness.windows_path(SAVER)] + list(args)
        else:
            command = [kvharness.windows_path(REFERENCE)] + list(args) + [self.film]
        return procwatch.Program(command, self.work_dir)

    def watch(self, program, until, timeout=30.0):
        def until_paced(samples):
            if until(samples):
                return True
            time.sleep(SAMPLE_PAUSE)
            return False
        samples = procwatch.watch_start(program, self.display, self.picture, PICTURE_REGION, until_paced, timeout)
        self.intervals.append(procwatch.sampling_interval_ms(samples))
        return samples

    def end_by_key(self, program):
        """Presses Escape on the program's full-screen window; ms until the process is gone."""
        windows = [w for w in self.display.windows_of(program.pid)
                   if w.viewable and (w.width, w.height) == self.screen]
        if windows:
            kvharness.focus('0x%x' % windows[0].id)
        time.sleep(0.2)
        before = procwatch.thread_ms(program.pid)
        pressed = time.monotonic()
        self.display.press_key()
        # The message thread's time is read until it can no longer be: what the close itself costs.
        gone, last = None, before
        while gone is None and time.monotonic() < pressed + 10:
            gone = program.wait_gone(0.001)
            now = procwatch.thread_ms(program.pid) if gone is None else None
            last = now if now is not None else last
        self.display.release_key()
        if gone is None:
            program.stop()
            raise AssertionError('the program did not end on a key (log: %s)' % program.log_path)
        program.stop()
        return (gone - pressed) * 1000, (last - before) if before is not None and last is not None else None

    def full_screen_run(self, who, *args, play=True, prefix=None):
        program = self.start(who, *args)
        try:
            samples = self.watch(program, lambda s: s[-1].picture)
            picture_at = program.started + samples[-1].t
            prefix = prefix or who
            self.record(prefix + '.picture_s', samples[-1].t)
            self.record(prefix + '.pause_ms', figures.longest_pause_ms(samples))
            opened = figures.renderer_taken(samples, self.screen)
            if opened is not None:
                self.record(prefix + '.shown_after_open_ms', (samples[-1].t - opened.t) * 1000)
            if samples[-1].gui_ms is not None:
                self.record(prefix + '.gui_ms', samples[-1].gui_ms)
            if play:
                server = procwatch.wineserver_pid()
                sleep_until(picture_at + PLAY_FROM)
                cpu0, server0 = procwatch.process_seconds(program.pid), procwatch.process_seconds(server or 0)
                sleep_until(picture_at + PLAY_TO)
                cpu1, server1 = procwatch.process_seconds(program.pid), procwatch.process_seconds(server or 0)
                self.record(prefix + '.cpu_s', cpu1 - cpu0)
                if server0 is not None and server1 is not None:
                    self.record(prefix + '.cpu_server_s', cpu1 - cpu0 + server1 - server0)
                self.record(prefix + '.hwm_mb', procwatch.peak_resident_kb(program.pid) / 1024)
            exit_ms, exit_cpu_ms = self.end_by_key(program)
            self.record(prefix + '.exit_ms', exit_ms)
            if exit_cpu_ms is not None:
                self.record(prefix + '.exit_cpu_ms', exit_cpu_ms)
        finally:
            program.stop()

    def resume_run(self):
        """The saver's start at a remembered file: the half second before its first picture,
        which shows once the wait after opening is over and the file stands at its place."""
        self.settings(resume=True)
        program = self.start('saver', '/s')
        try:
            samples = self.watch(program, lambda s: s[-1].picture)
            start, end = figures.resume_wait(samples)
            if start is None:
                raise AssertionError('the start showed no picture')
            wall_ms = (end.t - start.t) * 1000
            cpu_ms = end.gui_ms - start.gui_ms
            self.record('resume.wall_ms', wall_ms)
            self.record('resume.cpu_ms', cpu_ms)
            self.record('resume.share', cpu_ms / wall_ms)
            # A resumed start seeks the graph: its end must be as quick as any other run's.
            self.record('resume.exit_ms', self.end_by_key(program)[0])
        finally:
            program.stop()

    def change_run(self, changes=3):
        """A full-screen run of clip.mpg and clip.avi in turn (3 s each, 25 frames a second): the
        screen region sampled through the changes between them."""
        clips = kvharness.clips_dir()
        kvharness.write_playlist([kvharness.windows_path(os.path.join(clips, name)) for name in ('clip.mpg', 'clip.avi')])
        kvharness.write_ini({'SOUND': {'MUTEWAVE': '1'}, 'MEDIA': {'CONTINUE': '0'}})
        program = self.start('saver', '/s')
        try:
            samples, start = [], time.monotonic()
            deadline = start + 10 + 3.5 * (changes + 1)
            while len(figures.change_gaps_ms(samples)) < changes:
                now = time.monotonic()
                if now > deadline or not program.alive():
                    raise AssertionError('%d changes seen (log: %s)' % (len(figures.change_gaps_ms(samples)),
                                                                      program.log_path))
                colour = self.display.colour(PICTURE_REGION)
                samples.append((now - start, clip_of(colour) if colour else None))
                time.sleep(SAMPLE_PAUSE)
            gaps = figures.change_gaps_ms(samples)
            self.record('change.gap_ms', statistics.median(gaps))
            self.record('change.worst_ms', max(gaps))
        finally:
            program.stop()

    def configuration_run(self, playlist_size):
        self.settings(playlist_size)
        program = self.start('saver', '/c')
        try:
            samples = self.watch(program, lambda s: any(w.viewable and w.width >= 200 and w.height >= 200
                                                        for w in s[-1].windows))
            self.record('config%d.shown_s' % playlist_size, samples[-1].t)
        finally:
            program.stop()

    # ---- the figures -------------------------------------------------------------------------

    def playing(self):
        for i in range(self.runs):
            self.index = i
            for who in (('saver', 'ref') if i % 2 == 0 else ('ref', 'saver')):
                self.settings()
                self.attempt('playing ' + who, self.full_screen_run, who, *(['/s'] if who == 'saver' else []))
        # What an orderly close of the shown window costs under Wine without a window manager.
        for i in range(max(2, self.runs // 2)):
            self.index = i
            self.attempt('reference /destroy', self.full_screen_run, 'ref', '/destroy', play=False,
                         prefix='refdestroy')

    def mp4(self):
        """Figures 1 to 3 again for ten.mp4: the saver through Media Foundation against a bare
        Media Foundation session on the same file."""
        self.film, self.picture = self.ten_mp4, is_mp4_picture
        try:
            for i in range(self.runs):
                self.index = i
                for who in (('saver', 'ref') if i % 2 == 0 else ('ref', 'saver')):
                    self.settings()
                    args = ['/s'] if who == 'saver' else ['/mf']
                    self.attempt('mp4 ' + who, self.full_screen_run, who, *args, prefix='mp4' + who)
        finally:
            self.film, self.picture = self.ten, is_picture

    def resume(self):
        for i in range(self.runs):
            self.index = i
            self.attempt('resume', self.resume_run)

    def big_playlist(self):
        variants = [('c', figures.BIG_PLAYLIST), ('c', 1), ('s', figures.BIG_PLAYLIST), ('s', 1)]
        for i in range(self.runs):
            self.index = i
            for mode, size in variants[i % 4:] + variants[:i % 4]:
                if mode == 'c':
                    self.attempt('/c, %d entries' % size, self.configuration_run, size)
                else:
                    self.settings(size)
                    self.attempt('/s, %d entries' % size, self.full_screen_run, 'saver', '/s', play=False,
                                 prefix='list%d' % size)

    def clip_changes(self):
        for i in range(self.runs):
            self.index = i
            self.attempt('change between clips', self.change_run)

    def warm_up(self):
        # A fresh prefix starts its helpers on the first run; that start is in no figure.
        self.settings()
        self.attempt('warm-up', self.full_screen_run, 'saver', '/s', play=False, prefix='warmup.saver')
        self.attempt('warm-up', self.full_screen_run, 'ref', play=False, prefix='warmup.ref')

    def close(self):
        self.files.restore()
        self.display.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--runs', type=int, default=5, help='runs per figure (default 5)')
    parser.add_argument('--only', default='1,2,3,4,5,6,7,8,9', help='figures to measure, e.g. 1,5 (1-4 go together)')
    args = parser.parse_args()
    wanted = set(args.only.split(','))

    for path, what in ((SAVER, 'the saver'), (REFERENCE, 'the reference player')):
        if not os.path.exists(path):
            sys.exit('bench: %s is missing (%s); build the win64 tree first' % (what, path))
    work_dir = os.path.join(kvharness.BUILD, 'bench-runs')
    os.makedirs(work_dir, exist_ok=True)
    subprocess.run([os.path.join(ROOT, 'tests', 'tools', 'make-clips'), kvharness.clips_dir()], check=True)
    subprocess.run([kvharness.WINE_RUN, '--prepare'], env=kvharness.environment(), check=True, timeout=300)

    began = time.monotonic()
    load = os.getloadavg()[0]
    bench = Bench(args.runs, work_dir)
    try:
        kvharness.park_pointer()
        if wanted & {'1', '2', '3', '4', '5', '6', '8', '9'}:
            bench.warm_up()
        if wanted & {'1', '2', '3', '4'}:
            bench.playing()
        if '5' in wanted:
            bench.resume()
        if '6' in wanted:
            bench.big_playlist()
        if '8' in wanted:
            bench.clip_changes()
        if '9' in wanted:
            bench.mp4()
    finally:
        bench.close()
    if '7' in wanted:
        bench.data['size'] = [os.path.getsize(SHIPPED) if os.path.exists(SHIPPED) else 0]

    with open(os.path.join(kvharness.BUILD, 'bench-results.json'), 'w') as f:
        json.dump(bench.data, f, indent=1)
    print()
    print(figures.format_table(figures.rows(bench.data)))
    intervals = [i for i in bench.intervals if i]
    print()
    for failure in bench.failures:
        print('failed: ' + failure)
    print('%d runs per figure; the screen region and the windows were sampled every %.1f ms (median), '
          'processor time from /proc; load average %.2f at the start; %.0f s in all.'
          % (args.runs, statistics.median(intervals) if intervals else 0, load, time.monotonic() - began))
    print('raw figures: %s' % os.path.join(kvharness.BUILD, 'bench-results.json'))


if __name__ == '__main__':
    with kvharness.servers():
        main()
