# Cancel on the prompt for disk 2 stops the run at once, with no confirmation; the archive that
# this run began is removed, an earlier installation's main program stays.
sees "\"Please Insert Disk number 2\"; Cancel: no exit question, the terminated message over" \
     "the backdrop at once; exit code 0"
leaves "no Tidemark._LF; the earlier Tidemark.Exe and README.TXT untouched; no uninstall entry"
place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
place_file "$dest\\README.TXT" "an earlier installation's readme"
robot <<'STEPS'
@to_copying
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
owner "#32770"
click 2
@terminated
STEPS
expect_no_file "$dest\\Tidemark._LF"
expect_unchanged "$dest\\Tidemark.Exe"
expect_unchanged "$dest\\README.TXT"
expect_not_seen '"caption":"Exit FileTidemark"' "exit question"
expect_no_uninstall_entry
