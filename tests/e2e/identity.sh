# Every module's identity record is constant data of the built programs: for each record written
# in the sources of the show's modules (tag, date, author, platform and kind, each a text of at
# most eight characters in nine bytes), its 45 bytes lie in both the demo and the recorder.
. "$2/tests/e2e/lib.bash"
for program in krom7316 krom7316-record; do
  [ -x "$build/$program" ] || fail "no program at $build/$program"
done

python3 - "$src" "$build" <<'PY' || fail "identity records missing from the programs"
import glob, os, re, sys
src, build = sys.argv[1], sys.argv[2]
folders = ['image', 'audio', 'platform', 'vector', 'text', 'effects', 'scenes', 'driver', 'resources']
text = r'"([^"]{0,8})"'
record = re.compile(r'Identity\s+\w+\s*=?\s*\{\s*\{?\s*' + r'\s*,\s*'.join([text] * 5))
found = []
for folder in folders:
    for path in sorted(glob.glob(os.path.join(src, folder, '*.cpp'))):
        for fields in record.findall(open(path).read()):
            found.append((os.path.relpath(path, src), fields))
if len(found) < len(folders):
    sys.exit('only %d identity records found in the sources' % len(found))
problems = 0
for program in ('krom7316', 'krom7316-record'):
    data = open(os.path.join(build, program), 'rb').read()
    for path, fields in found:
        want = b''.join(f.encode().ljust(9, b'\0') for f in fields)
        if want not in data:
            print('FAIL: %s: the record of %s (%s) is not in the program' % (program, path, ' | '.join(fields)))
            problems += 1
print('%d records checked in two programs' % len(found))
sys.exit(1 if problems else 0)
PY
echo "identity test passed"
