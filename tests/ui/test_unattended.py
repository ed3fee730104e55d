"""RavellInstaller.exe without its window: "-silent=true" run under Wine with no display at
all, against the download service on loopback and the fake package run for real, for every
exit code of the unattended run; "-instdir" and the support log "-log" in both modes.

A Windows process that creates a window needs Wine's display driver, which cannot start
without a display: the unattended runs get no DISPLAY, and their Wine diagnostics (display
driver and window errors) must stay silent, as they do not for the windowed installer started
the same way.

usage: test_unattended.py RAVELL_INSTALLER_EXE FAKE_PACKAGE_EXE SCREENSHOT_DIR
"""
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
from installer_window import Installer, Scenario, winpath, unix_path  # noqa: E402
from download_service import DownloadService  # noqa: E402
from ini_file import read_ini  # noqa: E402

EXE = FAKE = SHOTS = None
KEY = 'HKCU\\Software\\RavellSoft\\quillmoss'
# What Wine prints when a program wants a window it cannot have (no display).
WINDOW_DIAGNOSTICS = re.compile(r"nodrv_CreateWindow|Can't open display|no driver could be loaded")
TRACE = re.compile(r'^<P\d{5,}><T\d{5,}><\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}>\(([^)]*)\)<\d{4,}>: (.*)$',
                   re.S)
# Wine shows each debugger output string on its "seh" channel, long ones cut and ending in "...
DEBUGSTR = re.compile(r'^[0-9a-f]+:warn:seh:OutputDebugStringA (".*")(\.\.\.)?$')


def reg_value(name):
    out = iw.wine(os.path.join(os.path.dirname(EXE), 'installer-cli.exe'), 'records')
    for line in out.stdout.decode('utf-8').splitlines():
        if line.startswith(name + '='):
            return line.split('=', 1)[1] or None
    return None


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


def trace_lines(stderr):
    """The trace lines the program wrote to the debugger output, in order: (text, cut)."""
    lines = []
    for raw in stderr.decode('utf-8', 'replace').splitlines():
        m = DEBUGSTR.match(raw)
        if m:
            lines.append((decode_debugstr(m.group(1)), bool(m.group(2))))
    return lines


class UnattendedTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.service = DownloadService().start()
        with open(FAKE, 'rb') as f:
            cls.package = f.read()

    @classmethod
    def tearDownClass(cls):
        cls.service.stop()

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix='silent-')
        self.scenarios = os.path.join(self.work, 'scenarios')
        os.makedirs(self.scenarios)
        self.env = dict(os.environ, FAKE_SCENARIO_DIR=winpath(self.scenarios))
        self.service.reset_stats()
        iw.wine('reg', 'delete', KEY, '/f')
        self.bin = os.path.join(self.work, 'Downloads')
        os.makedirs(self.bin)
        self.exe = os.path.join(self.bin, 'RavellInstaller.exe')
        shutil.copy(EXE, self.exe)
        self.runs = []
        self.serve('681')
        self.configure(DownloadUrl=self.service.url('681'), IsCheckNet='false')
        self.default_dir = reg_value('DefaultInstallDir')
        shutil.rmtree(unix_path(self.default_dir), ignore_errors=True)

    def tearDown(self):
        for run in self.runs:
            run.kill()
        shutil.rmtree(self.work, ignore_errors=True)
        shutil.rmtree(unix_path(self.default_dir), ignore_errors=True)

    # --- the setting ---
    def configure(self, **values):
        with open(os.path.join(self.bin, 'RavellInstallerConfig.ini'), 'w') as f:
            f.write('[Install]\n' + ''.join('%s=%s\n' % kv for kv in values.items()))

    def serve(self, file_id, **options):
        self.service.add(file_id, name='%s.exe' % file_id, data=self.package, **options)

    def package_scenario(self, scenario):
        with open(os.path.join(self.scenarios, '__Package_quillmoss.exe.scenario'), 'w',
                  encoding='utf-8') as f:
            f.write(scenario.text())

    def successful_package(self, extra=''):
        return (Scenario().out('Encode=UTF8\r\nProgress=0.3\r\n').sleep(100)
                .copyself('{instdir}\\uninst.ep').out(extra + 'Progress=1\r\nState=Success\r\n'))

    def silent(self, *args, timeout=180, prefix=()):
        """Runs the installer with -silent=true and no display; (exit code, stderr)."""
        env = dict(self.env)
        env.pop('DISPLAY', None)
        env['WINEDEBUG'] = '-all,err+winediag,err+x11drv,warn+seh'
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            proc = subprocess.run([*prefix, iw.WINE_RUN, self.exe, '-silent=true', *args],
                                  stdin=subprocess.DEVNULL, stdout=out, stderr=err, env=env,
                                  timeout=timeout)
            err.seek(0)
            stderr = err.read()
        code = proc.returncode - 256 if proc.returncode > 127 else proc.returncode
        return code, stderr

    def assert_silent(self, expected, *args, **kw):
        code, stderr = self.silent(*args, **kw)
        self.assertEqual(code, expected, stderr.decode('utf-8', 'replace')[-3000:])
        self.assertIsNone(WINDOW_DIAGNOSTICS.search(stderr.decode('utf-8', 'replace')))
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
        shutil.copy(FAKE, program)
        with open(program + '.scenario', 'w') as f:
            f.write(Scenario().sleep(60000).text())
        running = subprocess.Popen([iw.WINE_RUN, program], stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def stop():
            running.kill()
            running.wait()
            iw.wine('taskkill', '/f', '/im', name)
        self.addCleanup(stop)
        iw.wait_for(lambda: name in iw.wine('tasklist').stdout.decode('utf-8', 'replace'), 30,
                    name + ' running')
        return program

    def previous_install(self, uninstaller_scenario):
        """An earlier version recorded in the registry, with its uninstaller in its folder."""
        folder = 'C:\\Tallowmere old'
        shutil.rmtree(unix_path(folder), ignore_errors=True)
        os.makedirs(unix_path(folder))
        shutil.copy(FAKE, os.path.join(unix_path(folder), 'uninst.ep'))
        with open(os.path.join(self.scenarios, 'quillmoss_un_asa.exe.scenario'), 'w') as f:
            f.write(uninstaller_scenario.text())
        iw.wine('reg', 'add', KEY, '/v', 'InstallPath', '/t', 'REG_SZ', '/d', folder, '/f')
        iw.wine('reg', 'add', KEY, '/v', 'UnInstallEp', '/t', 'REG_SZ', '/d',
                folder + '\\uninst.ep', '/f')
        self.addCleanup(shutil.rmtree, unix_path(folder), True)
        return folder

    # --- 0: installed ---
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
        self.configure(DownloadUrl=self.service.url('681'), IsCheckNet='true')
        # a network namespace of its own: no interface but an unconfigured loopback
        self.assert_silent(13, prefix=('unshare', '--net'))
        self.assertEqual(self.service.gets(), [])
        # and without the check the same machine gets as far as the download
        self.configure(DownloadUrl=self.service.url('681'), IsCheckNet='false')
        self.assert_silent(20, prefix=('unshare', '--net'))

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

    # --- the windowed installer for comparison ---
    def test_the_window_needs_a_display(self):
        """The detector of the unattended tests: the windowed installer, started the same way
        without -silent, asks for a window and cannot have one."""
        env = dict(self.env)
        env.pop('DISPLAY', None)
        env['WINEDEBUG'] = '-all,err+winediag,err+x11drv'
        with tempfile.TemporaryFile() as err:
            subprocess.run([iw.WINE_RUN, self.exe], env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=err, timeout=120)
            err.seek(0)
            self.assertIsNotNone(WINDOW_DIAGNOSTICS.search(err.read().decode('utf-8', 'replace')))


def main():
    global EXE, FAKE, SHOTS
    EXE, FAKE, SHOTS = (os.path.abspath(a) for a in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)


if __name__ == '__main__':
    main()
