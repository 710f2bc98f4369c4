# The setup program's file table names a file outside the destination ("..\EVIL.TXT"): it is
# refused before anything is copied.
sees "the copying page opens, then \"Application Error\" naming the file table error; OK ends" \
     "the setup program with exit code 1"
leaves "the destination folder (made by the first page) and nothing in it: no archive, no file" \
       "written outside it; no uninstall entry"
needs_disks
exe=$(find "$E2E_WORK/disks/disk1" -maxdepth 1 -iname setup.exe)
size=$(stat -c %s "$exe")
# The file ends with the entry count (1 byte) and the unpacked size (4 bytes); the entries of
# 28 bytes each stand before them, each starting with its name: a length byte and the characters.
count=$(tail -c5 "$exe" | head -c1 | od -An -tu1 | tr -d ' ')
[ "$count" -ge 2 ] || { fail "no file table to damage in $exe"; exit 1; }
printf '\x0b..\\EVIL.TXT' | dd of="$exe" bs=1 seek=$((size - 5 - 28 * count + 28)) conv=notrunc 2>/dev/null
robot <<'STEPS'
@to_copying
wait "Application Error" 60000
has 65535 FileTableError
has 65535 "entry 2 \"..\\EVIL.TXT\""
shot error
click 1
exit 1
STEPS
expect_folder 'C:\Program Files\FileTidemark'
expect_no_file 'C:\Program Files\FileTidemark\Tidemark._LF'
expect_no_file 'C:\Program Files\EVIL.TXT'
expect_no_file 'C:\Program Files\FileTidemark\Tidemark.Exe'
expect_no_uninstall_entry
