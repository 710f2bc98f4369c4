# All three volumes copied into the one folder beside the setup program (one medium): they are
# joined one after another without a single prompt.
sees "the copying and unpacking pages with no disk prompt; the program group page"
leaves "the whole product installed, no Tidemark._LF"
rm -rf "$E2E_WORK/disks/disk1" && mkdir -p "$E2E_WORK/disks/disk1"
cp -a "$(dirname "$E2E_DISKS")/onefolder/." "$E2E_WORK/disks/disk1/"
robot <<'STEPS'
@to_copying
@finish
STEPS
expect_installed "$dest"
expect_not_seen '"ev":"window".*Please Insert Disk' "disk prompt"
