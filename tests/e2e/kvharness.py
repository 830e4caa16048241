r"""Small library for the end-to-end tests: they drive the real programs under Wine from outside.

A test script, e.g. tests/e2e/fullscreen/test_keys.py:

    import os, sys
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
    import kvharness

    class Keys(kvharness.SaverTestCase):
        def test_escape_ends_the_run(self):
            saver, window = self.start_saver_fullscreen()
            kvharness.focus(window.id)
            kvharness.key('Escape')
            self.assertEqual(saver.wait(10), 0)

    kvharness.main()

Run by hand (python3 tests/e2e/.../test_x.py), a script starts the display, sound and Wine servers
of the build tree as it needs them and stops them at its end; under ctest the run's fixture does.

Facts about this Wine (8.0) and display that the helpers build on:
- `wine-run PROGRAM` for a program named without a path (notepad) runs `start.exe /exec PROGRAM`
  in the started process, which waits for the program (a separate process, reparented to init) and
  passes its exit code on; with a path (Z:\...\KINOVELA.SCR) the started process is the program.
  Either way a program is stopped through a tag in the environment that every Windows child
  inherits, not through its process group, into which Wine's shared helpers (explorer.exe
  /desktop, services.exe, ...) are born when a program needs them first.
- A Windows process's /proc cmdline is its Windows command line ("Z:\...\KINOVELA.SCR /s").
- Wine puts _NET_WM_PID on its X windows, so a window is matched to the process that owns it.
- There is no window manager: `xdotool windowactivate` fails; keys reach a Wine window only while it
  is Wine's foreground window and has the X focus (`focus()`). A program's first window usually gets
  both by itself.
- `xdotool key KP_5` toggles NumLock around the key. Turn NumLock on once (`numlock_on()`) and send
  the keypad's own keys (`keypad_key(5)` is KP_Begin); Wine then sees VK_NUMPAD1..9.
- A fresh Xvfb sends one mouse-move at the current pointer right after a window shows: park the
  pointer (`park_pointer()`) before a saver starts, so that move is not taken for a user's movement.
- Wine ships no desk.cpl and no PASSWORD.CPL, so the stand-ins copied into system32 are loaded as
  they are (rundll32 finds desk.cpl there); no DLL override is needed.
- Hiding, closing or reparenting a shown top-level window costs about two seconds (DEVELOPERS.md):
  a saver's embedding into the preview takes that long, and a program ends that long after its
  last top-level window closes. (Managed=N under HKCU\Software\Wine\X11 Driver would remove the
  wait, and with it the _NET_WM_STATE hints.)
"""
import collections
import os
import re
import shutil
import subprocess
import sys
import time
import unittest

# The tests see one namespace: kvharness.key(), kvharness.system32(), ...
from kvdisplay import *  # noqa: F401,F403
from kvwine import *  # noqa: F401,F403
from kvdisplay import find_windows, screenshot
from kvwine import BUILD, WINE_RUN, WineProgram, _kill, environment, leftover_processes, saver_windows_path, \
    servers, standins_dir, system32, wait_until, windows_path

INI_FILE = 'g_screen.ini'
PLAYLIST_FILE = 'g_screen.files'
# Files a stand-in leaves beside itself in system32.
STANDIN_SIDE_FILES = {'PASSWORD.CPL': ['password-answer.txt', 'password-calls.txt'],
                      'desk.cpl': ['desk-installs.txt']}

_ansi_encoding = None


# ---- registry --------------------------------------------------------------------------------

def _reg(args, check=True):
    done = subprocess.run([WINE_RUN, 'reg'] + args, env=environment(), capture_output=True, text=True, timeout=60)
    if check and done.returncode != 0 and 'ShellExecuteEx failed' in done.stdout + done.stderr:
        # Wine's start.exe fails now and then while a program of the last test is still going away.
        time.sleep(1)
        done = subprocess.run([WINE_RUN, 'reg'] + args, env=environment(), capture_output=True, text=True, timeout=60)
    if check and done.returncode != 0:
        raise RuntimeError('reg %s failed: %s' % (' '.join(args), (done.stdout + done.stderr).strip()))
    return done


def reg_query(key, name):
    """(type, data) of a registry value as `reg query` shows it ('REG_DWORD', '0x1'), or None."""
    done = _reg(['query', key, '/v', name], check=False)
    for line in done.stdout.splitlines():
        m = re.match(r'^\s{4}(.*?)\s{4}(REG_\w+)\s{4}?(.*)$', line)
        if done.returncode == 0 and m and m.group(1).lower() == name.lower():
            return (m.group(2), m.group(3))
    return None


def reg_add(key, name, data, value_type='REG_SZ'):
    _reg(['add', key, '/v', name, '/t', value_type, '/d', str(data), '/f'])


def reg_delete(key, name):
    _reg(['delete', key, '/v', name, '/f'], check=False)


def ansi_encoding():
    """Python's name of the prefix's ANSI code page, in which the saver reads and writes g_screen.ini."""
    global _ansi_encoding
    if _ansi_encoding is None:
        value = reg_query(r'HKLM\System\CurrentControlSet\Control\Nls\CodePage', 'ACP')
        _ansi_encoding = 'cp' + (value[1] if value and value[1].isdigit() else '1252')
    return _ansi_encoding


# ---- settings files --------------------------------------------------------------------------

def ini_text(sections):
    """INI text with CR LF from {section: {key: value}} (in the order given)."""
    lines = []
    for section, values in sections.items():
        lines.append('[%s]' % section)
        lines.extend('%s=%s' % (k, v) for k, v in values.items())
        lines.append('')
    return '\r\n'.join(lines)


def write_ini(content):
    """Writes g_screen.ini into system32 in the ANSI code page; content is text or a dict of sections."""
    text = content if isinstance(content, str) else ini_text(content)
    with open(os.path.join(system32(), INI_FILE), 'wb') as f:
        f.write(text.encode(ansi_encoding()))


def read_ini():
    """g_screen.ini as {section: {key: value}} (names as written), or None when it does not exist."""
    path = os.path.join(system32(), INI_FILE)
    if not os.path.exists(path):
        return None
    sections, current = {}, None
    with open(path, 'rb') as f:
        for line in f.read().decode(ansi_encoding()).splitlines():
            line = line.strip()
            if line.startswith('[') and line.endswith(']'):
                current = sections.setdefault(line[1:-1], {})
            elif '=' in line and current is not None:
                k, v = line.split('=', 1)
                current[k.strip()] = v.strip()
    return sections


UTF8_MARK = b'\xef\xbb\xbf'


def write_playlist(paths, utf8=False):
    """Writes g_screen.files: one path per line, each line ended by CR LF; in the ANSI code page,
    or in UTF-8 behind a byte-order mark (as Notepad saves it)."""
    text = ''.join(p + '\r\n' for p in paths)
    with open(os.path.join(system32(), PLAYLIST_FILE), 'wb') as f:
        f.write(UTF8_MARK + text.encode('utf-8') if utf8 else text.encode(ansi_encoding()))


def read_playlist():
    """The lines of g_screen.files, or None when it does not exist; read as the saver reads it."""
    path = os.path.join(system32(), PLAYLIST_FILE)
    if not os.path.exists(path):
        return None
    with open(path, 'rb') as f:
        data = f.read()
    return (data[3:].decode('utf-8') if data.startswith(UTF8_MARK) else data.decode(ansi_encoding())).splitlines()



class FileKeeper:
    """Remembers files as they are and puts them back (or removes them when they did not exist)."""

    def __init__(self):
        self._saved = {}

    def keep(self, path):
        if path not in self._saved:
            try:
                with open(path, 'rb') as f:
                    self._saved[path] = f.read()
            except FileNotFoundError:
                self._saved[path] = None
        return path

    def restore(self):
        for path, content in self._saved.items():
            if content is None:
                if os.path.exists(path):
                    os.remove(path)
            else:
                with open(path, 'wb') as f:
                    f.write(content)
        self._saved.clear()


# ---- stand-ins -------------------------------------------------------------------------------

def install_standin(source, as_name=None, keeper=None):
    """Copies a stand-in from the build's standins folder into system32 (e.g. 'PASSWORD-noentry.cpl'
    as 'PASSWORD.CPL'), without the side files an earlier use left. With a keeper, the copy and
    the side files are put back later."""
    target_name = as_name or source
    target = os.path.join(system32(), target_name)
    sides = [os.path.join(system32(), side) for side in STANDIN_SIDE_FILES.get(target_name, [])]
    for path in [target] + sides:
        if keeper:
            keeper.keep(path)
        if path != target and os.path.exists(path):
            os.remove(path)
    shutil.copyfile(os.path.join(standins_dir(), source), target)
    return target


def _side_lines(name):
    try:
        with open(os.path.join(system32(), name), 'rb') as f:
            return f.read().decode('utf-8').splitlines()
    except FileNotFoundError:
        return []


def desk_launches():
    """The command lines the desk.cpl stand-in was started with, one per hand-over."""
    return _side_lines('desk-installs.txt')


def password_calls():
    """The PASSWORD.CPL stand-in's calls, each as a dict ('hwnd', 'cursor_visible')."""
    return [dict(item.split('=', 1) for item in line.split()) for line in _side_lines('password-calls.txt') if line]


def set_password_answer(right):
    """Whether the PASSWORD.CPL stand-in takes the password it asks for."""
    with open(os.path.join(system32(), 'password-answer.txt'), 'w') as f:
        f.write('1' if right else '0')


def read_report(path):
    """A key=value report (displayprops) as a dict."""
    with open(path, 'rb') as f:
        lines = f.read().decode('utf-8', 'replace').splitlines()
    return dict(line.split('=', 1) for line in lines if '=' in line)


def report(text):
    """A measurement line in the test's output (ctest shows it with --output-on-failure or -V)."""
    sys.stderr.write('  [measured] %s\n' % text)
    sys.stderr.flush()


def start_fullscreen(start, saver, *args, pointer=()):
    """Starts a full-screen run as Windows does when the computer is idle (saver /s, through
    start: WineProgram or SaverTestCase.start), with NumLock off and the pointer parked at pointer
    (the screen's centre by default). Returns (program, its window covering the screen)."""
    numlock_off()
    park_pointer(*pointer)
    program = start([saver, '/s'] + list(args))
    return program, program.main_window(size=screen_size())


# ---- the test case ---------------------------------------------------------------------------

class SaverTestCase(unittest.TestCase):
    """Starts programs, keeps system32 files and registry values, and cleans up after each test:
    every program still running is stopped, everything kept is put back, and no KINOVELA.SCR
    process of this run may be left."""

    @classmethod
    def setUpClass(cls):
        subprocess.run([WINE_RUN, '--prepare'], env=environment(), check=True, timeout=300)

    def setUp(self):
        self.programs = []
        self.files = FileKeeper()
        self._registry = []
        # Logs, screenshots and reports of the last run of this test stay here for a look afterwards.
        self.work_dir = os.path.join(BUILD, 'e2e-artifacts', '%s.%s' % (type(self).__name__, self._testMethodName))
        shutil.rmtree(self.work_dir, ignore_errors=True)
        os.makedirs(self.work_dir)
        self.addCleanup(self._clean_up)

    def _clean_up(self):
        for program in reversed(self.programs):
            program.stop(timeout=0)
        for key, name, previous in reversed(self._registry):
            if previous is None:
                reg_delete(key, name)
            else:
                reg_add(key, name, previous[1], previous[0])
        self.files.restore()
        left = leftover_processes('KINOVELA.SCR')
        _kill([pid for pid, _ in left])
        self.assertEqual(left, [], 'KINOVELA.SCR processes were left running')

    def start(self, args, **kw):
        """Starts a Windows program (name or Windows path, then its arguments) in the background."""
        kw.setdefault('log_path', os.path.join(self.work_dir, 'program-%d.log' % len(self.programs)))
        program = WineProgram(args, **kw)
        self.programs.append(program)
        return program

    def start_saver(self, *args):
        """Starts dist/win64/KINOVELA.SCR with the given arguments."""
        return self.start([saver_windows_path()] + list(args))

    def start_saver_fullscreen(self, *args, pointer=()):
        """dist/win64/KINOVELA.SCR /s (see start_fullscreen): (program, window)."""
        return start_fullscreen(self.start, saver_windows_path(), *args, pointer=pointer)

    def start_displayprops(self, *saver_args, until=None, run_ms=None, exit_ms=5000, close=False,
                           destroy_preview=False, no_activate=False, saver=None):
        """Starts the Display Properties stand-in, which starts the saver (or the program saver names)
        with saver_args; {preview} and {self} in them become the handles of its preview window and of
        itself. Once the saver has done until (shown a 'window', filled the preview with its
        'child'), or after run_ms, it samples, then closes the saver (close) or destroys its preview
        window (destroy_preview). Returns (program, report path); read_report()
        once the program has ended."""
        report = os.path.join(self.work_dir, 'displayprops-%d.txt' % len(self.programs))
        args = [os.path.join(standins_dir(), 'displayprops.exe'), '--report', windows_path(report),
                '--run-ms', str(run_ms or (15000 if until else 4000)), '--exit-ms', str(exit_ms)]
        args += ['--until', until] if until else []
        args += ['--close'] if close else []
        args += ['--destroy-preview'] if destroy_preview else []
        args += ['--no-activate'] if no_activate else []
        return self.start(args + ['--', saver or saver_windows_path()] + list(saver_args)), report

    def keep_file(self, path):
        """Puts the file back as it is now (or removes it) after the test."""
        return self.files.keep(path)

    def write_ini(self, content):
        self.keep_file(os.path.join(system32(), INI_FILE))
        write_ini(content)

    def write_playlist(self, paths, utf8=False):
        self.keep_file(os.path.join(system32(), PLAYLIST_FILE))
        write_playlist(paths, utf8)

    def make_immutable(self, path):
        """Makes a file or folder unwritable, for root too (chattr +i), until the test ends.
        False when the file system does not permit it here."""
        if subprocess.run(['chattr', '+i', path], capture_output=True).returncode != 0:
            return False
        self.addCleanup(subprocess.run, ['chattr', '-i', path])
        return True

    def remove_settings(self):
        """Makes sure neither settings file exists during the test."""
        for name in (INI_FILE, PLAYLIST_FILE):
            path = self.keep_file(os.path.join(system32(), name))
            if os.path.exists(path):
                os.remove(path)

    def set_registry_value(self, key, name, data, value_type='REG_DWORD'):
        """Sets a value (e.g. DESKTOP_KEY, 'ScreenSaveUsePassword', 1) and puts the old one back."""
        self._registry.append((key, name, reg_query(key, name)))
        reg_add(key, name, data, value_type)

    def delete_registry_value(self, key, name):
        self._registry.append((key, name, reg_query(key, name)))
        reg_delete(key, name)

    def install_standin(self, source, as_name=None):
        return install_standin(source, as_name, self.files)

    def password_gate(self, answer):
        """ScreenSaveUsePassword = 1 and the PASSWORD.CPL stand-in taking the password or not."""
        self.set_registry_value(DESKTOP_KEY, 'ScreenSaveUsePassword', 1)
        self.install_standin('PASSWORD.CPL')
        set_password_answer(answer)

    def screenshot(self, name='screen'):
        return screenshot(os.path.join(self.work_dir, name + '.png'))


def main():
    """Runs the test cases of the calling script; the servers it starts stop at its end."""
    with servers():
        unittest.main(verbosity=2)


# ---- a window's controls as a user reads them --------------------------------------------------

WindowControl = collections.namedtuple('WindowControl', 'cls enabled text')


def window_controls(title, cls=None):
    """The controls of the top-level window with that exact title (and window class, e.g. '#32770'
    for a message box) in creation order, read by winprobe.exe inside Wine; None when there is no
    such window. A CR or LF in a text comes back as the two characters \\r or \\n; a progress bar's
    text is 'pos=N range=A..B color=BBGGRR'."""
    args = [WINE_RUN, os.path.join(standins_dir(), 'winprobe.exe')] + (['--class', cls] if cls else []) + [title]
    done = subprocess.run(args, env=environment(), capture_output=True, timeout=60)
    if done.returncode != 0:
        return None
    controls = []
    for line in done.stdout.decode('utf-8', 'replace').splitlines():
        parts = line.split('\t', 2)
        if len(parts) == 3:
            controls.append(WindowControl(parts[0], parts[1] == 'enabled', parts[2]))
    return controls
