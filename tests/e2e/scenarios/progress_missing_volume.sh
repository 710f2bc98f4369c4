# Volume 1 missing beside the setup program: it is not asked for; the copy fails with the I/O
# error "File not found" before the archive is made, and the program ends with exit code 1.
sees "the copying page, then \"Application Error\" with IoError and \"File not found\"; OK ends" \
     "the program with exit code 1; no terminated message"
leaves "no Tidemark._LF; the earlier Tidemark.Exe untouched"
rm -f "$E2E_WORK/disks/disk1/Tidemark.001"
dest='C:\Program Files\FileTidemark'
place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
robot <<'STEPS'
start
wait "Destination Directory"
key enter
wait "License Agreement"
click 1
wait "Application Error" 60000
owner none
has 65535 IoError
has 65535 "File not found."
click 1
gone
exit 1
STEPS
expect_no_file "$dest\\Tidemark._LF"
expect_unchanged "$dest\\Tidemark.Exe"
if grep -q 'Please Insert Disk\|The Installation process has been terminated' "$E2E_RESULTS/robot.log"; then
    fail "a prompt or the terminated message was shown"
else
    pass "no prompt, no terminated message"
fi
