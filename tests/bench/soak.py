#!/usr/bin/env python3
"""make soak: a night of clip changes in minutes. Plays one-second clips of all four kinds (mpg,
avi, wmv, dat) full screen, counts the changes between them on the screen, prints the process's
threads, resident memory and open handles every 50 changes, and ends with a verdict: flat when,
after the warm-up, none of the three grew beyond its bound (figures.SOAK_BOUNDS).

    python3 tests/bench/soak.py [--changes N] [--every N] [--quick]

It uses a Wine prefix and display of its own (build/soak, or KINOVELA_BUILD). --quick plays 100
changes, for one's own iterations.
"""
import argparse
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, '..', '..'))
os.environ.setdefault('KINOVELA_BUILD', os.path.join(ROOT, 'build', 'soak'))
sys.path.insert(0, os.path.join(ROOT, 'tests', 'e2e'))

import figures  # noqa: E402
import kvharness  # noqa: E402
import procwatch  # noqa: E402
import kvx11  # noqa: E402

SAVER = os.environ.get('KINOVELA_SAVER', kvharness.saver_file())
REGION = (508, 150, 4, 4)  # above the clips' moving square
SAMPLE_PAUSE = 0.005
# The soak's clips (make-clips --soak): the five kinds, a second each, and the colour each
# shows on the screen.
CLIPS = [('soak.mpg', (1, 0, 0)), ('soak.avi', (0, 0.5, 0)), ('soak.wmv', (0, 0, 1)), ('soak.dat', (1, 1, 0)),
         ('soak.mp4', (1, 0, 1))]


def clip_of(rgb):
    """The clip whose colour the screen shows, or None (black, or between two)."""
    best = min(CLIPS, key=lambda c: sum((a - b) ** 2 for a, b in zip(rgb, c[1])))
    return best[0] if sum((a - b) ** 2 for a, b in zip(rgb, best[1])) < 0.05 else None


def process_figures(pid):
    """(threads, resident MiB, open handles) of the process."""
    threads = rss = None
    with open('/proc/%d/status' % pid) as f:
        for line in f:
            if line.startswith('Threads:'):
                threads = int(line.split()[1])
            elif line.startswith('VmRSS:'):
                rss = int(line.split()[1]) / 1024
    return threads, rss, len(os.listdir('/proc/%d/fd' % pid))


def soak(changes, every):
    folder = os.path.join(kvharness.BUILD, 'soak-clips')
    subprocess.run([os.path.join(ROOT, 'tests', 'tools', 'make-clips'), '--soak', folder], check=True)
    subprocess.run([kvharness.WINE_RUN, '--prepare'], env=kvharness.environment(), check=True, timeout=300)
    keeper = kvharness.FileKeeper()
    for name in (kvharness.INI_FILE, kvharness.PLAYLIST_FILE):
        keeper.keep(os.path.join(kvharness.system32(), name))
    display = kvx11.Display(kvharness.wine_env()['DISPLAY'])
    work = os.path.join(kvharness.BUILD, 'soak-runs')
    os.makedirs(work, exist_ok=True)
    program = None
    rows = []
    try:
        kvharness.park_pointer()
        kvharness.write_playlist([kvharness.windows_path(os.path.join(folder, c[0])) for c in CLIPS])
        kvharness.write_ini({'SOUND': {'MUTEWAVE': '1'}, 'MEDIA': {'CONTINUE': '0'}})
        program = procwatch.Program([kvharness.windows_path(SAVER), '/s'], work)
        began = time.monotonic()
        last, seen, quiet_since = None, 0, began
        print('%8s %8s %8s %12s %8s' % ('changes', 'seconds', 'threads', 'memory MiB', 'handles'), flush=True)
        while seen < changes:
            now = time.monotonic()
            if not program.alive():
                raise SystemExit('soak: the saver ended after %d changes (log: %s)' % (seen, program.log_path))
            if now - quiet_since > 30:
                raise SystemExit('soak: no change for 30 s after %d changes (log: %s)' % (seen, program.log_path))
            colour = display.colour(REGION)
            clip = clip_of(colour) if colour else None
            if clip and clip != last:
                if last is not None:
                    seen += 1
                    if seen % every == 0:
                        threads, rss, handles = process_figures(program.pid)
                        rows.append((seen, threads, rss, handles))
                        print('%8d %8.0f %8d %12.1f %8d' % (seen, now - began, threads, rss, handles), flush=True)
                last, quiet_since = clip, now
            time.sleep(SAMPLE_PAUSE)
    finally:
        if program:
            program.stop()
        keeper.restore()
        display.close()
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--changes', type=int, default=500)
    parser.add_argument('--every', type=int, default=50)
    parser.add_argument('--quick', action='store_true', help='100 changes, figures every 25')
    args = parser.parse_args()
    if args.quick:
        args.changes, args.every = 100, 25
    if not os.path.exists(SAVER):
        sys.exit('soak: %s is missing; build the win64 tree first' % SAVER)
    rows = soak(args.changes, args.every)
    print()
    print(figures.soak_verdict(rows))


if __name__ == '__main__':
    with kvharness.servers():
        main()
