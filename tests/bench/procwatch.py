"""Process side of the benchmark: starting a Windows program with no shell in between, reading
its processor time and memory from /proc, and watching its start sample by sample."""
import os
import select
import signal
import subprocess
import time

import kvharness

TICKS_PER_SECOND = os.sysconf('SC_CLK_TCK')


def process_seconds(pid):
    """User + system time of the whole process (every thread, ended ones too), in seconds."""
    try:
        with open('/proc/%d/stat' % pid) as f:
            fields = f.read().rsplit(')', 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND
    except (OSError, IndexError, ValueError):
        return None


def thread_ms(pid, tid=None):
    """Time on the processor of one thread (the first, which runs the message loop), in ms."""
    try:
        with open('/proc/%d/task/%d/schedstat' % (pid, tid or pid)) as f:
            return int(f.read().split()[0]) / 1e6
    except (OSError, IndexError, ValueError):
        return None


def peak_resident_kb(pid):
    try:
        with open('/proc/%d/status' % pid) as f:
            for line in f:
                if line.startswith('VmHWM:'):
                    return int(line.split()[1])
    except (OSError, ValueError):
        pass
    return None


def wineserver_pid():
    """The wineserver of the benchmark's prefix, or None."""
    for name in filter(str.isdigit, os.listdir('/proc')):
        words = kvharness.command_line_of(int(name)).split()
        if words and os.path.basename(words[0]).startswith('wineserver') and \
                kvharness.environ_of(int(name)).get(b'WINEPREFIX') == kvharness.prefix().encode():
            return int(name)
    return None


class Program:
    """One Windows program started straight through the Wine loader: its pid is the Windows process."""

    count = 0

    def __init__(self, args, log_dir):
        Program.count += 1
        self.log_path = os.path.join(log_dir, 'run-%03d.log' % Program.count)
        self.tag = '%s:bench%d' % (kvharness.RUN_TAG, Program.count)
        # Started without wine-run in between, so that the script's own start is in no figure.
        env = kvharness.environment(**{kvharness.TAG_VARIABLE: self.tag})
        with open(self.log_path, 'wb') as log:
            self.started = time.monotonic()
            self.popen = subprocess.Popen([kvharness.wine_env()['WINE']] + list(args), env=env,
                                          stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                          start_new_session=True)
        self.pid = self.popen.pid
        self._pidfd = os.pidfd_open(self.pid)

    def alive(self):
        return not select.select([self._pidfd], [], [], 0)[0]

    def wait_gone(self, timeout):
        """The moment the process ended (monotonic seconds), or None after timeout."""
        if not select.select([self._pidfd], [], [], timeout)[0]:
            return None
        gone = time.monotonic()
        self.popen.wait()
        return gone

    def stop(self):
        """Ends the program by force when it still runs and reaps it; harmless when it has ended."""
        if self._pidfd is None:
            return
        if self.alive():
            for pid in set(kvharness.tagged_pids(self.tag)) | {self.pid}:
                try:
                    os.kill(pid, signal.SIGKILL)
                except (ProcessLookupError, PermissionError):
                    pass
            self.wait_gone(10)
        if self.popen.poll() is None:
            self.popen.kill()
            self.popen.wait(10)
        os.close(self._pidfd)
        self._pidfd = None


class Sample:
    __slots__ = ('t', 'picture', 'windows', 'gui_ms')

    def __init__(self, t, picture, windows, gui_ms):
        self.t, self.picture, self.windows, self.gui_ms = t, picture, windows, gui_ms


def watch_start(program, display, is_picture, region, until, timeout=30.0, with_windows=True):
    """Samples the screen region, the program's top-level windows and its first thread's time as
    fast as they can be read, from the start until until(samples) holds. Returns the samples
    (t in seconds from the start); raises AssertionError on timeout or when the program ends."""
    samples = []
    deadline = program.started + timeout
    while True:
        now = time.monotonic()
        colour = display.colour(region)
        windows = display.windows_of(program.pid) if with_windows else []
        samples.append(Sample(now - program.started, bool(colour) and is_picture(colour), windows,
                              thread_ms(program.pid)))
        if until(samples):
            return samples
        if now > deadline:
            raise AssertionError('no result within %.0f s (log: %s)' % (timeout, program.log_path))
        if not program.alive():
            raise AssertionError('the program ended during its start (log: %s)' % program.log_path)


def sampling_interval_ms(samples):
    gaps = sorted((b.t - a.t) * 1000 for a, b in zip(samples, samples[1:]))
    return gaps[len(gaps) // 2] if gaps else None
