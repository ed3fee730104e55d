"""One pipeline start through `installer-cli.exe pipeline`: uninstall, download, install, and
the records written, with the fake package served by the download service and run for real."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import cli_harness
from cli_harness import CliDir, FakeProgram, Scenario, parse_events, winpath

sys.path.insert(0, os.path.join(cli_harness.ROOT, 'tools'))
from download_service import DownloadService  # noqa: E402
from ini_file import read_ini  # noqa: E402
from wine_programs import unix_path  # noqa: E402

FAKE = None


class PipelineTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.service = DownloadService().start()
        with open(FAKE, 'rb') as f:
            cls.package = f.read()

    @classmethod
    def tearDownClass(cls):
        cls.service.stop()

    def setUp(self):
        self.cli = CliDir()
        self.work = tempfile.mkdtemp(prefix='pipe-')
        self.scenarios = os.path.join(self.work, 'scenarios')
        os.makedirs(self.scenarios)
        os.environ['FAKE_SCENARIO_DIR'] = winpath(self.scenarios)
        self.folder = os.path.join(self.work, 'Tallowmere 测试')
        self.service.reset_stats()
        cli_harness.wine('reg', 'delete', 'HKCU\\Software\\RavellSoft\\quillmoss', '/f')

    def tearDown(self):
        self.cli.close()
        shutil.rmtree(self.work, ignore_errors=True)

    def scenario(self, name, scenario):
        with open(os.path.join(self.scenarios, name + '.scenario'), 'w') as f:
            f.write(self.fill(scenario))

    def fill(self, scenario):
        # {dir} in 'out' lines stands for the install folder (written as UTF-8 hex)
        lines = []
        for line in scenario.lines:
            if line.startswith('out '):
                data = bytes.fromhex(line[4:]).decode('utf-8').replace('{dir}', winpath(self.folder))
                line = 'out ' + data.encode('utf-8').hex()
            lines.append(line)
        return '\n'.join(lines) + '\n'

    def serve(self, file_id, **options):
        self.service.add(file_id, name=file_id + '.exe', data=self.package, **options)
        return self.service.url(file_id)

    def pipeline(self, url, *options):
        code, out, err = self.cli.run('pipeline', '--url', url, '--folder', winpath(self.folder),
                                      *options)
        return code, parse_events(out)

    def records(self):
        return dict(self.cli.fields('records'))

    def test_fresh_install_writes_records(self):
        self.scenario('__Package_quillmoss.exe', Scenario().out('Encode=UTF8\r\n').sleep(100)
                      .copyself('{instdir}\\quillmoss.exe').copyself('{instdir}\\uninst.ep')
                      .out('InstPath={dir}\r\nExePath={dir}\\quillmoss.exe\r\n'
                           'UninstEp={dir}\\uninst.ep\r\nState=Success\r\n'))
        code, events = self.pipeline(self.serve('fresh'))
        self.assertEqual(code, 0, events)
        codes = [e[0] for e in events if e[0] != 1002]
        self.assertEqual(codes, [1001, 1003, 2001, 2002, 3000, 3001, 3003, 2003])
        self.assertFalse(os.path.exists(os.path.join(self.folder, '__Package_quillmoss.exe')))
        self.assertTrue(os.path.isfile(os.path.join(self.folder, 'quillmoss.exe')))
        rec = self.records()
        self.assertEqual(rec['InstallPath'], winpath(self.folder))
        self.assertEqual(rec['UnInstallEp'], winpath(self.folder) + '\\uninst.ep')
        self.assertEqual(rec['DefaultInstallDir'], winpath(self.folder))
        ini = read_ini(os.path.join(self.folder, 'set.ini'))
        self.assertEqual(ini['Install']['APPStore'], 'installer-cli.exe')
        self.assertEqual(ini['Install']['AppName'], 'quillmoss')
        self.assertRegex(ini['Install']['DeviceID'], '^[0-9A-F]{12}[0-9a-f]{4}[0-9A-F]{16}$')
        self.assertTrue(ini['Install']['RVSensorsAnalyticsIni'].endswith(
            '\\RavellData\\quillmoss\\RVSensorsAnalytics.ini'))

    def test_text_mode_line_ends_leave_no_carriage_return_in_the_records(self):
        # A package written in C printing "\r\n" in text mode sends "\r\r\n".
        self.scenario('__Package_quillmoss.exe', Scenario()
                      .out('Encode=UTF8\r\r\n').sleep(100)
                      .copyself('{instdir}\\uninst.ep')
                      .out('InstPath={dir}\r\r\nUninstEp={dir}\\uninst.ep\r\r\n'
                           'State=Success\r\r\n'))
        code, events = self.pipeline(self.serve('textmode'))
        self.assertEqual(code, 0, events)
        self.assertIn((3000, '0', winpath(self.folder)), events)
        rec = self.records()  # the tool refuses output holding a carriage return
        self.assertEqual(rec['InstallPath'], winpath(self.folder))
        self.assertEqual(rec['UnInstallEp'], winpath(self.folder) + '\\uninst.ep')
        for name in ('set.ini',):
            with open(os.path.join(self.folder, name), 'rb') as f:
                data = f.read()
            text = data.decode('utf-16') if data[:2] == b'\xff\xfe' else data.decode('latin-1')
            self.assertNotIn('\r\r', text)
            for line in text.split('\n')[:-1]:
                self.assertFalse(line.rstrip('\r').endswith('\r'), line)

    def test_destroyed_during_the_uninstall(self):
        old = FakeProgram(FAKE, os.path.join(self.work, 'old'), 'uninst.ep')
        self.scenario('quillmoss_un_asa.exe',
                      Scenario().out('Progress=0.5\r\n').sleep(3000).out('State=Success\r\n'))
        self.scenario('__Package_quillmoss.exe', Scenario().out('State=Success\r\n'))
        code, out, err = self.cli.run('pipeline', '--url', self.serve('destroyed'), '--folder',
                                      winpath(self.folder), '--old-uninstaller', old.win,
                                      '--destroy-after', '1000')
        lines = out.split('\n')[:-1]
        self.assertEqual(code, 3, out)
        # destruction waited for the uninstaller; its success reached nobody and started
        # no download
        self.assertEqual(lines[-1], 'destroyed')
        self.assertEqual([l.split(' ')[0] for l in lines[:-1]], ['5002', '5002'])
        self.assertEqual(self.service.gets('destroyed.exe'), [])

    def test_no_uninstaller_file_means_no_uninstall_record(self):
        self.scenario('__Package_quillmoss.exe', Scenario().out('State=Success\r\n'))
        code, events = self.pipeline(self.serve('nouninst'))
        self.assertEqual(code, 0, events)
        rec = self.records()
        self.assertEqual((rec['InstallPath'], rec['UnInstallEp']), (winpath(self.folder), ''))

    def test_upgrade_runs_old_uninstaller_first(self):
        old = FakeProgram(FAKE, os.path.join(self.work, 'old'), 'uninst.ep')
        self.scenario('quillmoss_un_asa.exe', Scenario().out('Progress=0.5\r\nState=Success\r\n'))
        self.scenario('__Package_quillmoss.exe', Scenario().out('State=Success\r\n'))
        # The copy's command line names it unquoted ("C:\\Program Files (x86)\\..."): a program
        # at "C:\\Program.exe" must not be what runs.
        drive_c = unix_path('C:\\')
        trap = FakeProgram(FAKE, drive_c, 'Program.exe')
        try:
            code, events = self.pipeline(self.serve('upgrade'), '--old-uninstaller', old.win)
        finally:
            for leftover in (trap.path, trap.path + '.cmdline'):
                if os.path.exists(leftover):
                    os.remove(leftover)
        self.assertFalse(os.path.exists(os.path.join(self.scenarios, 'Program.exe.cmdline')))
        self.assertEqual(code, 0, events)
        codes = [e[0] for e in events if e[0] != 1002]
        self.assertEqual(codes, [5002, 5002, 5003, 1001, 1003, 2001, 2002, 2003])
        # a copy ran, told to remove the old folder; it ran from a folder of its own with an
        # unpredictable name (this process is elevated: under Program Files, which only
        # administrators can write), and that folder is gone afterwards
        with open(os.path.join(self.scenarios, 'quillmoss_un_asa.exe.cmdline'), 'rb') as f:
            line = f.read().decode('utf-16-le')
        self.assertTrue(line.endswith(' -console=show _?=' + winpath(os.path.dirname(old.path))),
                        line)
        copy = line.split(' /S ')[0].strip('"')
        folder, name = copy.rsplit('\\', 1)
        parent, random_name = folder.rsplit('\\', 1)
        self.assertEqual(name, 'quillmoss_un_asa.exe')
        self.assertRegex(random_name, '^[0-9A-F]{16}$')
        self.assertTrue(parent.endswith('\\RavellSoft\\Temp'), parent)
        self.assertIn('Program Files', parent)
        host_folder = unix_path(folder)
        self.assertTrue(host_folder and not os.path.exists(host_folder), host_folder)

    def test_running_package_cannot_be_changed(self):
        # The package tries what another program could do while it runs: write or delete it.
        result = os.path.join(self.work, 'tamper.txt')
        self.scenario('__Package_quillmoss.exe',
                      Scenario().tamper('{instdir}\\__Package_quillmoss.exe', winpath(result))
                      .out('State=Success\r\n'))
        code, events = self.pipeline(self.serve('tamper'))
        self.assertEqual(code, 0, events)
        with open(result) as f:
            self.assertEqual(f.read(), 'denied')

    def test_uninstall_failure_stops_the_chain(self):
        old = FakeProgram(FAKE, os.path.join(self.work, 'old'), 'uninst.ep')
        self.scenario('quillmoss_un_asa.exe', Scenario().out('State=Fail\r\n'))
        code, events = self.pipeline(self.serve('unfail'), '--old-uninstaller', old.win)
        self.assertEqual(code, 1)
        self.assertEqual(events[-1], (5005, '0', '安装包卸载失败'))
        self.assertEqual(self.service.gets('unfail.exe'), [])

    def test_override_false_in_previous_folder_skips_uninstall(self):
        os.makedirs(self.folder)
        FakeProgram(FAKE, self.folder, 'uninst.ep')
        with open(os.path.join(self.folder, 'set.ini'), 'w') as f:
            f.write('[Uninstall]\r\nIsOverride=false\r\n')
        cli_harness.wine('reg', 'add', 'HKCU\\Software\\RavellSoft\\quillmoss', '/v', 'InstallPath',
                         '/d', winpath(self.folder), '/f')
        self.scenario('quillmoss_un_asa.exe', Scenario().out('State=Fail\r\n'))
        self.scenario('__Package_quillmoss.exe', Scenario().out('State=Success\r\n'))
        code, events = self.pipeline(self.serve('override'), '--old-uninstaller',
                                     winpath(os.path.join(self.folder, 'uninst.ep')))
        self.assertEqual(code, 0, events)
        self.assertNotIn(5002, [e[0] for e in events])

    def test_failures_delete_the_package(self):
        self.scenario('__Package_quillmoss.exe', Scenario().out('State=Fail\r\n').sleep(500))
        code, events = self.pipeline(self.serve('instfail'))
        self.assertEqual((code, events[-1]), (1, (2004, '0', '安装包安装失败')))
        self.assertFalse(os.path.exists(os.path.join(self.folder, '__Package_quillmoss.exe')))
        code, events = self.pipeline(self.serve('dlfail', status=404))
        self.assertEqual(code, 1)
        self.assertEqual(events[-1][0], 1004)
        self.assertNotIn('__Package_quillmoss.exe', os.listdir(self.folder))

    def test_second_start_reuses_first_package_path(self):
        self.scenario('__Package_quillmoss.exe', Scenario().out('State=Success\r\n'))
        # the six attempts of the first start fail; the service recovers before the retry
        self.service.add('again', name='again.exe', data=self.package, get_status=500,
                         get_status_times=6)
        second = os.path.join(self.work, 'second')
        proc = subprocess.Popen([cli_harness.WINE_RUN, self.cli.exe, 'pipeline', '--url',
                                 self.service.url('again'), '--folder', winpath(self.folder),
                                 '--retry-folder', winpath(second)],
                                stdout=subprocess.PIPE)
        out = proc.communicate(timeout=300)[0].decode('utf-8')
        events = parse_events(out)
        self.assertEqual(proc.returncode, 0, events)
        self.assertIn(1004, [e[0] for e in events])
        self.assertEqual(events[-1], (2003, '0', ''))
        cmdline = os.path.join(self.folder, '__Package_quillmoss.exe.cmdline')
        with open(cmdline, 'rb') as f:
            self.assertTrue(f.read().decode('utf-16-le').startswith(
                '"%s\\__Package_quillmoss.exe"' % winpath(self.folder)))
        self.assertFalse(os.path.exists(os.path.join(second, '__Package_quillmoss.exe')))

    def test_download_type_selects_downloader(self):
        self.scenario('__Package_quillmoss.exe', Scenario().out('State=Success\r\n'))
        for dl_type, text, ranged in [(0, 'LibCurl', False), (1, 'LibCurl', False),
                                      (4, 'LibCurl', False), (-1, 'LibCurl', False),
                                      (2, 'WinHttp', False), (3, 'LibCurl', True)]:
            with self.subTest(dl_type):
                fid = 'type%d' % dl_type
                code, events = self.pipeline(self.serve(fid), '-downloadtype=%d' % dl_type)
                self.assertEqual(code, 0, events)
                self.assertIn((1003, '0', text), events)
                gets = self.service.gets(fid + '.exe')
                self.assertEqual(all(g[2] for g in gets) and len(gets) > 0, ranged, gets)

    def test_insnew_waits_for_running_product(self):
        running = FakeProgram(FAKE, os.path.join(self.work, 'run'), 'quillmoss.exe',
                              Scenario().sleep(4000))
        old = FakeProgram(FAKE, os.path.join(self.work, 'old'), 'uninst.ep')
        self.scenario('quillmoss_un_asa.exe', Scenario().out('State=Success\r\n'))
        self.scenario('__Package_quillmoss.exe', Scenario().out('State=Success\r\n'))
        product = subprocess.Popen([cli_harness.WINE_RUN, running.path])
        time.sleep(1.5)
        began = time.monotonic()
        code, events = self.pipeline(self.serve('insnew'), '--old-uninstaller', old.win,
                                     '--insnew=true')
        elapsed = time.monotonic() - began
        product.wait(timeout=60)
        self.assertEqual(code, 0, events)
        self.assertGreater(elapsed, 1.5)
        self.assertEqual(events[0][0], 5002)


if __name__ == '__main__':
    FAKE = os.path.abspath(sys.argv.pop(2))
    cli_harness.main()
