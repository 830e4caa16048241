"""Wine side of the end-to-end harness: environment, paths and background programs (see kvharness)."""
import contextlib
import os
import signal
import subprocess
import tempfile
import time

ROOT = os.environ.get('KINOVELA_ROOT') or os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
BUILD = os.path.abspath(os.environ.get('KINOVELA_BUILD') or os.path.join(ROOT, 'build', 'win64'))
WINE_RUN = os.path.join(ROOT, 'tests', 'tools', 'wine-run')
DESKTOP_KEY = r'HKCU\Control Panel\Desktop'
TAG_VARIABLE = 'KINOVELA_HARNESS_TAG'
# Started on demand by whichever program needs them first (wine-run starts the display and the
# server; Wine its helpers); they serve every program and end by themselves, so they are never
# part of a program's tree, whatever their environment says.
SHARED_PROCESSES = {'explorer.exe', 'services.exe', 'winedevice.exe', 'plugplay.exe', 'svchost.exe', 'rpcss.exe',
                    'wineboot.exe', 'wineserver', 'wineserver64', 'xvfb'}
RUN_TAG = 'kvh%d' % os.getpid()

_wine_env = None
_program_count = 0


# ---- environment and paths -------------------------------------------------------------------

def wine_env():
    """WINEPREFIX, DISPLAY, WINE and WINESERVER of the build tree (display and prefix made if needed)."""
    global _wine_env
    if _wine_env is None:
        out = subprocess.run([WINE_RUN, '--env'], env=dict(os.environ, KINOVELA_BUILD=BUILD), check=True,
                             capture_output=True, text=True, timeout=300).stdout
        _wine_env = dict(line.split('=', 1) for line in out.splitlines() if '=' in line)
    return _wine_env


@contextlib.contextmanager
def servers():
    """Holds the tree's servers (display, sound, Wine) for the block: those started meanwhile stop
    at its end, or when this process ends however it ends. Under a holder from before (ctest's
    fixture) they are that holder's to stop."""
    me, env = str(os.getpid()), dict(os.environ, KINOVELA_BUILD=BUILD)
    subprocess.run([WINE_RUN, '--hold', me], env=env, check=True, timeout=300)
    try:
        yield
    finally:
        subprocess.run([WINE_RUN, '--release', me], env=env, timeout=60)


def environment(**extra):
    """The environment for a program under wine-run and for the X tools."""
    env = dict(os.environ)
    env.update(wine_env())
    env['KINOVELA_BUILD'] = BUILD
    env.update(extra)
    return env


def prefix():
    return wine_env()['WINEPREFIX']


def system32():
    """The prefix's system directory: settings files and stand-ins live here."""
    return os.path.join(prefix(), 'drive_c', 'windows', 'system32')


def windows_path(unix_path):
    """The Z: drive path Wine gives a unix path."""
    return 'Z:' + os.path.abspath(unix_path).replace('/', '\\')


def saver_file():
    return os.path.join(ROOT, 'dist', 'win64', 'KINOVELA.SCR')


def saver_windows_path():
    return windows_path(saver_file())


def standins_dir():
    """The stand-ins of the build tree; a tree of Wine state alone (the demo's) uses the win64 tree's."""
    own = os.path.join(BUILD, 'standins')
    return own if os.path.isdir(own) else os.path.join(ROOT, 'build', 'win64', 'standins')


def clips_dir():
    return os.environ.get('KINOVELA_CLIPS') or os.path.join(BUILD, 'clips')


def run_tool(args, timeout=30, check=True):
    """Runs an X or ImageMagick tool on the test display; returns its standard output."""
    done = subprocess.run(args, env=environment(), capture_output=True, text=True, timeout=timeout)
    if check and done.returncode != 0:
        raise RuntimeError('%s failed (%d): %s' % (' '.join(args), done.returncode, done.stderr.strip()))
    return done.stdout


def wait_until(condition, timeout=10.0, interval=0.1, message='condition'):
    """Polls condition() until it gives a true value, which is returned; AssertionError on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError('timed out after %.1f s waiting for %s' % (timeout, message))
        time.sleep(interval)


def wait_still(find, timeout=30.0, message='the window'):
    """The window find() gives (or None), once two looks in a row see it at the same place and
    size: a loaded machine may map a window before it is centred, and clicks aim inside it."""
    last = [None]

    def still():
        window = find()
        geometry = (window.id, window.x, window.y, window.width, window.height) if window else None
        same = geometry is not None and geometry == last[0]
        last[0] = geometry
        return window if same else None
    return wait_until(still, timeout, interval=0.3, message=message + ' to stand still')


# ---- processes -------------------------------------------------------------------------------

def environ_of(pid):
    """The environment a process was started with, as bytes."""
    try:
        with open('/proc/%d/environ' % pid, 'rb') as f:
            return dict(item.split(b'=', 1) for item in f.read().split(b'\0') if b'=' in item)
    except OSError:
        return {}


def command_line_of(pid):
    try:
        with open('/proc/%d/cmdline' % pid, 'rb') as f:
            return f.read().replace(b'\0', b' ').decode('utf-8', 'replace').strip()
    except OSError:
        return ''


def is_alive(pid):
    """Whether a process exists and is not a zombie waiting to be reaped."""
    try:
        with open('/proc/%d/stat' % pid) as f:
            return f.read().rsplit(')', 1)[1].split()[0] != 'Z'
    except (OSError, IndexError):
        return False


def _is_shared_process(pid):
    words = command_line_of(pid).split()
    return bool(words) and words[0].replace('/', '\\').rsplit('\\', 1)[-1].lower() in SHARED_PROCESSES


def tagged_pids(tag=RUN_TAG):
    """Live processes whose harness tag is tag or starts with tag + ':' (that is, one program's tree),
    without the shared helpers."""
    pids = []
    for name in os.listdir('/proc'):
        if not name.isdigit() or int(name) == os.getpid():
            continue
        value = environ_of(int(name)).get(TAG_VARIABLE.encode(), b'').decode()
        if (value == tag or value.startswith(tag + ':')) and not _is_shared_process(int(name)):
            pids.append(int(name))
    return pids


def leftover_processes(pattern='KINOVELA.SCR', tag=RUN_TAG):
    """(pid, command line) of this run's processes whose command line contains pattern (pgrep -f)."""
    found = subprocess.run(['pgrep', '-f', pattern], capture_output=True, text=True).stdout.split()
    mine = set(tagged_pids(tag))
    return [(int(pid), command_line_of(int(pid))) for pid in found if int(pid) in mine]


def _kill(pids):
    for pid in pids:
        with contextlib.suppress(ProcessLookupError, PermissionError):
            os.kill(pid, signal.SIGKILL)


class WineProgram:
    """A Windows program started in the background through wine-run."""

    def __init__(self, args, env=None, log_path=None):
        global _program_count
        _program_count += 1
        self.args = list(args)
        self.tag = '%s:%d' % (RUN_TAG, _program_count)
        self.killed = False
        self.log_path = log_path or os.path.join(tempfile.gettempdir(), '%s-%d.log' % (RUN_TAG, _program_count))
        with open(self.log_path, 'wb') as log:
            self.started = time.monotonic()
            self.popen = subprocess.Popen([WINE_RUN] + self.args, env=environment(**{TAG_VARIABLE: self.tag}, **(env or {})),
                                          stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                          start_new_session=True)

    def running(self):
        return self.popen.poll() is None

    def pids(self):
        """Unix pids of the program and of every process it started."""
        return tagged_pids(self.tag)

    def wait(self, timeout):
        """The exit code, or None when it has not ended within timeout seconds."""
        try:
            return self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self, timeout=5.0):
        """Waits for the end; after timeout kills the program's own processes. Returns the exit code."""
        code = self.wait(timeout)
        if code is None or self.pids():
            self.killed = code is None
            # Not the process group: Wine's shared helpers may have been born into it.
            doomed = sorted(set(self.pids()) | ({self.popen.pid} if self.popen.poll() is None else set()))
            _kill(doomed)
            code = self.popen.wait(10)
            wait_until(lambda: not any(is_alive(pid) for pid in doomed + self.pids()), 10,
                       message='the processes of %s to end' % self.args[0])
        return code

    def windows(self, **criteria):
        """The program's X windows (see kvdisplay.find_windows for the criteria)."""
        from kvdisplay import find_windows
        return find_windows(pids=set(self.pids()), **criteria)

    def main_window(self, timeout=30, still=False, other_than=(), **criteria):
        """The program's first window matching the criteria, waited for: not the application's
        own 1 x 1 window beside it, nor those of other_than (ids). With still, once two looks
        in a row see it at the same place and size (a window may be mapped before it is centred)."""
        def find():
            return next((w for w in self.windows(**criteria) if w.size() != (1, 1) and w.id not in other_than), None)
        message = '%s of %s' % (criteria or 'the main window', self.args[0])
        return wait_still(find, timeout, message=message) if still else wait_until(find, timeout, message=message)

    def log(self):
        with open(self.log_path, 'rb') as f:
            return f.read().decode('utf-8', 'replace')


# ---- sound -----------------------------------------------------------------------------------

class SoundRecorder:
    """Records what reaches the build tree's null sink (wine-run's PulseAudio), as 16-bit mono at
    8 kHz, from start() to stop(); loudness() is the recording's RMS level, 0 for silence."""

    def __init__(self):
        self.path = os.path.join(tempfile.gettempdir(), '%s-sound-%d.raw' % (RUN_TAG, id(self)))
        self.popen = None

    def start(self):
        env = environment()
        self.popen = subprocess.Popen(['parec', '-d', 'kinovela.monitor', '--raw', '--format=s16le',
                                       '--channels=1', '--rate=8000', '--latency-msec=50', self.path],
                                      env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
        # Recording has begun once the first samples are written (the sink sends silence too).
        wait_until(lambda: os.path.exists(self.path) and os.path.getsize(self.path) > 0, 10, interval=0.05,
                   message='parec to record the sink')
        return self

    def stop(self):
        if self.popen and self.popen.poll() is None:
            self.popen.terminate()
            self.popen.wait(5)
        return self

    def loudness(self):
        import array
        import math
        samples = array.array('h')
        with open(self.path, 'rb') as f:
            data = f.read()
        samples.frombytes(data[:len(data) // 2 * 2])
        return math.sqrt(sum(s * s for s in samples) / len(samples)) if samples else 0.0

    def seconds(self):
        return os.path.getsize(self.path) / 16000.0

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        with contextlib.suppress(OSError):
            os.remove(self.path)
