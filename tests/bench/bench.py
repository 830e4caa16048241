#!/usr/bin/env python3
"""make bench: what the saver costs on top of bare DirectShow playback, side by side.

Runs dist/win64/KINOVELA.SCR and the reference player (build/win64/bench/refplayer.exe, which plays
one file full screen through the same DShowPlayer and ends on a key) in turn under Wine, each
figure from runs interleaved with the reference's, and prints one table: median [min..max] of
the runs, the reference, the ratio (median of the pairwise ratios), the target and whether it is
met. It uses a Wine prefix and display of its own (build/bench, or KINOVELA_BUILD), so other runs
on the machine neither see its keys nor disturb its screen.

    python3 tests/bench/bench.py [--runs N] [--only 1,2,...]
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

import kvharness  # noqa: E402
import procwatch  # noqa: E402
import xprobe  # noqa: E402

REFERENCE = os.environ.get('KINOVELA_REFPLAYER', os.path.join(ROOT, 'build', 'win64', 'bench', 'refplayer.exe'))
SHIPPED = os.path.join(ROOT, 'dist', 'win32', 'KINOVELA.SCR')
EARLIER_SIZE = 687104
# Above the clip's moving white square, which crosses the middle of the picture.
PICTURE_REGION = (508, 150, 4, 4)
# ten.mpg plays 10 s: its processor time is taken from 1 s to 8 s after the first picture.
PLAY_FROM, PLAY_TO = 1.0, 8.0
BIG_PLAYLIST = 10000
SAMPLE_PAUSE = 0.002  # between screen samples: the poller must not take a core from the player


def is_picture(rgb):
    r, g, b = rgb
    return r > 0.6 and g < 0.3 and b < 0.3


def sleep_until(moment):
    delay = moment - time.monotonic()
    if delay > 0:
        time.sleep(delay)


def longest_pause_ms(samples, slack_ms=2.0):
    """Longest span in which the program's message thread used less than slack_ms of processor."""
    best, start = 0.0, 0
    for end in range(len(samples)):
        while samples[end].gui_ms is not None and samples[start].gui_ms is not None and \
                samples[end].gui_ms - samples[start].gui_ms > slack_ms:
            start += 1
        best = max(best, samples[end].t - samples[start].t)
    return best * 1000


class Bench:
    def __init__(self, runs, work_dir):
        self.runs = runs
        self.work_dir = work_dir
        self.display = xprobe.Display(kvharness.wine_env()['DISPLAY'])
        self.screen = kvharness.screen_size()
        self.files = kvharness.FileKeeper()
        for name in (kvharness.INI_FILE, kvharness.PLAYLIST_FILE):
            self.files.keep(os.path.join(kvharness.system32(), name))
        self.ten = kvharness.windows_path(os.path.join(kvharness.clips_dir(), 'ten.mpg'))
        self.data = {}
        self.intervals = []

    def record(self, key, value):
        self.data.setdefault(key, []).append(value)

    # ---- programs ----------------------------------------------------------------------------

    def settings(self, playlist_size=1, resume=False):
        """The saver's files: ten.mpg first, then made-up entries; with resume, a remembered
        position in ten.mpg with CONTINUE on, otherwise no settings file."""
        entries = [self.ten] + ['C:\\Videos\\Holiday %04d\\clip%05d.mpg' % (i // 100, i) for i in range(1, playlist_size)]
        kvharness.write_playlist(entries)
        ini = os.path.join(kvharness.system32(), kvharness.INI_FILE)
        if resume:
            kvharness.write_ini({'MEDIA': {'CONTINUE': '1', 'FILEPOSITION': '0', 'CURRENTPOSITION': '5',
                                           'FILENAME': self.ten}})
        elif os.path.exists(ini):
            os.remove(ini)

    def start(self, who, *args):
        # The last program's picture must be gone, or it would count as this one's.
        kvharness.wait_until(lambda: not is_picture(self.display.colour(PICTURE_REGION) or (0, 0, 0)), 10,
                             interval=0.02, message='the screen to clear')
        if who == 'saver':
            command = [kvharness.saver_windows_path()] + list(args)
        else:
            command = [kvharness.windows_path(REFERENCE)] + list(args) + [self.ten]
        return procwatch.Program(command, self.work_dir)

    def watch(self, program, until, timeout=30.0):
        def until_paced(samples):
            if until(samples):
                return True
            time.sleep(SAMPLE_PAUSE)
            return False
        samples = procwatch.watch_start(program, self.display, is_picture, PICTURE_REGION, until_paced, timeout)
        self.intervals.append(procwatch.sampling_interval_ms(samples))
        return samples

    def end_by_key(self, program):
        """Presses Escape on the program's full-screen window; ms until the process is gone."""
        windows = [w for w in self.display.windows_of(program.pid)
                   if w.viewable and (w.width, w.height) == self.screen]
        if windows:
            kvharness.focus('0x%x' % windows[0].id)
        time.sleep(0.2)
        pressed = time.monotonic()
        self.display.press_key()
        gone = program.wait_gone(10)
        self.display.release_key()
        if gone is None:
            program.stop()
            raise AssertionError('the program did not end on a key (log: %s)' % program.log_path)
        program.stop()
        return (gone - pressed) * 1000

    def full_screen_run(self, who, *args, play=True, prefix=None):
        program = self.start(who, *args)
        try:
            samples = self.watch(program, lambda s: s[-1].picture)
            picture_at = program.started + samples[-1].t
            prefix = prefix or who
            self.record(prefix + '.picture_s', samples[-1].t)
            self.record(prefix + '.pause_ms', longest_pause_ms(samples))
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
            self.record(prefix + '.exit_ms', self.end_by_key(program))
        finally:
            program.stop()

    def resume_run(self):
        """The saver's start at a remembered file: from the moment its player takes the renderer's
        window (the end of opening) to the moment its window maps (the wait is over)."""
        self.settings(resume=True)
        program = self.start('saver', '/s')
        try:
            samples = self.watch(program, lambda s: s[-1].picture)
            seen, attached, mapped = set(), None, None
            for s in samples:
                ids = {w.id for w in s.windows}
                if attached is None and seen - ids:
                    attached = s
                seen |= {w.id for w in s.windows if (w.width, w.height) not in ((1, 1), self.screen)}
                if mapped is None and any(w.viewable and (w.width, w.height) == self.screen for w in s.windows):
                    mapped = s
            if attached is None or mapped is None or mapped.t <= attached.t:
                raise AssertionError('the start did not show the opening and the window in turn')
            wall_ms = (mapped.t - attached.t) * 1000
            cpu_ms = mapped.gui_ms - attached.gui_ms
            self.record('resume.wall_ms', wall_ms)
            self.record('resume.cpu_ms', cpu_ms)
            self.record('resume.share', cpu_ms / wall_ms)
            self.end_by_key(program)
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
        self.settings()
        for i in range(self.runs):
            for who in (('saver', 'ref') if i % 2 == 0 else ('ref', 'saver')):
                self.settings()
                self.full_screen_run(who, *(['/s'] if who == 'saver' else []))
        # What an orderly close of the shown window costs under Wine without a window manager.
        for _ in range(max(2, self.runs // 2)):
            self.full_screen_run('ref', '/destroy', play=False, prefix='refdestroy')

    def resume(self):
        for _ in range(self.runs):
            self.resume_run()

    def big_playlist(self):
        variants = [('c', BIG_PLAYLIST), ('c', 1), ('s', BIG_PLAYLIST), ('s', 1)]
        for i in range(self.runs):
            for mode, size in variants[i % 4:] + variants[:i % 4]:
                if mode == 'c':
                    self.configuration_run(size)
                else:
                    self.settings(size)
                    self.full_screen_run('saver', '/s', play=False, prefix='list%d' % size)

    def warm_up(self):
        # A fresh prefix starts its helpers on the first run; that start is in no figure.
        self.settings()
        self.full_screen_run('saver', '/s', play=False, prefix='warmup.saver')
        self.full_screen_run('ref', play=False, prefix='warmup.ref')

    def close(self):
        self.files.restore()
        self.display.close()


# ---- the table -------------------------------------------------------------------------------

def spread(values, scale=1.0, digits=2):
    if not values:
        return 'n/a'
    v = [x * scale for x in values]
    return '%.*f [%.*f..%.*f]' % (digits, statistics.median(v), digits, min(v), digits, max(v))


def pair_ratio(data, a, b):
    x, y = data.get(a, []), data.get(b, [])
    ratios = [p / q for p, q in zip(x, y) if q]
    return statistics.median(ratios) if ratios else None


def rows(data):
    med = lambda key: statistics.median(data[key]) if data.get(key) else None  # noqa: E731
    out = []

    def row(figure, measured, reference, ratio, target, met):
        out.append((figure, measured, reference, '%.2f' % ratio if isinstance(ratio, float) else ratio or '-',
                    target, '-' if met is None else ('met' if met else 'NOT MET')))

    if data.get('saver.picture_s'):
        r = pair_ratio(data, 'saver.picture_s', 'ref.picture_s')
        row('1 start to picture (s)', spread(data['saver.picture_s']), spread(data.get('ref.picture_s')), r,
            '<= 1.10 x ref', r is not None and r <= 1.10)
        row('  longest message-thread pause before it (ms)', spread(data['saver.pause_ms'], digits=0),
            spread(data.get('ref.pause_ms'), digits=0), pair_ratio(data, 'saver.pause_ms', 'ref.pause_ms'), '', None)
        r = pair_ratio(data, 'saver.exit_ms', 'ref.exit_ms')
        m = med('saver.exit_ms')
        row('2 exit latency, key to process gone (ms)', spread(data['saver.exit_ms'], digits=0),
            spread(data.get('ref.exit_ms'), digits=0), r, '< 150 ms, <= 1.5 x ref',
            m is not None and m < 150 and r is not None and r <= 1.5)
        row('  reference destroying its shown window first (ms)', spread(data.get('refdestroy.exit_ms'), digits=0),
            '', None, '', None)
        r = pair_ratio(data, 'saver.cpu_s', 'ref.cpu_s')
        row('3 CPU, %g s of ten.mpg playing (s)' % (PLAY_TO - PLAY_FROM), spread(data['saver.cpu_s']),
            spread(data.get('ref.cpu_s')), r, '<= 1.05 x ref', r is not None and r <= 1.05)
        row('  the same with the wineserver (s)', spread(data.get('saver.cpu_server_s')),
            spread(data.get('ref.cpu_server_s')), pair_ratio(data, 'saver.cpu_server_s', 'ref.cpu_server_s'), '',
            None)
        r = pair_ratio(data, 'saver.hwm_mb', 'ref.hwm_mb')
        row('4 peak resident size VmHWM (MiB)', spread(data['saver.hwm_mb'], digits=1),
            spread(data.get('ref.hwm_mb'), digits=1), r, '<= 1.15 x ref', r is not None and r <= 1.15)
    if data.get('resume.share'):
        m = med('resume.share')
        row('5 resume wait: message-thread CPU / wall (%)', spread(data['resume.share'], 100, 1), '-', None,
            '< 10 %', m < 0.10)
        row('  its CPU in its wall time (ms)', '%s in %s' % (spread(data['resume.cpu_ms'], digits=0),
                                                            spread(data['resume.wall_ms'], digits=0)),
            '', None, '', None)
    if data.get('config%d.shown_s' % BIG_PLAYLIST):
        m = med('config%d.shown_s' % BIG_PLAYLIST)
        row('6 /c to window shown, %d entries (s)' % BIG_PLAYLIST, spread(data['config%d.shown_s' % BIG_PLAYLIST]),
            spread(data.get('config1.shown_s')) + ' (1 entry)',
            pair_ratio(data, 'config%d.shown_s' % BIG_PLAYLIST, 'config1.shown_s'), '< 1 s', m < 1.0)
        big, one = data.get('list%d.picture_s' % BIG_PLAYLIST, []), data.get('list1.picture_s', [])
        extra = [(a - b) * 1000 for a, b in zip(big, one)]
        row('  /s to picture, %d entries (s)' % BIG_PLAYLIST, spread(big), spread(one) + ' (1 entry)',
            'extra %s ms' % spread(extra, digits=0), '< 50 ms extra',
            bool(extra) and statistics.median(extra) < 50)
    if 'size' in data:
        size = data['size'][0]
        row('7 size of dist/win32/KINOVELA.SCR (bytes)', '{:,}'.format(size) if size else 'missing',
            '{:,}'.format(EARLIER_SIZE), size / EARLIER_SIZE if size else None, '<= 0.50 x',
            bool(size) and size / EARLIER_SIZE <= 0.5)
    return out


def print_table(table):
    head = ('figure', 'measured: median [min..max]', 'reference', 'ratio', 'target', '')
    widths = [max(len(str(r[i])) for r in table + [head]) for i in range(len(head))]
    line = lambda r: '  '.join(str(c).ljust(w) for c, w in zip(r, widths)).rstrip()  # noqa: E731
    print(line(head))
    print('  '.join('-' * w for w in widths))
    for r in table:
        print(line(r))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--runs', type=int, default=5, help='runs per figure (default 5)')
    parser.add_argument('--only', default='1,2,3,4,5,6,7', help='figures to measure, e.g. 1,5 (1-4 go together)')
    args = parser.parse_args()
    wanted = set(args.only.split(','))

    for path, what in ((kvharness.saver_file(), 'the saver'), (REFERENCE, 'the reference player')):
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
        if wanted & {'1', '2', '3', '4', '5', '6'}:
            bench.warm_up()
        if wanted & {'1', '2', '3', '4'}:
            bench.playing()
        if '5' in wanted:
            bench.resume()
        if '6' in wanted:
            bench.big_playlist()
    finally:
        bench.close()
    if '7' in wanted:
        bench.data['size'] = [os.path.getsize(SHIPPED) if os.path.exists(SHIPPED) else 0]

    with open(os.path.join(kvharness.BUILD, 'bench-results.json'), 'w') as f:
        json.dump(bench.data, f, indent=1)
    print()
    print_table(rows(bench.data))
    intervals = [i for i in bench.intervals if i]
    print()
    print('%d runs per figure; the screen region and the windows were sampled every %.1f ms (median), '
          'processor time from /proc; load average %.2f at the start; %.0f s in all.'
          % (args.runs, statistics.median(intervals) if intervals else 0, load, time.monotonic() - began))
    print('raw figures: %s' % os.path.join(kvharness.BUILD, 'bench-results.json'))


if __name__ == '__main__':
    main()
