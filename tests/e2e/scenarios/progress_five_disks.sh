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
robot <<'STEPS'
@install_all_disks
@disks 4
@finish
STEPS
expect_installed "$dest"
expect_not_seen '"ev":"window".*Please Insert Disk number 5' "prompt for disk 5"
