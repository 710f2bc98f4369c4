# Without fingerprints (a setup program never stamped) an archive one byte short, volume 3 cut by
# its last byte, is still refused: the decoder asks for more of it than a sound stream needs.
sees "the disk prompts as usual; the unpacking page; then \"Application Error\" reporting the" \
     "short archive; OK ends the setup program with exit code 1"
leaves "the earlier installation's Tidemark.Exe as it was, no partial image; no product file" \
       "split out; no uninstall entry, no shortcut"
needs_disks
place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
unstamped_setup
truncate -s -1 "$E2E_WORK/disks/disk3/Tidemark.003"
robot <<'STEPS'
@install_all_disks
@application_error IoError "Read beyond end of file."
STEPS
expect_nothing_split
expect_unchanged "$dest\\Tidemark.Exe"
expect_no_file "$dest\\Tidemark.~IM"
expect_no_uninstall_entry
