# An earlier installation in the destination, and a run stopped on the disk 3 prompt (after the
# copying page has written the archive, before anything is unpacked).
sees "the disk 3 prompt; Cancel stops at once, without a question; \"The Installation process has" \
     "been terminated.\"; exit code 0"
leaves "the earlier Tidemark.Exe, TIDEMARK.LIB, tidemark.dtp and the user's notes unchanged; no" \
       "Tidemark._LF (this run's partial archive is removed); no uninstall entry"
needs_disks
place_file "$dest\\Tidemark.Exe" "the earlier main program"
place_file "$dest\\TIDEMARK.LIB" "the user's library"
place_file "$dest\\tidemark.dtp" "the user's desktop"
place_file "$dest\\notes.txt" "the user's notes"
robot <<'STEPS'
@to_copying
@disks 2
wait "FileTidemark" 60000 65535="Please Insert Disk number 3"
click 2
@terminated
STEPS
for f in Tidemark.Exe TIDEMARK.LIB tidemark.dtp notes.txt; do expect_unchanged "$dest\\$f"; done
expect_no_file "$dest\\Tidemark._LF"
expect_no_file "$dest\\TMCORE.DLL"
expect_no_uninstall_entry
