# All three volumes copied into the one folder beside the setup program (one medium): they are
# joined one after another without a single prompt.
sees "the copying and unpacking pages with no disk prompt; the program group page"
leaves "the whole product installed, no Tidemark._LF"
rm -rf "$E2E_WORK/disks/disk1" && mkdir -p "$E2E_WORK/disks/disk1"
cp -a "$(dirname "$E2E_DISKS")/onefolder/." "$E2E_WORK/disks/disk1/"
dest='C:\Program Files\FileTidemark'
robot <<'STEPS'
start
wait "Destination Directory"
key enter
wait "License Agreement"
click 1
wait "Program Group" 120000
click 1
wait "FileTidemark" 60000 65535="FileTidemark has been successfully installed.\r\n\r\nDo you wish to run FileTidemark?"
click 7
exit 0
STEPS
expect_installed "$dest"
if grep -q '"ev":"window".*Please Insert Disk' "$E2E_RESULTS/robot.log"; then
    fail "a disk prompt was shown"
else
    pass "no disk prompt"
fi
