# Cancel on the prompt for disk 2 stops the run at once, with no confirmation; the archive that
# this run began is removed, an earlier installation's main program stays.
sees "\"Please Insert Disk number 2\"; Cancel: no exit question, the terminated message over" \
     "the backdrop at once; exit code 0"
leaves "no Tidemark._LF; the earlier Tidemark.Exe and README.TXT untouched; no uninstall entry"
dest='C:\Program Files\FileTidemark'
place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
place_file "$dest\\README.TXT" "an earlier installation's readme"
robot <<'STEPS'
start
wait "Destination Directory"
key enter
wait "License Agreement"
click 1
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
owner "#32770"
click 2
wait "FileTidemark" 20000 65535="The Installation process has been terminated."
owner LFSetUp
click 1
exit 0
STEPS
expect_no_file "$dest\\Tidemark._LF"
expect_unchanged "$dest\\Tidemark.Exe"
expect_unchanged "$dest\\README.TXT"
if grep -q '"caption":"Exit FileTidemark"' "$E2E_RESULTS/robot.log"; then
    fail "an exit question was shown"
else
    pass "no exit question"
fi
expect_no_reg HKLM 'Software\Microsoft\Windows\CurrentVersion\Uninstall\FileTidemark' DisplayName
