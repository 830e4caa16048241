"""The benchmark's arithmetic, apart from any program or display: medians and spreads of the runs,
ratios of runs taken in pairs, the moments read off a start's samples, and the table with its
targets. bench.py fills `data`: for each figure key a list indexed by run, None where a run failed."""
import statistics

BIG_PLAYLIST = 10000
EARLIER_SIZE = 687104
PLAY_SECONDS = 7.0

START_RATIO = 1.10
EXIT_MS, EXIT_RATIO = 150.0, 1.5
CPU_RATIO = 1.05
MEMORY_RATIO = 1.15
RESUME_SHARE = 0.10
CONFIG_SECONDS = 1.0
EXTRA_MS = 50.0
SIZE_RATIO = 0.5
CHANGE_MS = 80.0
# What the change between two clips showed before the next file was made ready ahead of its turn
# (a red clip followed by a green one, the centre sampled every few milliseconds).
EARLIER_CHANGE_MS = '778, 835'


def values(data, key):
    return [v for v in data.get(key, []) if v is not None]


def median(data, key):
    v = values(data, key)
    return statistics.median(v) if v else None


def pairs(data, a, b):
    """(a, b) of the runs in which both were measured: a failed run drops its pair, never shifts one."""
    return [(x, y) for x, y in zip(data.get(a, []), data.get(b, [])) if x is not None and y is not None]


def pair_ratio(data, a, b):
    ratios = [x / y for x, y in pairs(data, a, b) if y]
    return statistics.median(ratios) if ratios else None


def spread(vals, scale=1.0, digits=2):
    vals = [v * scale for v in vals if v is not None]
    if not vals:
        return 'n/a'
    return '%.*f [%.*f..%.*f]' % (digits, statistics.median(vals), digits, min(vals), digits, max(vals))


def longest_pause_ms(samples, slack_ms=2.0):
    """Longest span of samples (with .t in seconds and .gui_ms) in which the message thread used
    less than slack_ms of processor time."""
    best, start = 0.0, 0
    for end in range(len(samples)):
        if samples[end].gui_ms is None:
            continue
        while samples[start].gui_ms is None or samples[end].gui_ms - samples[start].gui_ms > slack_ms:
            start += 1
        best = max(best, samples[end].t - samples[start].t)
    return best * 1000


def renderer_taken(samples, screen):
    """The first sample after the renderer's own top-level window left the root, which it does
    when the player makes its graph and takes the renderer into its window, as the first file
    starts to load; None when that was not seen. The application's 1x1 window and a
    full-screen window are never the renderer's."""
    seen = set()
    for s in samples:
        if seen - {w.id for w in s.windows}:
            return s
        seen |= {w.id for w in s.windows if (w.width, w.height) not in ((1, 1), screen)}
    return None


def resume_wait(samples, wait_s=0.5):
    """(start, end) samples of the wait after a resumed open. A resumed run keeps its picture
    hidden until the wait's seek, so the wait is the half second before the first picture:
    from the first sample wait_s before it to the last readable one before it. (None, None)
    without a picture or readable samples."""
    shown = next((i for i, s in enumerate(samples) if s.picture), None)
    if shown is None:
        return None, None
    readable = [s for s in samples[:shown + 1] if s.gui_ms is not None]
    end = readable[-1] if readable else None
    start = next((s for s in readable if s.t >= samples[shown].t - wait_s), None)
    return (start, end) if start is not None and start.t < end.t else (None, None)


def change_gaps_ms(samples):
    """For each change from one clip to another in (t, clip) samples (clip None where the screen
    shows no clip): ms from the first sample that shows neither clip to the first that shows the
    new one, 0 when none lies between them. The first clip's own start is no change."""
    gaps, last, neither_since = [], None, None
    for t, clip in samples:
        if clip is None:
            if last is not None and neither_since is None:
                neither_since = t
            continue
        if last is not None and clip != last:
            gaps.append((t - neither_since) * 1000 if neither_since is not None else 0.0)
        last, neither_since = clip, None
    return gaps


# A soak's warm-up, and how much each figure may grow after it while still counting as flat.
SOAK_WARM_UP = 100
SOAK_BOUNDS = {'threads': 2, 'memory MiB': 24.0, 'handles': 20}


def soak_verdict(rows):
    """rows: (changes, threads, resident MiB, handles) as the soak took them. The verdict line:
    'flat' when none grew past its bound after the warm-up, else 'GROWING' with what grew. A row
    may catch the next file being built on its own thread (its threads and handles come and go),
    so growth runs from the highest of the first two rows after the warm-up to the lowest of the
    last two; the rate per 100 changes is taken between the means of those pairs."""
    after = [r for r in rows if r[0] >= SOAK_WARM_UP] or rows
    if len(after) < 4:
        after = rows
    if len(after) < 3:
        return 'verdict: too few figures (%d)' % len(rows)
    first, last = after[:2], after[-2:]
    per = 100.0 / ((last[0][0] + last[1][0]) / 2.0 - (first[0][0] + first[1][0]) / 2.0)
    grown, parts = [], []
    for i, name in enumerate(('threads', 'memory MiB', 'handles'), start=1):
        delta = min(r[i] for r in last) - max(r[i] for r in first)
        rate = (sum(r[i] for r in last) - sum(r[i] for r in first)) / 2.0 * per
        parts.append('%s %+g (%+.1f per 100 changes)' % (name, round(delta, 1), rate))
        if delta > SOAK_BOUNDS[name]:
            grown.append(name)
    bounds = ', '.join('%s +%g' % item for item in SOAK_BOUNDS.items())
    head = 'flat' if not grown else 'GROWING (%s)' % ', '.join(grown)
    return 'verdict: %s from change %d to %d: %s; bounds: %s' % (head, first[0][0], last[-1][0], '; '.join(parts),
                                                                 bounds)


def _ratio_text(ratio):
    return '%.2f' % ratio if isinstance(ratio, float) else (ratio or '-')


def rows(data):
    """The table: (figure, measured, reference, ratio, target, verdict) for each figure measured.
    The verdict is 'met', 'NOT MET', or '-' for lines that only explain a figure."""
    out = []

    def row(figure, measured, reference='', ratio=None, target='', met=None):
        out.append((figure, measured, reference, _ratio_text(ratio), target,
                    '-' if met is None else ('met' if met else 'NOT MET')))

    def side_by_side(figure, key, digits=2, scale=1.0, mine='saver', theirs='ref'):
        ratio = pair_ratio(data, mine + '.' + key, theirs + '.' + key)
        return ratio, (figure, spread(values(data, mine + '.' + key), scale, digits),
                       spread(values(data, theirs + '.' + key), scale, digits), ratio)

    if values(data, 'saver.picture_s'):
        r, cells = side_by_side('1 start to picture (s)', 'picture_s')
        row(*cells, '<= %.2f x ref' % START_RATIO, r is not None and r <= START_RATIO)
        row(*side_by_side('  from the making of the graph to the picture (ms)', 'shown_after_open_ms', 0)[1])
        row(*side_by_side('  longest message-thread pause before it (ms)', 'pause_ms', 0)[1])
        r, cells = side_by_side('2 exit latency, key to process gone (ms)', 'exit_ms', 0)
        m = median(data, 'saver.exit_ms')
        row(*cells, '< %.0f ms, <= %.1f x ref' % (EXIT_MS, EXIT_RATIO),
            m is not None and m < EXIT_MS and r is not None and r <= EXIT_RATIO)
        row(*side_by_side('  message-thread CPU from the key to the end (ms)', 'exit_cpu_ms', 1)[1])
        row('  reference destroying its shown window first (ms)', spread(values(data, 'refdestroy.exit_ms'),
                                                                         digits=0))
        r, cells = side_by_side('3 CPU, %g s of ten.mpg playing (s)' % PLAY_SECONDS, 'cpu_s')
        row(*cells, '<= %.2f x ref' % CPU_RATIO, r is not None and r <= CPU_RATIO)
        row(*side_by_side('  the same with the wineserver (s)', 'cpu_server_s')[1])
        r, cells = side_by_side('4 peak resident size VmHWM (MiB)', 'hwm_mb', 1)
        row(*cells, '<= %.2f x ref' % MEMORY_RATIO, r is not None and r <= MEMORY_RATIO)
    if values(data, 'resume.share'):
        m = median(data, 'resume.share')
        row('5 resume wait: message-thread CPU / wall (%)', spread(values(data, 'resume.share'), 100, 1), '-',
            None, '< %.0f %%' % (RESUME_SHARE * 100), m < RESUME_SHARE)
        row('  its CPU in its wall time (ms)', '%s in %s' % (spread(values(data, 'resume.cpu_ms'), digits=0),
                                                            spread(values(data, 'resume.wall_ms'), digits=0)))
    if values(data, 'resume.exit_ms'):
        m = median(data, 'resume.exit_ms')
        row('  exit latency of a resumed run, with sound (ms)', spread(values(data, 'resume.exit_ms'), digits=0),
            '-', None, '< %.0f ms' % EXIT_MS, m < EXIT_MS)
    big_c, one_c = 'config%d.shown_s' % BIG_PLAYLIST, 'config1.shown_s'
    if values(data, big_c):
        m = median(data, big_c)
        row('6 /c to window shown, %d entries (s)' % BIG_PLAYLIST, spread(values(data, big_c)),
            spread(values(data, one_c)) + ' (1 entry)', pair_ratio(data, big_c, one_c),
            '< %g s' % CONFIG_SECONDS, m < CONFIG_SECONDS)
    big_s, one_s = 'list%d.picture_s' % BIG_PLAYLIST, 'list1.picture_s'
    if values(data, big_s):
        extra = [(x - y) * 1000 for x, y in pairs(data, big_s, one_s)]
        row('  /s to picture, %d entries (s)' % BIG_PLAYLIST, spread(values(data, big_s)),
            spread(values(data, one_s)) + ' (1 entry)', 'extra %s ms' % spread(extra, digits=0),
            '< %.0f ms extra' % EXTRA_MS, bool(extra) and statistics.median(extra) < EXTRA_MS)
        big_g, one_g = 'list%d.gui_ms' % BIG_PLAYLIST, 'list1.gui_ms'
        extra = [x - y for x, y in pairs(data, big_g, one_g)]
        row('  message-thread CPU until that picture (ms)', spread(values(data, big_g), digits=0),
            spread(values(data, one_g), digits=0) + ' (1 entry)', 'extra %s ms' % spread(extra, digits=0))
    if values(data, 'mp4saver.picture_s'):
        mp4 = {'mine': 'mp4saver', 'theirs': 'mp4ref'}
        r, cells = side_by_side('9 MP4: start to picture (s)', 'picture_s', **mp4)
        row(*cells, '<= %.2f x ref' % START_RATIO, r is not None and r <= START_RATIO)
        # The bare session ends its process at once: the saver's own close is what figure 2 weighs.
        r, cells = side_by_side('  exit latency, key to process gone (ms)', 'exit_ms', 0, **mp4)
        m = median(data, 'mp4saver.exit_ms')
        row(*cells, '< %.0f ms' % EXIT_MS, m is not None and m < EXIT_MS)
        r, cells = side_by_side('  CPU, %g s of ten.mp4 playing (s)' % PLAY_SECONDS, 'cpu_s', **mp4)
        row(*cells, '<= %.2f x ref' % CPU_RATIO, r is not None and r <= CPU_RATIO)
        row(*side_by_side('  peak resident size VmHWM (MiB)', 'hwm_mb', 1, **mp4)[1])
    if values(data, 'change.gap_ms'):
        m = median(data, 'change.gap_ms')
        row('8 change between clips: time the screen shows neither clip (ms)',
            spread(values(data, 'change.gap_ms'), digits=0), EARLIER_CHANGE_MS + ' (earlier)', None,
            '<= %.0f ms' % CHANGE_MS, m <= CHANGE_MS)
        row('  longest of all the changes (ms)', '%.0f' % max(values(data, 'change.worst_ms')))
    if 'size' in data:
        size = data['size'][0]
        row('7 size of dist/win32/KINOVELA.SCR (bytes)', '{:,}'.format(size) if size else 'missing',
            '{:,}'.format(EARLIER_SIZE), size / EARLIER_SIZE if size else None, '<= %.2f x' % SIZE_RATIO,
            bool(size) and size / EARLIER_SIZE <= SIZE_RATIO)
    return out


def format_table(table):
    head = ('figure', 'measured: median [min..max]', 'reference', 'ratio', 'target', '')
    widths = [max(len(str(r[i])) for r in table + [head]) for i in range(len(head))]

    def line(r):
        return '  '.join(str(c).ljust(w) for c, w in zip(r, widths)).rstrip()

    return '\n'.join([line(head), '  '.join('-' * w for w in widths)] + [line(r) for r in table])
