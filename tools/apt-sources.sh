#!/usr/bin/env bash
# Writes a Debian source list derived from the system's own apt sources into folder $1:
# only the main suites (the security suite's i386 index is not reliable on every mirror),
# with both binary and source entries. Prints the apt options that select it.
set -euo pipefail
dir=$1
mkdir -p "$dir/parts"
python3 - "$dir/parts/debian.sources" <<'PY'
import glob, re, sys
stanzas = []
for path in sorted(glob.glob('/etc/apt/sources.list.d/*.sources')):
    for block in re.split(r'\n\s*\n', open(path, encoding='utf-8').read()):
        fields = {}
        for line in block.splitlines():
            if line.strip() and not line.lstrip().startswith('#') and ':' in line:
                key, value = line.split(':', 1)
                fields[key.strip()] = value.strip()
        if 'debian' not in fields.get('URIs', '') or 'deb' not in fields.get('Types', '').split():
            continue
        suites = [s for s in fields.get('Suites', '').split() if 'security' not in s]
        if suites:
            fields.update(Suites=' '.join(suites), Types='deb deb-src')
            stanzas.append(fields)
try:
    for line in open('/etc/apt/sources.list', encoding='utf-8'):
        parts = line.split()
        if len(parts) >= 4 and parts[0] == 'deb' and not parts[1].startswith('[') \
                and 'security' not in parts[2]:
            stanzas.append({'Types': 'deb deb-src', 'URIs': parts[1], 'Suites': parts[2],
                            'Components': ' '.join(parts[3:])})
except FileNotFoundError:
    pass
if not stanzas:
    sys.exit('no Debian source found in /etc/apt')
with open(sys.argv[1], 'w', encoding='utf-8') as out:
    for fields in stanzas:
        out.write(''.join(f'{k}: {v}\n' for k, v in fields.items()) + '\n')
PY
echo "-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$dir/parts"
