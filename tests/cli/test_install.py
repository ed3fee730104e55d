"""Silent install of a (fake) setup package through `installer-cli.exe install`: real child
processes under Wine, status lines turned into events."""
import os
import shutil
import sys
import tempfile
import unittest

import cli_harness
from cli_harness import CliDir, FakeProgram, Scenario, parse_events, winpath

FAKE = None
START = [(2001, '0', ''), (2002, '0', '')]
FAILED = '安装包安装失败'


class InstallTest(unittest.TestCase):
    def setUp(self):
        self.cli = CliDir()
        self.work = tempfile.mkdtemp(prefix='pkg-')

    def tearDown(self):
        self.cli.close()
        shutil.rmtree(self.work, ignore_errors=True)

    def package(self, scenario, folder='dl 测试', name='__Package_quillmoss.exe'):
        return FakeProgram(FAKE, os.path.join(self.work, folder), name, scenario)

    def install(self, package_path, folder='', *options):
        code, out, err = self.cli.run('install', package_path, folder, '--adminact=false',
                                      '--authorizationact=true', *options)
        return code, parse_events(out)

    def test_protocol(self):
        crlf = '\r\n'
        info = crlf.join([
            'Progress=0.25', 'InstPath=C:\\Q', 'InstallVersion=1.2.3', 'ExePath=C:\\Q\\quillmoss.exe',
            'StartExe=C:\\Q\\s.exe', 'UninstExePath=C:\\Q\\u1.exe', 'UninstExe=C:\\Q\\u2.exe',
            'UninstEp=C:\\Q\\uninst.exe', 'TopShowDetention=-1', 'FinsihCloseDetention=3',
            'StartUrl=http://x/y?a=1', 'StartupStyle=AutoStartup', 'StartupStyle=UserStartup',
            'StartupStyle=autostartup', 'Message=正在安装', ' State=Fail', 'state=Fail',
            'State=Running', 'Progress=0.75']) + crlf
        cases = [
            ('nothing written', Scenario().exit(5), START + [(2003, '1', '')], 0),
            ('status rows then success',
             Scenario().out('Encode=UTF8\r\n').sleep(200).out(info).sleep(200)
             .out('State= Success \r\n'),
             START + [(2002, '0.25', ''), (3000, '0', 'C:\\Q'),
                      (3001, '0', 'C:\\Q\\quillmoss.exe'), (3001, '0', 'C:\\Q\\s.exe'),
                      (3002, '0', 'C:\\Q\\u1.exe'), (3002, '0', 'C:\\Q\\u2.exe'),
                      (3003, '0', 'C:\\Q\\uninst.exe'), (3007, '4294967295', ''),
                      (3008, '3', ''), (3004, '0', 'http://x/y?a=1'), (3005, '1', ''),
                      (3005, '2', ''), (3005, '0', ''), (3009, '0', '正在安装'),
                      (2002, '0.75', ''), (2003, '0', '')], 0),
            ('state fail', Scenario().out('State=Fail\r\n'), START + [(2004, '0', FAILED)], 1),
            ('error line', Scenario().out('Encode=UTF8\r\n').sleep(200)
             .out('Error=磁盘已满\r\n').exit(3),
             START + [(2004, '1000', '磁盘已满')], 1),
            ('several decisive lines in one chunk',
             Scenario().out('State=Success\r\nMessage=m\r\nError=late\r\n'),
             START + [(2003, '0', ''), (3009, '0', 'm'), (2004, '1000', 'late')], 1),
            ('line split across two writes is joined',
             Scenario().out('Message=hel').sleep(300).out('lo\r\nState=Succ').sleep(300)
             .out('ess\r\n'),
             START + [(3009, '0', 'hello'), (2003, '0', '')], 0),
            ('State=Fail straddling byte 1024 of one write',
             Scenario().out('Message=' + 'x' * 1008 + '\r\nState=Fail\r\n').exit(0),
             START + [(3009, '0', 'x' * 1008), (2004, '0', FAILED)], 1),
            ('text-mode line ends', Scenario().out('InstPath=C:\\Q\r\r\nMessage=m\r\r\n'
                                                   'State=Success\r\r\n'),
             START + [(3000, '0', 'C:\\Q'), (3009, '0', 'm'), (2003, '0', '')], 0),
            ('exit code 259 ends the install', Scenario().out('Progress=0.5\r\n').exit(259),
             START + [(2002, '0.5', ''), (2003, '1', '')], 0),
            ('a last line without a line end', Scenario().out('Progress=0.5\r\nState=Fail'),
             START + [(2002, '0.5', ''), (2004, '0', FAILED)], 1),
            ('output after the decisive chunk is not read',
             Scenario().out('State=Success\r\n').sleep(300).out('ExePath=C:\\late.exe\r\n'),
             START + [(2003, '0', '')], 0),
            ('lines without CR', Scenario().out('InstPath=D:\\P\nState=Success'),
             START + [(3000, '0', 'D:\\P'), (2003, '0', '')], 0),
        ]
        for name, scenario, events, exit_code in cases:
            with self.subTest(name):
                pkg = self.package(scenario, folder=name)
                code, got = self.install(pkg.win)
                self.assertEqual(got, events)
                self.assertEqual(code, exit_code)

    def test_encodings(self):
        text = 'Message=测试 安装\r\n'
        cases = [
            ('936', Scenario().out('Encode=936\r\n').sleep(300).out(text, 'gbk'), '测试 安装'),
            ('UTF8', Scenario().out('Encode=UTF8\r\n').sleep(300).out(text), '测试 安装'),
            ('applies from the next chunk only',
             Scenario().out('Encode=UTF8\r\n' + text), None),
            ('ACP after UTF8', Scenario().out('Encode=UTF8\r\n').sleep(300).out('Encode=ACP\r\n')
             .sleep(300).out(text), None),
            ('not a number selects the ANSI code page',
             Scenario().out('Encode=936\r\n').sleep(300).out('Encode=abc\r\n').sleep(300)
             .out(text, 'gbk'), None),
        ]
        for name, scenario, expected in cases:
            with self.subTest(name):
                pkg = self.package(scenario.out('State=Success\r\n'), folder=name)
                code, events = self.install(pkg.win)
                messages = [m for c, _, m in events if c == 3009]
                self.assertEqual(len(messages), 1, events)
                if expected is None:
                    self.assertNotEqual(messages[0], '测试 安装')
                else:
                    self.assertEqual(messages[0], expected)

    def test_chatty_package_cannot_block(self):
        cases = [
            ('megabytes on standard error',
             Scenario().err(8 * 1024 * 1024).out('State=Success\r\n')),
            ('keeps writing after success',
             Scenario().out('State=Success\r\n').sleep(200)
             .outrep(20000, 'Message=' + 'x' * 90 + '\r\n').err(1024 * 1024)),
        ]
        for name, scenario in cases:
            with self.subTest(name):
                pkg = self.package(scenario, folder=name)
                code, events = self.install(pkg.win)
                self.assertEqual(events, START + [(2003, '0', '')])
                self.assertEqual(code, 0)

    def test_package_that_cannot_start(self):
        missing = winpath(os.path.join(self.work, 'none', '__Package_quillmoss.exe'))
        not_a_program = os.path.join(self.work, 'text.exe')
        with open(not_a_program, 'w') as f:
            f.write('plain text\n')
        for path in (missing, winpath(not_a_program)):
            with self.subTest(path):
                code, events = self.install(path)
                self.assertEqual(events, START + [(2004, '2', '')])
                self.assertEqual(code, 1)

    def test_exact_command_lines(self):
        folder = 'C:\\测试 安装\\Tallowmere'
        cases = [
            ('empty folder, language and InstCmd', '', [], [],
             ' /S -console=show -version=1.0.0 -adminact=false -authorizationact=true'
             ' -dsc=true -ssc=false'),
            ('all parts', folder, ['--lang=zh_CN', '--dsc=false', '--ssc=true'],
             ['-instcmd=-from=cli /Q'],
             ' /S -console=show -version=1.0.0 -adminact=false -authorizationact=true'
             ' -dsc=false -ssc=true -inslang="zh_CN" -from=cli /Q'
             ' -instdir="%s" /D=%s' % (folder, folder)),
        ]
        for name, install_dir, flags, config_options, tail in cases:
            with self.subTest(name):
                pkg = self.package(Scenario(), folder=name)
                options = ['--dsc=true', '--ssc=false'] + flags + config_options
                code, events = self.install(pkg.win, install_dir, *options)
                self.assertEqual(code, 0, events)
                self.assertEqual(pkg.received_command_line(), '"%s"%s' % (pkg.win, tail))

    def test_package_installs_into_non_ascii_folder(self):
        target = os.path.join(self.work, '测试 安装')
        scenario = (Scenario().out('Encode=UTF8\r\nProgress=0.5\r\n').sleep(200)
                    .copyself('{instdir}\\quillmoss.exe').file('{instdir}\\uninst.ep', b'ep')
                    .out('InstPath=%s\r\nExePath=%s\\quillmoss.exe\r\nState=Success\r\n'
                         % (winpath(target), winpath(target))))
        pkg = self.package(scenario)
        code, events = self.install(pkg.win, winpath(target))
        self.assertEqual(code, 0)
        self.assertEqual(events[-1], (2003, '0', ''))
        self.assertIn((3001, '0', winpath(target) + '\\quillmoss.exe'), events)
        self.assertTrue(os.path.isfile(os.path.join(target, 'quillmoss.exe')))
        with open(os.path.join(target, 'uninst.ep'), 'rb') as f:
            self.assertEqual(f.read(), b'ep')


if __name__ == '__main__':
    FAKE = os.path.abspath(sys.argv.pop(2))
    cli_harness.main()
