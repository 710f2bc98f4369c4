# A setup program built for a one-disk set (DiskCount 1) copies volume 1 alone and asks for no
# other disk, even with a stray Tidemark.002 beside it.
sees "the copying and unpacking pages with no disk prompt; the program group page"
leaves "the whole product installed, no Tidemark._LF"
disks "$(dirname "$E2E_DISKS")/single"
printf 'not a volume of this set' >"$E2E_WORK/disks/disk1/Tidemark.002"
robot <<'STEPS'
@to_copying
@finish
STEPS
expect_installed "$dest"
expect_not_seen '"ev":"window".*Please Insert Disk' "disk prompt"
