# A file table that cannot be trusted is refused before anything is copied, and an earlier
# installation stays as it was. First a setup program with 300 zero bytes appended: its table
# reads as empty, and its CRC-32 is not the one stamped. Then one never stamped whose table names
# a file outside the destination ("..\EVIL.TXT").
sees "twice the copying page, then \"Application Error\" naming the file table error; OK ends" \
     "the setup program with exit code 1"
leaves "the earlier installation's Tidemark.Exe as it was; no archive, no file written outside" \
       "the destination; no uninstall entry"
needs_disks
place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
cp -a "$E2E_WORK/disks/disk1" "$E2E_WORK/disks/evil1"
head -c 300 /dev/zero >>"$(find "$E2E_WORK/disks/disk1" -maxdepth 1 -iname setup.exe)"
unstamped_setup evil1
exe=$(find "$E2E_WORK/disks/evil1" -maxdepth 1 -iname setup.exe)
size=$(stat -c %s "$exe")
# The file ends with the entry count (1 byte) and the unpacked size (4 bytes); the entries of
# 28 bytes each stand before them, each starting with its name: a length byte and the characters.
count=$(tail -c5 "$exe" | head -c1 | od -An -tu1 | tr -d ' ')
[ "$count" -ge 2 ] || { fail "no file table to damage in $exe"; exit 1; }
printf '\x0b..\\EVIL.TXT' | dd of="$exe" bs=1 seek=$((size - 5 - 28 * count + 28)) conv=notrunc 2>/dev/null
robot <<'STEPS'
@to_copying
@application_error FileTableError "not the one its disks were made with"
host disk evil1
@to_copying
@application_error FileTableError 'entry 2 \"..\\EVIL.TXT\"'
STEPS
expect_unchanged "$dest\\Tidemark.Exe"
expect_no_file "$dest\\Tidemark._LF"
expect_no_file 'C:\Program Files\EVIL.TXT'
expect_no_uninstall_entry
