# Cancel on a disk prompt (disk 3, after the copying page has written the archive and before
# anything is unpacked) stops the run at once, with no confirmation; the archive that this run
# began is removed, an earlier installation's files stay. A second run does the same on the
# prompt that follows a damaged disk 3, whose file is still there.
sees "\"Please Insert Disk number 2\", then 3; Cancel: no exit question, the terminated message" \
     "over the backdrop at once; exit code 0; again with disk 3 damaged: its message, its" \
     "prompt, Cancel, the terminated message"
leaves "no Tidemark._LF; the earlier Tidemark.Exe, README.TXT, TIDEMARK.LIB and tidemark.dtp" \
       "untouched; nothing split out; no uninstall entry"
needs_disks
earlier=(Tidemark.Exe README.TXT TIDEMARK.LIB tidemark.dtp)
for f in "${earlier[@]}"; do place_file "$dest\\$f" "an earlier installation's $f"; done
flip_byte "$E2E_WORK/disks/disk3/Tidemark.003"
robot <<'STEPS'
@to_copying
@disks 2
wait "FileTidemark" 60000 65535="Please Insert Disk number 3"
owner "#32770"
click 2
@terminated
host disk disk1
@to_copying
@disks 2 3
@damaged_disk 3
click 2
@terminated
STEPS
for f in "${earlier[@]}"; do expect_unchanged "$dest\\$f"; done
expect_no_file "$dest\\Tidemark._LF"
expect_no_file "$dest\\TMCORE.DLL"
expect_not_seen '"caption":"Exit FileTidemark"' "exit question"
expect_no_uninstall_entry
