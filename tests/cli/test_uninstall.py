"""Silent removal of an older version through `installer-cli.exe uninstall`, with the fake
package in the role of the old uninstaller."""
import os
import shutil
import sys
import tempfile
import unittest

import cli_harness
from cli_harness import CliDir, FakeProgram, Scenario, parse_events, winpath

FAKE = None
MISSING = '可执行卸载文件不存在'
FAILED = '安装包卸载失败'


class UninstallTest(unittest.TestCase):
    def setUp(self):
        self.cli = CliDir()
        self.work = tempfile.mkdtemp(prefix='un-')

    def tearDown(self):
        self.cli.close()
        shutil.rmtree(self.work, ignore_errors=True)

    def uninstaller(self, scenario, folder):
        return FakeProgram(FAKE, os.path.join(self.work, folder), 'quillmoss_un_asa.exe',
                           scenario)

    def uninstall(self, path, folder='C:\\Program Files\\Q'):
        code, out, err = self.cli.run('uninstall', path, folder)
        return code, parse_events(out)

    def test_protocol(self):
        cases = [
            ('nothing written', Scenario().exit(7), [(5002, '0', ''), (5003, '1', '')], 0),
            ('progress then success',
             Scenario().out('Progress=0.5\r\nMessage=ignored\r\n').sleep(200)
             .out('State=Success\r\n'),
             [(5002, '0', ''), (5002, '0.5', ''), (5003, '0', '')], 0),
            ('success then failure in a later chunk',
             Scenario().out('State=Success\r\n').sleep(300).out('State=Fail\r\n'),
             [(5002, '0', ''), (5003, '0', ''), (5005, '0', FAILED)], 1),
            ('error line',
             Scenario().out('Encode=UTF8\r\n').sleep(200).out('Error=文件被占用\r\n'),
             [(5002, '0', ''), (5005, '0', '文件被占用')], 1),
            ('lower-case success is ignored', Scenario().out('State=success\r\n'),
             [(5002, '0', ''), (5003, '1', '')], 0),
            ('failure written just before exiting is not lost',
             Scenario().out('State=Fail\r\n').exit(0),
             [(5002, '0', ''), (5005, '0', FAILED)], 1),
            ('exit code 259 ends the uninstall', Scenario().out('Progress=0.5\r\n').exit(259),
             [(5002, '0', ''), (5002, '0.5', ''), (5003, '1', '')], 0),
            ('State=Fail straddling byte 1024 of one write',
             Scenario().out('Message=' + 'x' * 1008 + '\r\nState=Fail\r\n').exit(0),
             [(5002, '0', ''), (5005, '0', FAILED)], 1),
            ('text-mode line ends', Scenario().out('Error=locked\r\r\n'),
             [(5002, '0', ''), (5005, '0', 'locked')], 1),
        ]
        for name, scenario, events, exit_code in cases:
            with self.subTest(name):
                un = self.uninstaller(scenario, name)
                code, got = self.uninstall(un.win)
                self.assertEqual(got, events)
                self.assertEqual(code, exit_code)

    def test_only_utf8_encoding_is_recognised(self):
        text = 'Error=测试\r\n'
        utf8 = self.uninstaller(Scenario().out('Encode=UTF8\r\n').sleep(300).out(text), 'utf8')
        self.assertEqual(self.uninstall(utf8.win)[1][-1], (5005, '0', '测试'))
        gbk = self.uninstaller(Scenario().out('Encode=936\r\n').sleep(300).out(text, 'gbk'), 'gbk')
        last = self.uninstall(gbk.win)[1][-1]
        self.assertEqual(last[0], 5005)
        self.assertNotEqual(last[2], '测试')

    def test_missing_and_unstartable(self):
        code, events = self.uninstall(winpath(os.path.join(self.work, 'gone.exe')))
        self.assertEqual((code, events), (1, [(5004, '1', MISSING)]))
        bad = os.path.join(self.work, 'bad.exe')
        with open(bad, 'w') as f:
            f.write('not a program')
        code, events = self.uninstall(winpath(bad))
        self.assertEqual((code, events), (1, [(5002, '0', ''), (5004, '2', '')]))

    def test_uninstaller_path_with_spaces_runs(self):
        un = self.uninstaller(Scenario().out('State=Success\r\n'), 'old 测试 dir')
        self.assertEqual(self.uninstall(un.win), (0, [(5002, '0', ''), (5003, '0', '')]))

    def test_command_line_without_quotes(self):
        # (Wine puts quotes around an unquoted program path that holds spaces before the
        # child sees it, so the byte-exact check uses a path without spaces.)
        info = dict(self.cli.fields('sysinfo'))
        un = self.uninstaller(Scenario().out('State=Success\r\n'), 'old测试dir')
        folder = 'C:\\Program Files\\测试 安装'
        code, events = self.uninstall(un.win, folder)
        self.assertEqual(code, 0)
        self.assertEqual(un.received_command_line(),
                         '%s /S -adminact=%s -authorizationact=%s -console=show _?=%s'
                         % (un.win, info['IsAdminAccount'], info['IsProcessAdmin'], folder))


if __name__ == '__main__':
    FAKE = os.path.abspath(sys.argv.pop(2))
    cli_harness.main()
