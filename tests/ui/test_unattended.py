"""RavellInstaller.exe without its window: "-silent=true" run under Wine with no display at
all, against the download service on loopback and the fake package run for real, for every
exit code of the unattended run; "-instdir" and the support log "-log" in both modes.

A Windows process that creates a window needs Wine's display driver, which cannot start
without a display: the unattended runs get no DISPLAY, and the installer process's Wine
diagnostics (display driver and window errors, told apart by process id) must stay silent, as
they do not for the windowed installer started the same way. (The package and the old
uninstaller are console programs of their own; Wine's console host may want a window for them.)

usage: test_unattended.py RAVELL_INSTALLER_EXE FAKE_PACKAGE_EXE SCREENSHOT_DIR
"""
import contextlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import installer_window as iw  # noqa: E402
import installer_case  # noqa: E402
from installer_case import KEY, reg_value  # noqa: E402
from installer_window import Installer, Scenario, winpath, unix_path  # noqa: E402
from ini_file import read_ini  # noqa: E402

SHOTS = None
# What Wine prints when a program wants a window it cannot have (no display).
WINDOW_DIAGNOSTICS = re.compile(
    r"^([0-9a-f]+):[0-9a-f]+:err:.*(nodrv_CreateWindow|Can't open display|no driver could be loaded)",
    re.M)
TRACE = re.compile(r'^<P\d{5,}><T\d{5,}><\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}>\((.*?)\)<\d{4,}>: (.*)$',
                   re.S)
# Wine shows each debugger output string on its "seh" channel, long ones cut and ending in "...
DEBUGSTR = re.compile(r'^([0-9a-f]+):[0-9a-f]+:warn:seh:OutputDebugStringA (".*")(\.\.\.)?$',
                      re.M)
DIAGNOSTICS = '-all,err+winediag,err+x11drv,warn+seh,+pid'  # "+pid": lines begin "pid:tid:"


class WindowRun(Installer):
    """The windowed installer with its diagnostics kept (stderr)."""

    def __init__(self, exe, *args, env, stderr):
        self.proc = subprocess.Popen([iw.WINE_RUN, exe, *args], stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=stderr, env=env)
        self.window = None


def decode_debugstr(quoted):
    """The text of a string as Wine's debug channel prints it (quoted, with escapes)."""
    body = quoted[1:-1]
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c != '\\':
            out.append(c)
            i += 1
            continue
        n = body[i + 1]
        if n in 'nrt':
            out.append({'n': '\n', 'r': '\r', 't': '\t'}[n])
            i += 2
        elif n == 'x':
            out.append(chr(int(body[i + 2:i + 4], 16)))
            i += 4
        elif n == 'u':
            out.append(chr(int(body[i + 2:i + 6], 16)))
            i += 6
        elif n in '0123456789abcdef' and re.match(r'[0-9a-f]{4}', body[i + 1:i + 5]):
            out.append(chr(int(body[i + 1:i + 5], 16)))
            i += 5
        else:
            out.append(n)
            i += 2
    return ''.join(out)


def installer_pid(stderr):
    """The Wine process id (hexadecimal text) of the first program that traced."""
    m = DEBUGSTR.search(stderr.decode('utf-8', 'replace'))
    return m.group(1) if m else None


def trace_lines(stderr):
    """The trace lines the installer wrote to the debugger output, in order: (text, cut)."""
    pid = installer_pid(stderr)
    lines = []
    for raw in stderr.decode('utf-8', 'replace').splitlines():
        m = DEBUGSTR.match(raw)
        if m and m.group(1) == pid:
            lines.append((decode_debugstr(m.group(2)), bool(m.group(3))))
    return lines


def window_diagnostics(stderr, pid):
    """The display and window errors Wine reported for process pid (None: any process)."""
    return [m.group(0) for m in WINDOW_DIAGNOSTICS.finditer(stderr.decode('utf-8', 'replace'))
            if pid is None or m.group(1) == pid]


class UnattendedTest(installer_case.InstallerCase):
    work_prefix = 'silent-'

    def setUp(self):
        super().setUp()
        self.default_dir = reg_value('DefaultInstallDir')
        shutil.rmtree(unix_path(self.default_dir), ignore_errors=True)

    def tearDown(self):
        super().tearDown()
        shutil.rmtree(unix_path(self.default_dir), ignore_errors=True)

    @contextlib.contextmanager
    def own_wineserver(self):
        """A copy of the prefix with a wineserver of its own, for what must not share the
        desktop with runs that had no display (or must not share the network)."""
        copy = os.path.join(self.work, 'prefix')
        subprocess.run(['cp', '-a', os.environ['WINEPREFIX'], copy], check=True)
        saved = os.environ['WINEPREFIX']
        os.environ['WINEPREFIX'] = copy
        try:
            yield copy
        finally:
            subprocess.run([os.environ['WINESERVER'], '-k'])
            os.environ['WINEPREFIX'] = saved
            shutil.rmtree(copy, ignore_errors=True)

    def successful_package(self, extra=''):
        return (Scenario().out('Encode=UTF8\r\nProgress=0.3\r\n').sleep(100)
                .copyself('{instdir}\\uninst.ep').out(extra + 'Progress=1\r\nState=Success\r\n'))

    def silent(self, *args, timeout=180, prefix=()):
        """Runs the installer with -silent=true and no display; (exit code, stderr)."""
        env = dict(self.env, WINEPREFIX=os.environ['WINEPREFIX'])
        env.pop('DISPLAY', None)
        env['WINEDEBUG'] = DIAGNOSTICS
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            proc = subprocess.run([*prefix, iw.WINE_RUN, self.exe, '-silent=true', *args],
                                  stdin=subprocess.DEVNULL, stdout=out, stderr=err, env=env,
                                  timeout=timeout)
            err.seek(0)
            stderr = err.read()
        code = proc.returncode - 256 if proc.returncode > 127 else proc.returncode
        return code, stderr

    def assert_silent(self, expected, *args, **kw):
        """Runs the unattended installer and wants the exit code; without a -log of the
        caller's, a support log tells the outcome and the installer's process id, and Wine
        reported no window or display wish of that process."""
        own_log = None
        if not any(a.startswith('-log=') for a in args):
            own_log = os.path.join(self.work, 'run-%d.log' % len(os.listdir(self.work)))
            args += ('-log=' + winpath(own_log),)
        code, stderr = self.silent(*args, **kw)
        self.assertEqual(code, expected, stderr.decode('utf-8', 'replace')[-3000:])
        if expected == -1:  # stopped before anything, the command line included
            self.assertFalse(os.path.exists(own_log))
            self.assertEqual(window_diagnostics(stderr, None), [])
            return stderr
        if own_log:
            last = self.log_lines(own_log)[-1]
            self.assertTrue(last.endswith(', exit code %d' % expected), last)
            pid = '%04x' % int(re.match(r'<P(\d+)>', last).group(1))
        else:
            pid = installer_pid(stderr)
        self.assertIsNotNone(pid)
        self.assertEqual(window_diagnostics(stderr, pid), [])
        return stderr

    def assert_records(self, folder):
        self.assertEqual(reg_value('InstallPath'), folder)
        self.assertEqual(reg_value('UnInstallEp'), folder + '\\uninst.ep')
        set_ini = read_ini(os.path.join(unix_path(folder), 'set.ini'))
        self.assertEqual(set_ini['Install']['AppName'], 'quillmoss')
        self.assertEqual(set_ini['Install']['APPStore'], 'RavellInstaller.exe')
        self.assertTrue(re.fullmatch(r'[0-9A-Za-z-]+', set_ini['Install']['DeviceID']))
        analytics = unix_path(set_ini['Install']['RVSensorsAnalyticsIni'])
        self.assertIn('UpdateTime', read_ini(analytics)['Init'])

    def running_program(self, name, folder=None):
        """A copy of the fake package running under name for 60 seconds."""
        program = os.path.join(folder or os.path.join(self.work, 'running'), name)
        os.makedirs(os.path.dirname(program), exist_ok=True)
        shutil.copy(installer_case.FAKE, program)
        started = program + '.started'
        with open(program + '.scenario', 'w') as f:
            f.write(Scenario().file(winpath(started), b'1').sleep(60000).text())
        running = subprocess.Popen([iw.WINE_RUN, program], stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def stop():
            running.kill()
            running.wait()
            iw.wine('taskkill', '/f', '/im', name)
        self.addCleanup(stop)
        iw.wait_for(lambda: os.path.exists(started), 30, name + ' running')
        return program

    def test_installs_records_and_never_starts_the_product(self):
        marker = os.path.join(self.work, 'product-started')
        with open(os.path.join(self.scenarios, 'quillmoss.exe.scenario'), 'w') as f:
            f.write(Scenario().file(winpath(marker), b'yes').text())
        self.service.add('page', name='page.html', data=b'<html></html>')
        folder = self.default_dir
        self.package_scenario(self.successful_package(
            'ExePath=%s\\quillmoss.exe\r\nStartUrl=%s\r\nStartupStyle=AutoStartup\r\n'
            'Message=hello\r\n' % (folder, self.service.url('page'))).copyself(
                '{instdir}\\quillmoss.exe'))
        self.assert_silent(0)
        self.assert_records(folder)
        self.assertFalse(os.path.exists(unix_path(folder + '\\__Package_quillmoss.exe')))
        time.sleep(1.0)
        self.assertFalse(os.path.exists(marker))        # the product was not started
        self.assertEqual(self.service.gets('page'), [])  # and no page opened
        self.assertTrue(self.service.gets('681'))

    def test_an_earlier_installation_is_updated_in_its_folder(self):
        folder = self.previous_install(Scenario().out('Progress=1\r\nState=Success\r\n'))
        self.package_scenario(self.successful_package())
        self.assert_silent(0)
        self.assert_records(folder)
        self.assertTrue(os.path.exists(unix_path('C:\\Tallowmere old\\set.ini')))

    def test_instdir_is_the_install_folder(self):
        folder = 'C:\\Program Files\\泰罗 Mere\\quillmoss'
        self.addCleanup(shutil.rmtree, unix_path('C:\\Program Files\\泰罗 Mere'), True)
        self.package_scenario(self.successful_package())
        self.assert_silent(0, '-instdir=' + folder)
        self.assert_records(folder)
        self.assertFalse(os.path.exists(unix_path(self.default_dir)))

    # --- -1: another installer ---
    def test_a_second_installer_exits_at_once(self):
        self.package_scenario(self.successful_package().sleep(1))
        lock = os.path.join(self.work, 'package-running')
        self.package_scenario(Scenario().out('Encode=UTF8\r\nProgress=0.3\r\n')
                              .file(winpath(lock), b'1').sleep(15000)
                              .copyself('{instdir}\\uninst.ep').out('State=Success\r\n'))
        env = dict(self.env)
        env.pop('DISPLAY', None)
        first = subprocess.Popen([iw.WINE_RUN, self.exe, '-silent=true'], env=env,
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        try:
            iw.wait_for(lambda: os.path.exists(lock), 90, 'the first installer at work')
            self.assert_silent(-1)
            self.assertEqual(first.wait(timeout=120), 0)
        finally:
            if first.poll() is None:
                first.kill()
                first.wait()

    # --- 10: the product or the old uninstaller copy runs ---
    def test_a_running_product_or_uninstaller_copy_is_refused(self):
        for name in ('quillmoss.exe', 'quillmoss_un_asa.exe'):
            with self.subTest(name):
                self.running_program(name)
                self.service.reset_stats()
                self.assert_silent(10)
                self.assertEqual(self.service.gets(), [])
                self.assertIsNone(reg_value('InstallPath'))
                self.doCleanups()

    def test_a_running_product_over_an_earlier_installation_is_refused(self):
        self.previous_install(Scenario().out('State=Success\r\n'))
        self.running_program('quillmoss.exe')
        self.assert_silent(10)
        self.assertEqual(self.service.gets(), [])

    # --- 11: the folder cannot be created ---
    def test_a_folder_that_cannot_be_created(self):
        blocker = os.path.join(self.work, 'a-file')
        with open(blocker, 'w') as f:
            f.write('x')
        for folder in (winpath(blocker) + '\\quillmoss', 'C:\\' + 'x' * 300):
            with self.subTest(folder[:40]):
                self.assert_silent(11, '-instdir=' + folder)
                self.assertEqual(self.service.gets(), [])

    # --- 12: less than 1 GiB free ---
    def test_a_drive_with_less_than_1_gib_free(self):
        small = tempfile.mkdtemp(prefix='small-drive-')
        proc = subprocess.run(['mount', '-t', 'tmpfs', '-o', 'size=64m', 'tmpfs', small],
                              capture_output=True)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        drive = os.path.join(os.environ['WINEPREFIX'], 'dosdevices', 'q:')
        if os.path.lexists(drive):
            os.remove(drive)
        os.symlink(small, drive)
        try:
            self.assert_silent(12, '-instdir=Q:\\quillmoss')
            self.assertTrue(os.path.isdir(os.path.join(small, 'quillmoss')))  # created first
            self.assertEqual(self.service.gets(), [])
        finally:
            os.remove(drive)
            subprocess.run(['umount', small])
            shutil.rmtree(small, ignore_errors=True)

    # --- 13: no Internet ---
    def test_no_internet_with_the_check_enabled(self):
        """Wine asks the host's interfaces (in its device service, beside the wineserver), so
        the installer runs with a wineserver of its own in a network namespace with only an
        unconfigured loopback."""
        self.configure(DownloadUrl=self.service.url('681'), IsCheckNet='true')
        offline = ('unshare', '--net')
        with self.own_wineserver():
            self.assert_silent(13, prefix=offline)
            self.assertEqual(self.service.gets(), [])
            # without the check the same machine gets as far as the download
            self.configure(DownloadUrl=self.service.url('681'), IsCheckNet='false')
            self.assert_silent(20, prefix=offline)

    # --- 20, 30, 40 ---
    def test_a_failed_download(self):
        self.serve('681', get_status=404)
        self.assert_silent(20)
        self.assertIsNone(reg_value('InstallPath'))

    def test_a_failed_uninstall_of_the_previous_version(self):
        self.previous_install(Scenario().out('Progress=0.5\r\n').sleep(100).out('State=Fail\r\n'))
        self.assert_silent(30)
        self.assertEqual(self.service.gets(), [])

    def test_a_package_that_reports_failure(self):
        self.package_scenario(Scenario().out('Encode=UTF8\r\nProgress=0.3\r\n')
                              .out('Error=磁盘写入失败\r\n'))
        self.assert_silent(40)
        self.assertIsNone(reg_value('InstallPath'))

    # --- the support log ---
    def log_lines(self, path):
        with open(path, 'rb') as f:
            data = f.read()
        self.assertTrue(data.endswith(b'\r\n'))
        return data.decode('utf-8').split('\r\n')[:-1]

    def assert_log(self, path, stderr, outcome, earlier=()):
        """The file: the earlier lines, then every trace line of the debugger output byte for
        byte (without its own line end), with the pipeline's events and the outcome among
        them in the trace format; returns the event codes."""
        lines = self.log_lines(path)
        self.assertEqual(lines[:len(earlier)], list(earlier))
        lines = lines[len(earlier):]
        matches = [TRACE.match(line) for line in lines]
        self.assertTrue(all(matches), [l for l, m in zip(lines, matches) if not m])
        self.assertEqual(len({line[:8] for line in lines}), 1)  # one process: <P.....>
        own = [m.group(1) in ('CInstallSession::Apply', 'LogInstallOutcome')
               for m in matches]
        traced = [line for line, mine in zip(lines, own) if not mine]
        expected = trace_lines(stderr)
        self.assertEqual(len(traced), len(expected), (traced[-5:], expected[-5:]))
        for line, (text, cut) in zip(traced, expected):
            text = text.rstrip('\r\n')
            if cut:
                self.assertTrue(line.startswith(text), (line, text))
            else:
                self.assertEqual(line, text)
        self.assertEqual(matches[-1].group(1), 'LogInstallOutcome')
        self.assertEqual(matches[-1].group(2), 'outcome: ' + outcome)
        events = []
        for m in matches:
            if m.group(1) == 'CInstallSession::Apply':
                _, code, value, _ = m.group(2).split(' ', 3)
                self.assertRegex(value, r'^-?\d+\.\d{6}$')
                events.append(int(code))
        return events

    def test_the_support_log_of_an_unattended_install(self):
        self.package_scenario(self.successful_package('Message=你好\r\n'))
        log = os.path.join(self.work, '支持 log.txt')
        with open(log, 'wb') as f:
            f.write(b'earlier run\r\n')
        stderr = self.assert_silent(0, '-log=' + winpath(log))
        events = self.assert_log(log, stderr, 'installed, exit code 0', ['earlier run'])
        for code in (1001, 1003, 2001, 2002, 3009, 2003):
            self.assertIn(code, events)
        self.assertEqual(events[0], 1001)
        self.assertEqual(events[-1], 2003)
        # the package's message, as UTF-8
        self.assertTrue(any(line.endswith(': event 3009 0.000000 你好')
                            for line in self.log_lines(log)))

    def test_the_support_log_of_a_refused_install(self):
        self.serve('681', get_status=404)
        log = os.path.join(self.work, 'support.log')
        stderr = self.assert_silent(20, '-log=' + winpath(log))
        events = self.assert_log(log, stderr, 'the download failed, exit code 20')
        self.assertEqual((events[0], events[-1]), (1001, 1004))

    def test_a_log_that_cannot_be_opened_changes_nothing(self):
        folder = self.default_dir
        for name, path in (('missing folder', os.path.join(self.work, 'missing', 'x.log')),
                           ('a folder', self.work)):
            with self.subTest(name):
                iw.wine('reg', 'delete', KEY, '/f')
                self.package_scenario(self.successful_package())
                stderr = self.assert_silent(0, '-log=' + winpath(path))
                self.assert_records(folder)
                self.assertTrue(trace_lines(stderr))  # the trace still reaches the debugger
                self.assertFalse(os.path.exists(os.path.join(self.work, 'missing')))
                self.assertTrue(os.path.isdir(self.work))

    # --- the windowed installer: -instdir and -log ---
    def test_the_window_starts_with_instdir_and_writes_the_support_log(self):
        folder = 'C:\\Tallowmere chosen\\quillmoss'
        self.addCleanup(shutil.rmtree, unix_path('C:\\Tallowmere chosen'), True)
        # the finished window closes itself: the run ends as a user's would, with its outcome
        self.package_scenario(self.successful_package(
            'TopShowDetention=0\r\nFinsihCloseDetention=1500\r\n'))
        log = os.path.join(self.work, 'window.log')
        with self.own_wineserver(), tempfile.TemporaryFile() as err:
            # the copy holds the registry as last saved, which may be older than setUp's
            iw.wine('reg', 'delete', KEY, '/f')
            self.assertIsNone(reg_value('InstallPath'))
            env = dict(self.env, WINEDEBUG=DIAGNOSTICS, WINEPREFIX=os.environ['WINEPREFIX'])
            run = WindowRun(self.exe, '-instdir=' + folder, '-log=' + winpath(log), env=env,
                            stderr=err)
            self.runs.append(run)
            iw.wait_page(run.wait_window(), 0)
            time.sleep(0.5)
            run.press_for_page('customeBtn', 1)
            # nothing typed: the folder box holds the -instdir folder
            run.press_for_page('customeInstallBtn', (2, 3))
            self.assertEqual(run.exit_code(timeout=120), 0)
            err.seek(0)
            stderr = err.read()
            self.assert_records(folder)
        events = self.assert_log(log, stderr, 'installed, exit code 0')
        self.assertEqual((events[0], events[-1]), (1001, 2003))

    # --- the windowed installer for comparison ---
    def test_the_window_needs_a_display(self):
        """The detector of the unattended tests: the windowed installer, started the same way
        without -silent, asks for a window and cannot have one."""
        with self.own_wineserver(), tempfile.TemporaryFile() as err:
            env = dict(self.env, WINEPREFIX=os.environ['WINEPREFIX'],
                       WINEDEBUG='-all,err+winediag,err+x11drv,+pid')
            env.pop('DISPLAY', None)
            proc = subprocess.Popen([iw.WINE_RUN, self.exe], env=env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=err)
            proc.wait(timeout=120)
            err.seek(0)
            stderr = err.read()
        # the installer's own process (Wine's process id of the Windows program) asked
        pids = {m.group(1) for m in WINDOW_DIAGNOSTICS.finditer(stderr.decode())}
        self.assertTrue(pids, stderr)
        self.assertTrue(any('nodrv_CreateWindow' in d for d in window_diagnostics(stderr, None)))


def main():
    global SHOTS
    installer_case.EXE, installer_case.FAKE, SHOTS = (os.path.abspath(a) for a in sys.argv[1:4])
    del sys.argv[1:4]
    # Runs without a display leave the wineserver's desktop without a display driver for a
    # while; this script works on a copy of the prefix with a wineserver of its own, so that
    # the tests after it find the shared one as it was.
    shared = os.environ['WINEPREFIX']
    copy = tempfile.mkdtemp(prefix='unattended-prefix-')
    subprocess.run(['cp', '-a', shared + '/.', copy], check=True)
    os.environ['WINEPREFIX'] = copy
    try:
        subprocess.run([iw.WINE_RUN, 'wineboot'], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        passed = unittest.main(verbosity=2, exit=False).result.wasSuccessful()
    finally:
        subprocess.run([os.environ['WINESERVER'], '-k'])
        shutil.rmtree(copy, ignore_errors=True)
    sys.exit(0 if passed else 1)


if __name__ == '__main__':
    main()
