# Bad disks are caught as they are copied and asked for again, in one installation: volume 1 and
# volume 2 with a byte flipped (caught by their CRC-32 after the copy), volume 3 first from
# another disk set of the product, then one byte short (caught by their length before it); each
# time the good disk then goes in.
sees "after each bad disk \"Disk number N could not be read correctly...\" (owned by the" \
     "copying page, captioned FileTidemark), OK, then \"Please Insert Disk number N\" although" \
     "the disk's file is there, disk 1 included; with the good disk the copy goes on"
leaves "the whole product installed byte for byte, the uninstall entry, no Tidemark._LF"
needs_disks
for n in 1 2 3; do cp -a "$E2E_WORK/disks/disk$n" "$E2E_WORK/disks/good$n"; done
flip_byte "$E2E_WORK/disks/disk1/Tidemark.001"
flip_byte "$E2E_WORK/disks/disk2/Tidemark.002"
cp "$(dirname "$E2E_DISKS")/floppies/disk3/Tidemark.003" "$E2E_WORK/disks/disk3/"
mkdir -p "$E2E_WORK/disks/short3"
head -c -1 "$E2E_WORK/disks/good3/Tidemark.003" >"$E2E_WORK/disks/short3/Tidemark.003"
robot <<'STEPS'
@to_copying
@damaged_disk 1
host disk good1
click 1
@disks 2
@damaged_disk 2
host disk good2
click 1
@disks 3
@damaged_disk 3
host disk short3
click 1
@damaged_disk 3
host disk good3
click 1
@finish
STEPS
expect_installed "$dest"
expect_uninstall_entry
