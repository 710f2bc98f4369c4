# A setup program built with DiskCount 5 asks for disks 2, 3 and 4 and never for disk 5: no more
# than four volumes are read. Its disk 1 carries the sample set's file table; disk 4 holds an
# empty volume, disk 5 one that would spoil the archive if it were joined.
sees "\"Please Insert Disk number 2\", 3 and 4; no prompt for disk 5; the program group page"
leaves "the whole product installed, no Tidemark._LF"
five=$E2E_BUILD/setup_five_disks.exe
[ -f "$five" ] || { fail "no $five"; return; }
sample_setup=$E2E_DISKS/disk1/setup.exe
length=$(stat -c %s "$sample_setup")
entries=$(od -An -tu1 -j $((length - 5)) -N1 "$sample_setup" | tr -d ' ')
{ cat "$five"; tail -c $((entries * 28 + 5)) "$sample_setup"; } >"$E2E_WORK/disks/disk1/setup.exe"
mkdir -p "$E2E_WORK/disks/disk4" "$E2E_WORK/disks/disk5"
: >"$E2E_WORK/disks/disk4/Tidemark.004"
head -c 100000 /dev/urandom >"$E2E_WORK/disks/disk5/Tidemark.005"
dest='C:\Program Files\FileTidemark'
robot <<'STEPS'
start
wait "Destination Directory"
key enter
wait "License Agreement"
click 1
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
host disk disk2
click 1
wait "FileTidemark" 60000 65535="Please Insert Disk number 3"
host disk disk3
click 1
wait "FileTidemark" 60000 65535="Please Insert Disk number 4"
host disk disk4
click 1
wait "Program Group" 120000
click 1
wait "FileTidemark" 60000 65535="FileTidemark has been successfully installed.\r\n\r\nDo you wish to run FileTidemark?"
click 7
exit 0
STEPS
expect_installed "$dest"
if grep -q '"ev":"window".*Please Insert Disk number 5' "$E2E_RESULTS/robot.log"; then
    fail "disk 5 was asked for"
else
    pass "no prompt for disk 5"
fi
