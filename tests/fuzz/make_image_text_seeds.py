#!/usr/bin/env python3
"""Writes the seed corpora of the image-text fuzz targets (import, set):

    tests/fuzz/make_image_text_seeds.py build/dev/bin/zmp318t-cli tests/fuzz/corpus

An export of a new image of every model and band and of a site with channels,
the hostile texts of the import, and for set the hostile assignments and
every key of the site with its text. The first byte of each seed chooses the
base image (tests/fuzz/FuzzImages.h: the new images in the order below, the
same plus 128 with channels and random bytes). Run it again when the export
changes.
"""
import json, os, subprocess, sys, tempfile
C = os.path.abspath(sys.argv[1])
out = os.path.abspath(sys.argv[2])
os.chdir(tempfile.mkdtemp())
env = dict(os.environ, ASAN_OPTIONS='detect_leaks=0')
def cli(*args):
    r = subprocess.run([C, *args], capture_output=True, env=env)
    if r.returncode != 0: raise SystemExit(f'{args}: {r.stderr.decode()}')
    return r.stdout
bases = [(0,256),(0,512),(1,258),(2,2304),(2,2560),(2,2816),(3,3074),(3,2818)]
imp = os.path.join(out, 'import'); st = os.path.join(out, 'set')
os.makedirs(imp, exist_ok=True); os.makedirs(st, exist_ok=True)
def seed(folder, name, selector, text):
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(bytes([selector]) + (text if isinstance(text, bytes) else text.encode()))
for p, (m, b) in enumerate(bases):
    cli('new', '--model', str(m), '--band', str(b), '-o', f'm{p}.dat')
    seed(imp, f'export-model{m}-band{b}', p, cli('export', f'm{p}.dat'))
# A site of model 1 with channels, tones, names, forms.
args = []
for ch in range(1, 13):
    args.append(f'channel[{ch}].rx_frequency={146.5 + 0.025 * ch:.4f}')
    if ch % 2 == 0: args.append(f'channel[{ch}].tx_frequency=150.1')
    args.append(f'channel[{ch}].name=C{ch % 10}')
    if ch % 3 == 0: args += [f'channel[{ch}].channel_type=Analog', f'channel[{ch}].qt_decode=88.5']
    if ch % 4 == 0: args += [f'channel_edit[{ch}].tx_power=Low', f'channel_edit[{ch}].compander=1']
args += ['cw_id[2].text=DE HILL', 'scan.priority_channel=2', 'multi_table[5].table_3.tone_1=88.5',
         'dtmf.first_digit_delay=1030', 'embedded_message.line_1=HELLO']
cli('set', 'm2.dat', *args, '-o', 'site.dat')
site = cli('export', 'site.dat')
seed(imp, 'export-site-model1', 2, site)
seed(imp, 'export-site-model1-random-base', 130, site)
header = 'format: 1\nmodel: "WAV-300: E  VHF: 146-174 MHz"\nmodel_index: 1\nband_word: 258\n'
cases = {
    'alias-self-map': header + 'editors:\n  cw_message: &a {x: *a}\n',
    'alias-self-editors': header + 'editors: &e {cw_message: *e}\n',
    'alias-laughs-list': header + 'editors:\n  x: &l0 {k: "1"}\n' + ''.join(f'  l{i}: &l{i} [*l{i-1}, *l{i-1}]\n' for i in range(1, 12)),
    'alias-laughs-wide': header + 'editors:\n  x: &a {' + ', '.join(f'k{i}: "1"' for i in range(30)) + '}\n  y: &b {' + ', '.join(f'a{i}: *a' for i in range(30)) + '}\n  z: {' + ', '.join(f'b{i}: *b' for i in range(30)) + '}\n',
    'alias-good': header + 'editors:\n  cw_message: {speed: &s "12", mod_delay: "Off"}\n  dtmf: {first_digit_delay: *s}\n',
    'cut-after-rx-frequency': site.decode()[:site.decode().find('rx_frequency:') + 13],
    'cut-mid-string': site.decode()[:site.decode().find('rx_frequency:') + 18],
    'cut-after-row': site.decode()[:site.decode().find('    2:') + 6],
    'duplicate-format': header + 'format: 1\neditors: {}\n',
    'duplicate-editors': header + 'editors:\n  dtmf: {first_digit_delay: "100"}\neditors: {}\n',
    'duplicate-field': header + 'editors:\n  channel:\n    1: {rx_frequency: "146.5", rx_frequency: "147"}\n',
    'duplicate-row-orders': header + 'editors:\n  multi_table:\n    table_3: {5: {tone_1: "88.5"}}\n    5: {table_3: {tone_1: "67.0"}}\n',
    'deep-nesting': header + 'editors:\n  x:\n    y:\n      z:\n        w:\n          v: "1"\n',
    'deep-flow': header + 'editors: ' + '{a: ' * 40 + '"1"' + '}' * 40 + '\n',
    'wrong-band': 'format: 1\nmodel_index: 1\nband_word: 256\neditors: {}\n',
    'newline-key': header + 'editors:\n  "chan\\nnel": {1: {name: "A"}}\n',
    'tag': header + 'editors:\n  cw_message: {speed: !!int 12}\n',
    'two-documents': header + 'editors: {}\n---\n' + header + 'editors: {}\n',
    'list-value': header + 'editors:\n  channel: {1: {name: ["A", "B"]}}\n',
    'null-values': header + 'editors:\n  cw_message: {speed: ~, mod_delay: null}\n',
    'test-frequency-text': header + 'editors:\n  test_frequency: {1: {frequency_1: "abc"}, 2: {frequency_1: "-1"}}\n',
    'limited-values': header + 'editors:\n  cw_message: {speed: "99999"}\n  channel: {1: {rx_frequency: "146.5", name: "' + 'N' * 300 + '"}}\n  multi_table: {table_1: {1: {tone_1: "300"}}}\n',
}
for name, text in cases.items(): seed(imp, name, 2, text)
# set: the cases of the issue, then every key of the site by editor with its text.
set_cases = {
    'test-frequency': ['test_frequency[1].frequency_1=abc', 'test_frequency[1].frequency_1=nan', 'test_frequency[2].frequency_1=-1',
                       'test_frequency[3].frequency_1=%s%n', 'test_frequency[4].frequency_1=1\x01\x7f', 'test_frequency[5].frequency_2=520'],
    'limited': ['cw_message.speed=99999', 'channel[1].name=' + 'N' * 1000, 'multi_table[1].table_1.tone_1=300',
                'channel[2].rx_frequency=146.55001', 'cw_message.mod_delay=5', 'channel_edit[1].scrambler_code++',
                'channel_edit[1].scrambler_code--', 'channel[1].rx_frequency=', 'scan.priority_channel=Off'],
    'odd-keys': ['channel[0].rx_frequency=146.5', 'channel[99999999999].name=A', 'chan\tnel[1].name=A', '=x', 'x++', '[1].=',
                 'channel[1]..name=A', 'channel[-1].name=A'],
}
for name, lines in set_cases.items(): seed(st, name, 130, '\n'.join(lines) + '\n')
by_editor = {}
for line in cli('fields', 'site.dat', '--json').decode().splitlines():
    j = json.loads(line)
    by_editor.setdefault(j['editor'], []).append(f"{j['key']}={j['text']}")
for editor, lines in by_editor.items(): seed(st, 'keys-' + editor, 2, '\n'.join(lines[:400]) + '\n')
