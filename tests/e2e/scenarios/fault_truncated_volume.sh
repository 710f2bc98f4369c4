# A later volume cut to half its length (disk 2): the disks are joined without a complaint,
# and the archive runs short while it is decoded.
sees "the disk prompts as usual; the unpacking page; then \"Application Error\" reporting the" \
     "short archive; OK ends the setup program with exit code 1"
leaves "the earlier installation's Tidemark.Exe as it was, no partial image; no product file" \
       "split out; no uninstall entry, no shortcut"
needs_disks
place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
v=$E2E_WORK/disks/disk2/Tidemark.002
truncate -s $(($(stat -c %s "$v") / 2)) "$v"
robot <<'STEPS'
@install_all_disks
@application_error
STEPS
expect_nothing_split
expect_unchanged "$dest\\Tidemark.Exe"
expect_no_file "$dest\\Tidemark.~IM"
expect_no_uninstall_entry
