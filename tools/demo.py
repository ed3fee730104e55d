"""The demo: the real installer at work. A download service on loopback serves a demo setup
package (the fake package in its "real install" role); RavellInstaller.exe lies in the
Downloads folder of the demo's own Wine prefix with a "RavellInstallerConfig.ini" that points
it at the service, and runs.

With a display of your own the window is yours to click through. Without one the demo runs
on a virtual screen: it presses "立即安装", waits for the finished page and saves a picture of
every page and prompt it met. The first run on a clean prefix installs afresh; the next one
meets the update question, answers "安装最新版本" and upgrades, the previous version's
uninstaller running first. Afterwards the records written are printed.

usage: demo.py INSTALLER_EXE INSTALLER_CLI FAKE_PACKAGE WORK_DIR [--interactive]
"""
import os
import shutil
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import installer_window as iw  # noqa: E402
from installer_window import unix_path  # noqa: E402
from download_service import DownloadService  # noqa: E402
from fake_scenario import Scenario, winpath  # noqa: E402

KEY = 'HKCU\\Software\\RavellSoft\\quillmoss'


def wine(*args):
    return iw.wine(*args, timeout=600)


def fields(out):
    return dict(line.split('=', 1) for line in out.splitlines() if '=' in line)


def show_file(title, path):
    print('--- %s (%s)' % (title, path))
    try:
        with open(path, 'rb') as f:
            data = f.read()
        text = data.decode('utf-16') if data[:2] in (b'\xff\xfe', b'\xfe\xff') else data.decode('utf-8', 'replace')
        print(text.replace('\r\n', '\n').rstrip())
    except OSError as error:
        print('(not there: %s)' % error.strerror)


def records(cli):
    """The installation records as the maintainers' tool reads them (a fresh prefix may need
    a second try while its services come up)."""
    for _ in range(3):
        proc = wine(cli, 'records')
        found = fields(proc.stdout.decode('utf-8'))
        if 'DefaultInstallDir' in found:
            return found
        time.sleep(2)
    raise SystemExit('installer-cli records failed: %r' % proc.stderr.decode('utf-8', 'replace'))


def update_time(data_dir):
    try:
        with open(unix_path(data_dir + '\\RVSensorsAnalytics.ini'), 'rb') as f:
            return f.read()
    except OSError:
        return None


def write_scenarios(folder, scenarios):
    package = Scenario().out('Encode=UTF8\r\n').sleep(300)
    for p in (0.1, 0.25, 0.5, 0.75):
        package.out('Progress=%g\r\n' % p).sleep(600)
    package.copyself('{instdir}\\quillmoss.exe').copyself('{instdir}\\uninst.ep')
    package.out('Progress=0.9\r\n').sleep(300)
    package.out('InstPath=%s\r\nExePath=%s\\quillmoss.exe\r\nUninstEp=%s\\uninst.ep\r\n'
                'StartupStyle=UserStartup\r\nState=Success\r\n' % (folder, folder, folder))
    uninstaller = Scenario().out('Progress=0.5\r\n').sleep(500).out('Progress=1\r\nState=Success\r\n')
    with open(os.path.join(scenarios, '__Package_quillmoss.exe.scenario'), 'w') as f:
        f.write(package.text())
    with open(os.path.join(scenarios, 'quillmoss_un_asa.exe.scenario'), 'w') as f:
        f.write(uninstaller.text())


def click_through(installer, upgrade, shots, data_dir):
    """Without a person: the quick install, a picture of each step."""
    def shot(window, name):
        path = window.screenshot(os.path.join(shots, name + '.png'))
        print('   picture: %s' % path)

    before = update_time(data_dir)
    if upgrade:
        prompt = installer.wait_prompt('InstalledPathTipWnd.xml')
        shot(prompt, 'prompt-update-question')
        print('== the update question: answering "安装最新版本"')
        prompt.press('okBtn')
        window = installer.wait_window()
    else:
        window = installer.wait_window()
        iw.wait_page(window, 0)
        shot(window, 'page-0-quick-install')
        print('== pressing "立即安装"')
        installer.press_for_page('defaultInstallBtn', 2)
    iw.wait_page(window, 2, timeout=60)
    time.sleep(1.0)
    shot(window, 'page-2-installing')
    iw.wait_for(lambda: update_time(data_dir) != before, 180, 'the records')
    iw.wait_page(window, 3, timeout=30)
    time.sleep(0.5)
    shot(window, 'page-3-finished')
    print('== closing the finished installer')
    return installer.press_for_exit('closebtn')


def main():
    exe, cli, fake, work = sys.argv[1:5]
    interactive = '--interactive' in sys.argv[5:]
    shots = os.path.abspath(work)
    os.makedirs(work, exist_ok=True)
    scenarios = os.path.join(work, 'scenarios')
    os.makedirs(scenarios, exist_ok=True)
    os.environ['FAKE_SCENARIO_DIR'] = winpath(scenarios)

    before = records(cli)
    folder = before['DefaultInstallDir']
    upgrade = bool(before.get('UnInstallEp')) and os.path.exists(unix_path(before['UnInstallEp']))
    print('== %s into %s' % ('Upgrade' if upgrade else 'Fresh install', folder))
    if upgrade:
        print('   previous version recorded: %s' % before['UnInstallEp'])
    write_scenarios(folder, scenarios)

    service = DownloadService().start()
    service.add('681', name='quillmoss-setup.exe', path=fake, rate=1024 * 1024)
    url = service.url('681')
    print('== download service: %s -> %s' % (url, service.final_url('681')))

    # The installer where a user's browser puts it, with its settings beside it. The service
    # needs no Internet connection, so the connectivity check is switched off.
    downloads = unix_path('C:\\users\\Public\\Downloads')
    os.makedirs(downloads, exist_ok=True)
    placed = os.path.join(downloads, 'RavellInstaller.exe')
    shutil.copy(exe, placed)
    with open(os.path.join(downloads, 'RavellInstallerConfig.ini'), 'w') as f:
        f.write('[Install]\nDownloadUrl=%s\nIsCheckNet=false\n' % url)
    print('== starting %s' % winpath(placed))
    installer = iw.Installer(placed)
    try:
        if interactive:
            print('   the window is yours: install, then close it')
            code = installer.exit_code(timeout=None)
        else:
            code = click_through(installer, upgrade, shots, before['DataDir'])
    finally:
        installer.kill()
        service.stop()
    print('== installer exit code %d' % code)

    after = records(cli)
    print('== records')
    print(wine('reg', 'query', KEY).stdout.decode('utf-8', 'replace').replace('\r\n', '\n').strip())
    installed = after.get('InstallPath') or folder
    show_file('set.ini', unix_path(installed + '\\set.ini'))
    show_file('RVSensorsAnalytics.ini', unix_path(after['DataDir'] + '\\RVSensorsAnalytics.ini'))
    if not interactive:
        print('== pictures of every page and prompt: %s' % shots)
    return code


if __name__ == '__main__':
    sys.exit(main())
