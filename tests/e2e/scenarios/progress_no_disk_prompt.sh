# Two installations that need no disk change: all three volumes copied into the one folder
# beside a setup program never stamped (as before disk sets were stamped: the shipped numbers,
# nothing checked), joined one after another; then the setup program of a one-disk set
# (DiskCount 1), which copies volume 1 alone even with a stray Tidemark.002 beside it.
sees "twice the copying and unpacking pages with no disk prompt, the program group page"
leaves "the whole product installed in C:\\ONE and in C:\\SINGLE, no Tidemark._LF"
rm -rf "$E2E_WORK/disks/disk1" && mkdir -p "$E2E_WORK/disks/disk1"
cp -a "$(dirname "$E2E_DISKS")/onefolder/." "$E2E_WORK/disks/disk1/"
unstamped_setup
cp -a "$(dirname "$E2E_DISKS")/single/disk1" "$E2E_WORK/disks/single"
printf 'not a volume of this set' >"$E2E_WORK/disks/single/Tidemark.002"
robot <<'STEPS'
@to_copying 'C:\ONE'
@finish
host disk single
@to_copying 'C:\SINGLE'
@finish
STEPS
expect_installed 'C:\ONE'
expect_installed 'C:\SINGLE'
expect_not_seen '"ev":"window".*Please Insert Disk' "disk prompt"
