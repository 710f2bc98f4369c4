# Volume 1 missing beside the setup program: it is not asked for; the copy fails with the I/O
# error "File not found" before the archive is made, and the program ends with exit code 1.
sees "the copying page, then \"Application Error\" with IoError and \"File not found\"; OK ends" \
     "the program with exit code 1; no terminated message"
leaves "no Tidemark._LF; the earlier Tidemark.Exe untouched"
rm -f "$E2E_WORK/disks/disk1/Tidemark.001"
place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
robot <<'STEPS'
@to_copying
@application_error IoError "File not found."
STEPS
expect_no_file "$dest\\Tidemark._LF"
expect_unchanged "$dest\\Tidemark.Exe"
expect_not_seen 'Please Insert Disk' "disk prompt"
expect_not_seen 'The Installation process has been terminated' "terminated message"
