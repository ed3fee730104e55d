"""What the installer's loader brings in before any of its code runs: only the system's known
DLLs, which always come from the system folder. Every other system DLL it uses is bound on
first use, after the search has been limited to the system folder.

usage: test_imports.py EXE...       (the test build's and the release build's installer)
"""
import subprocess
import sys
import unittest

# The known DLLs of the supported Windows versions (the session manager's list; ntdll and
# kernelbase are in every process anyway).
KNOWN_DLLS = {
    'advapi32.dll', 'clbcatq.dll', 'combase.dll', 'comdlg32.dll', 'coml2.dll', 'difxapi.dll',
    'gdi32.dll', 'gdiplus.dll', 'imagehlp.dll', 'imm32.dll', 'kernel32.dll', 'msctf.dll',
    'msvcrt.dll', 'normaliz.dll', 'nsi.dll', 'ole32.dll', 'oleaut32.dll', 'psapi.dll',
    'rpcrt4.dll', 'sechost.dll', 'setupapi.dll', 'shcore.dll', 'shell32.dll', 'shlwapi.dll',
    'user32.dll', 'wldap32.dll', 'ws2_32.dll', 'ntdll.dll', 'kernelbase.dll',
}
# Used by the installer and bound late: none may be in the import table.
LATE_BOUND = ['winhttp.dll', 'crypt32.dll', 'bcrypt.dll', 'wintrust.dll', 'msimg32.dll',
              'netapi32.dll', 'wtsapi32.dll', 'winmm.dll']

EXES = []


def imports(exe):
    with open(exe, 'rb') as f:
        head = f.read(4096)
    offset = int.from_bytes(head[0x3c:0x40], 'little')
    machine = int.from_bytes(head[offset + 4:offset + 6], 'little')
    tool = {0x14c: 'i686-w64-mingw32-objdump', 0x8664: 'x86_64-w64-mingw32-objdump'}[machine]
    out = subprocess.run([tool, '-p', exe], check=True, capture_output=True, text=True).stdout
    return {line.split(':', 1)[1].strip().lower() for line in out.splitlines()
            if line.strip().startswith('DLL Name:')}


class ImportTableTest(unittest.TestCase):
    def test_only_known_dlls_are_imported(self):
        for exe in EXES:
            with self.subTest(exe=exe):
                names = imports(exe)
                self.assertIn('kernel32.dll', names)  # the table was read at all
                self.assertEqual(names - KNOWN_DLLS, set())

    def test_late_bound_dlls_are_still_named(self):
        # They are used: their names sit in the late-binding tables, not in the import table.
        for exe in EXES:
            with open(exe, 'rb') as f:
                data = f.read().lower()
            for dll in LATE_BOUND:
                with self.subTest(exe=exe, dll=dll):
                    self.assertIn(dll.encode(), data)
                    self.assertNotIn(dll, imports(exe))


if __name__ == '__main__':
    EXES.extend(sys.argv[1:])
    unittest.main(argv=sys.argv[:1], verbosity=2)
