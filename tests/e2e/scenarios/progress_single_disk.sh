# A setup program built for a one-disk set (DiskCount 1) copies volume 1 alone and asks for no
# other disk, even with a stray Tidemark.002 beside it.
sees "the copying and unpacking pages with no disk prompt; the program group page"
leaves "the whole product installed, no Tidemark._LF"
disks "$(dirname "$E2E_DISKS")/single"
printf 'not a volume of this set' >"$E2E_WORK/disks/disk1/Tidemark.002"
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
