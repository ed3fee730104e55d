"""The real RavellInstaller.exe under Wine and Xvfb, driven with the mouse and the keyboard
(xdotool), against the download service on loopback and the fake package run for real:
quick and custom installs, the failures and their prompts, the update question, the checks
before an install, one installer at a time, and closing.

usage: test_main_window.py RAVELL_INSTALLER_EXE FAKE_PACKAGE_EXE SCREENSHOT_DIR PLANTED_DLL_DIR
                           LOAD_BY_NAME_EXE
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import installer_window as iw  # noqa: E402
import installer_case  # noqa: E402
from installer_case import reg_value  # noqa: E402
from installer_window import Installer, Scenario, winpath  # noqa: E402
from ini_file import read_ini  # noqa: E402
from installer_window import unix_path  # noqa: E402

SHOTS = PLANTED = LOAD_BY_NAME = None


class MainWindowTest(installer_case.InstallerCase):
    def successful_package(self, wait_ms=0):
        s = Scenario().out('Encode=UTF8\r\n')
        for p in (0.1, 0.5):
            s.out('Progress=%g\r\n' % p).sleep(100 + wait_ms // 2)
        s.copyself('{instdir}\\uninst.ep')
        return s.out('Progress=1\r\nState=Success\r\n')

    def start(self, *args):
        run = Installer(self.exe, *args, env=self.env)
        self.runs.append(run)
        iw.wait_page(run.wait_window(), 0)  # painted and taking input
        time.sleep(0.5)
        return run

    def shot(self, window, name):
        return window.screenshot(os.path.join(SHOTS, name + '.png'))

    def wait_record(self, timeout=90):
        return iw.wait_for(lambda: reg_value('InstallPath'), timeout, 'the registry record')

    def assert_records(self, folder):
        self.assertEqual(reg_value('InstallPath'), folder)
        self.assertEqual(reg_value('UnInstallEp'), folder + '\\uninst.ep')
        set_ini = read_ini(os.path.join(unix_path(folder), 'set.ini'))
        self.assertEqual(set_ini['Install']['AppName'], 'quillmoss')
        self.assertEqual(set_ini['Install']['APPStore'], 'RavellInstaller.exe')
        self.assertTrue(os.path.exists(unix_path(set_ini['Install']['RVSensorsAnalyticsIni'])))

    # --- installs ---
    def test_quick_install_reaches_the_finished_page_and_records_it(self):
        self.package_scenario(self.successful_package(wait_ms=3000))
        run = self.start()
        w = run.window
        iw.wait_page(w, 0)
        self.shot(w, 'main-page-0')
        run.press_for_page('defaultInstallBtn', 2)
        self.shot(w, 'main-page-2')
        # no way out while installing: Alt+F4 is ignored, and no exit question comes
        iw.key('alt+F4')
        self.assertTrue(run.no_prompt())
        self.assertTrue(run.running())
        folder = self.wait_record()
        iw.wait_page(w, 3, timeout=30)
        self.shot(w, 'main-page-3')
        self.assert_records(folder)
        self.assertEqual(folder, self.default_folder())
        # on the finished page the close button closes at once
        self.assertEqual(run.press_for_exit('closebtn'), 0)

    def test_dlls_planted_next_to_the_installer_are_never_loaded(self):
        # DLLs named like the system DLLs the installer uses sit in its Downloads folder, and
        # Wine is told to prefer such native DLLs; each leaves a marker if it is ever loaded.
        markers = os.path.join(self.work, 'markers')
        os.makedirs(markers)
        names = sorted(f for f in os.listdir(PLANTED) if f.endswith('.dll'))
        self.assertIn('winhttp.dll', names)
        for name in names:
            shutil.copy(os.path.join(PLANTED, name), self.bin)
        overrides = ';'.join('%s=n,b' % n[:-4] for n in names)
        self.env = dict(self.env, PLANTED_MARKER_DIR=winpath(markers),
                        WINEDLLOVERRIDES=os.environ.get('WINEDLLOVERRIDES', '') + ';' + overrides)
        # The control: a program in the same folder loading them by bare name loads them all.
        control = os.path.join(self.bin, 'load-by-name.exe')
        shutil.copy(LOAD_BY_NAME, control)
        subprocess.run([iw.WINE_RUN, control, *names], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        self.assertEqual(sorted(os.listdir(markers)), [n + '.loaded' for n in names])
        os.remove(control)
        for marker in os.listdir(markers):
            os.remove(os.path.join(markers, marker))
        # Wine's own gdi32 imports version.dll, and Wine's loader looks for it in the program's
        # folder first, before any code of the program runs: a program importing nothing but
        # gdi32 and user32 loads a planted version.dll too. (On Windows gdi32 does not import
        # it, and a known DLL's imports come from the system folder.) It is left out here.
        os.remove(os.path.join(self.bin, 'version.dll'))
        # A whole install: window, download, package, records, finished page.
        self.package_scenario(self.successful_package())
        run = self.start()
        run.press_for_page('defaultInstallBtn', (2, 3))
        self.wait_record()
        iw.wait_page(run.window, 3, timeout=30)
        self.assertEqual(run.press_for_exit('closebtn'), 0)
        self.assertEqual(os.listdir(markers), [])

    def test_the_package_starts_the_product_and_closes_the_finished_installer(self):
        folder = self.default_folder()
        marker = os.path.join(self.work, 'product-started')
        with open(os.path.join(self.scenarios, 'quillmoss.exe.scenario'), 'w') as f:
            f.write(Scenario().file(winpath(marker), b'yes').text())
        self.package_scenario(
            Scenario().out('Encode=UTF8\r\nProgress=0.5\r\n').copyself('{instdir}\\uninst.ep')
            .copyself('{instdir}\\quillmoss.exe')
            .out('ExePath=%s\\quillmoss.exe\r\nStartupStyle=AutoStartup\r\nTopShowDetention=0\r\n'
                 'FinsihCloseDetention=2000\r\nState=Success\r\n' % folder))
        run = self.start()
        run.press_for_page('defaultInstallBtn', (2, 3))
        # the finished page launches the product, and the close timer ends the installer
        self.assertEqual(run.exit_code(timeout=90), 0)
        self.assert_records(folder)
        iw.wait_for(lambda: os.path.exists(marker), 20, 'the product started')

    def test_custom_install_into_a_typed_folder(self):
        # with the connectivity check on (Wine's network list reports a connection)
        self.configure(DownloadUrl=self.service.url('681'), IsCheckNet='true')
        self.package_scenario(self.successful_package())
        folder = 'C:\\Program Files\\泰罗 Mere\\quillmoss'
        run = self.start()
        w = run.window
        run.press_for_page('customeBtn', 1)
        run.press('installDirEdit')
        iw.key('End')
        iw.key('shift+Home')
        iw.type_text(folder)
        self.shot(w, 'main-page-1')
        run.press_for_page('customeInstallBtn', (2, 3))
        self.assertEqual(self.wait_record(), folder)
        iw.wait_page(w, 3, timeout=30)
        self.assert_records(folder)
        self.assertEqual(run.press_for_exit('closebtn'), 0)
        shutil.rmtree(unix_path('C:\\Program Files\\泰罗 Mere'), ignore_errors=True)

    # --- failures ---
    def test_download_failure_asks_and_reinstall_succeeds(self):
        self.package_scenario(self.successful_package())
        self.serve('681', get_status=404)
        run = self.start()
        run.press_for_page('defaultInstallBtn', 2)
        prompt = run.wait_prompt('NetworkTipWnd.xml', timeout=90)
        self.shot(prompt, 'prompt-download-failed')
        self.serve('681')  # the network is back
        prompt.press('okBtn')  # "重新安装"
        self.wait_record()
        iw.wait_page(run.window, 3, timeout=30)
        self.assertEqual(run.press_for_exit('closebtn'), 0)

    def test_package_failure_shows_its_text_and_returns_to_page_0(self):
        self.package_scenario(Scenario().out('Encode=UTF8\r\nProgress=0.3\r\n').sleep(200)
                              .out('Error=磁盘写入失败\r\n'))
        run = self.start()
        run.press_for_page('customeBtn', 1)
        run.press_for_page('customeInstallBtn', 2)
        prompt = run.wait_prompt('MessageBox2Wnd.xml', timeout=60)
        self.shot(prompt, 'prompt-package-failed')
        prompt.press('closebtn')
        iw.wait_page(run.window, 0)  # page 0, not the start page
        self.assertIsNone(reg_value('InstallPath'))
        self.assertTrue(run.running())

    def test_uninstall_failure_prompts_and_closes(self):
        self.previous_install(Scenario().out('Progress=0.5\r\n').sleep(200).out('State=Fail\r\n'),
                             product=True)
        run = Installer(self.exe, env=self.env)
        self.runs.append(run)
        run.wait_prompt('InstalledPathTipWnd.xml').press('okBtn')
        prompt = run.wait_prompt('MessageBox1Wnd.xml', timeout=60)
        self.shot(prompt, 'prompt-uninstall-failed')
        prompt.press('closebtn')
        self.assertEqual(run.exit_code(timeout=30), 0)
        self.assertEqual(self.service.gets(), [])  # nothing was downloaded

    def test_the_update_question(self):
        for answer in ('okBtn', 'cancelBtn', 'closebtn'):
            with self.subTest(answer):
                marker = os.path.join(self.work, 'product-started')
                if os.path.exists(marker):
                    os.remove(marker)
                with open(os.path.join(self.scenarios, 'quillmoss.exe.scenario'), 'w') as f:
                    f.write(Scenario().file(winpath(marker), b'yes').text())
                self.package_scenario(self.successful_package())
                folder = self.previous_install(Scenario().out('Progress=1\r\nState=Success\r\n'),
                                               product=True)
                self.service.reset_stats()
                run = Installer(self.exe, env=self.env)
                self.runs.append(run)
                prompt = run.wait_prompt('InstalledPathTipWnd.xml')
                if answer == 'okBtn':
                    self.shot(prompt, 'prompt-update-question')
                prompt.press(answer)
                if answer == 'okBtn':  # "安装最新版本": the upgrade, old uninstaller first
                    iw.wait_for(lambda: os.path.exists(unix_path(folder + '\\set.ini')), 90,
                                'the upgrade')
                    iw.wait_page(run.wait_window(), 3, timeout=30)
                    self.assertTrue(self.service.gets())
                    self.assertEqual(run.press_for_exit('closebtn'), 0)
                else:  # "打开软件" starts the product; the close button does nothing more
                    self.assertEqual(run.exit_code(timeout=30), 0)
                    time.sleep(1.0)
                    self.assertEqual(os.path.exists(marker), answer == 'cancelBtn')
                    self.assertEqual(self.service.gets(), [])
                self.assertEqual(run.exit_code(timeout=30), 0)

    # --- checks before an install ---
    def test_a_running_product_is_refused_and_the_installer_closes(self):
        product = os.path.join(self.work, 'running', 'quillmoss.exe')
        os.makedirs(os.path.dirname(product))
        shutil.copy(installer_case.FAKE, product)
        with open(product + '.scenario', 'w') as f:
            f.write(Scenario().sleep(30000).text())
        running = subprocess.Popen([iw.WINE_RUN, product], stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            time.sleep(1.5)
            run = self.start()
            prompt = run.press_for_prompt('defaultInstallBtn', 'MessageBox1Wnd.xml')
            self.shot(prompt, 'prompt-product-running')
            prompt.press('closebtn')
            self.assertEqual(run.exit_code(timeout=30), 0)
            self.assertEqual(self.service.gets(), [])
        finally:
            running.kill()
            running.wait()
            iw.wine('taskkill', '/f', '/im', 'quillmoss.exe')

    def test_a_drive_with_less_than_1_gib_free_is_refused(self):
        small = tempfile.mkdtemp(prefix='small-drive-')
        proc = subprocess.run(['mount', '-t', 'tmpfs', '-o', 'size=64m', 'tmpfs', small],
                              capture_output=True)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        drive = os.path.join(os.environ['WINEPREFIX'], 'dosdevices', 'q:')
        if os.path.lexists(drive):
            os.remove(drive)
        os.symlink(small, drive)
        try:
            run = self.start()
            run.press_for_page('customeBtn', 1)
            run.press('installDirEdit')
            iw.key('End')
            iw.key('shift+Home')
            iw.type_text('Q:\\quillmoss')
            prompt = run.press_for_prompt('customeInstallBtn', 'MessageBox2Wnd.xml')
            self.shot(prompt, 'prompt-low-disk-space')
            prompt.press('closebtn')
            iw.wait_page(run.window, 1)  # stays, the button usable again
            run.press_for_prompt('customeInstallBtn', 'MessageBox2Wnd.xml').press('closebtn')
            self.assertEqual(self.service.gets(), [])
        finally:
            for run in self.runs:
                run.kill()
            os.remove(drive)
            subprocess.run(['umount', small])
            shutil.rmtree(small, ignore_errors=True)

    # --- one installer, and closing ---
    def test_a_second_installer_exits_at_once(self):
        first = self.start()
        second = Installer(self.exe, env=self.env)
        self.assertEqual(second.exit_code(timeout=30), -1)
        self.assertEqual([s for s in iw.x_windows() if s[:2] == (600, 400)].__len__(), 1)
        self.assertTrue(first.running())

    def test_the_close_button_asks_on_pages_0_and_1(self):
        run = self.start()
        prompt = run.press_for_prompt('closebtn', 'ExitTipWnd.xml')
        self.shot(prompt, 'prompt-exit-question')
        prompt.press('cancelBtn')  # "否"
        self.assertTrue(run.no_prompt())
        self.assertTrue(run.running())
        run.press_for_page('customeBtn', 1)
        run.press_for_prompt('closebtn', 'ExitTipWnd.xml').press('closebtn')
        self.assertTrue(run.no_prompt())
        self.assertTrue(run.running())
        run.press_for_prompt('closebtn', 'ExitTipWnd.xml').press('okBtn')  # "是"
        self.assertEqual(run.exit_code(timeout=30), 0)

    def default_folder(self):
        return reg_value('DefaultInstallDir')


def main():
    global SHOTS, PLANTED, LOAD_BY_NAME
    installer_case.EXE, installer_case.FAKE, SHOTS, PLANTED, LOAD_BY_NAME = (
        os.path.abspath(a) for a in sys.argv[1:6])
    del sys.argv[1:6]
    unittest.main(verbosity=2)


if __name__ == '__main__':
    main()
