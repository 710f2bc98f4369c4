# Bad disks, an untrustworthy file table, and a drive that fills up: each is caught, reported or
# asked for again, and what was there before stays.

# Bad disks are caught as they are copied and asked for again, in one installation: volumes 1
# and 2 with a byte flipped (caught by their CRC-32 after the copy), volume 3 first from another
# disk set of the product, then one byte short (caught by their length before it). Each time
# "Disk number N could not be read correctly..." (owned by the copying page), OK, the prompt for
# disk N although its file is there, disk 1 included; with the good disk the copy goes on, and
# the whole product is installed byte for byte.
scenario_fault_damaged_disks() {
  for n in 1 2 3; do cp -a "$E2E_WORK/disks/disk$n" "$E2E_WORK/disks/good$n"; done
  flip_byte "$E2E_WORK/disks/disk1/Tidemark.001"
  flip_byte "$E2E_WORK/disks/disk2/Tidemark.002"
  cp "$(dirname "$E2E_DISKS")/floppies/disk3/Tidemark.003" "$E2E_WORK/disks/disk3/"
  mkdir -p "$E2E_WORK/disks/short3"
  head -c -1 "$E2E_WORK/disks/good3/Tidemark.003" >"$E2E_WORK/disks/short3/Tidemark.003"
  robot <<'STEPS'
@to_copying
@damaged_disk 1 good1
@disks 2
@damaged_disk 2 good2
@disks 3
@damaged_disk 3 short3
@damaged_disk 3 good3
@finish
@entry FileTidemark
STEPS
  expect_installed "$dest"
}

# Refused before anything is copied, each time "Application Error" (exit code 1) and the
# earlier installation's Tidemark.Exe as it was, no archive, no disk prompt, no terminated
# message: the setup program as linked, with no table at all (what a vendor has who copies the
# built program instead of the one mkdisks wrote); one never stamped whose table names a file
# outside the destination ("..\EVIL.TXT", not written); volume 1 missing beside the setup
# program (not asked for: the I/O error "File not found"). A table that is not the one stamped
# is refused in the Windows-side tests.
scenario_fault_file_table() {
  place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
  for d in evil1 notable; do cp -a "$E2E_WORK/disks/disk1" "$E2E_WORK/disks/$d"; done
  cp -a "$E2E_WORK/disks/disk1" "$E2E_WORK/disks/novolume" && rm "$E2E_WORK/disks/novolume/Tidemark.001"
  cp "$E2E_SETUP" "$(setup_of notable)"
  unstamped_setup evil1
  # The table's entries (28 bytes, each starting with its name's length and characters) stand
  # before the entry count (1 byte) and the unpacked size (4 bytes) at the end.
  local exe size
  exe=$(setup_of evil1) && size=$(stat -c %s "$exe")
  printf '\x0b..\\EVIL.TXT' | dd of="$exe" bs=1 seek=$((size - 5 - 28 * $(table_entries "$exe") + 28)) conv=notrunc 2>/dev/null
  # A run from disk <folder> refused; a disk prompt or the terminated message instead would wait
  # for the user and so fail it.
  steps_refused_from() { echo "host disk $1"; steps_to_copying; steps_application_error "${@:2}"; }
  robot <<'STEPS'
@refused_from notable FileTableError "The file table is missing"
@refused_from evil1 FileTableError 'entry 2 \"..\\EVIL.TXT\"'
@refused_from novolume IoError "File not found."
@entry -absent
STEPS
  expect_no_file "$dest\\Tidemark._LF" 'C:\Program Files\EVIL.TXT'
}

# Without fingerprints (a setup program never stamped) an archive one byte short, volume 3 cut
# by its last byte, is still refused: the decoder asks for more of it than a sound stream needs.
# The disk prompts as usual, the unpacking page, then "Application Error" for the short archive.
# The earlier Tidemark.Exe stays; no partial image, nothing split out.
scenario_fault_truncated_volume() {
  place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
  unstamped_setup
  truncate -s -1 "$E2E_WORK/disks/disk3/Tidemark.003"
  robot <<'STEPS'
@install_all_disks
@application_error IoError "Read beyond end of file."
@entry -absent
STEPS
  expect_nothing_split
  expect_no_file "$dest\\Tidemark.~IM"
}

# The bytes the sample run takes at its fullest on a drive of its own, and at decoding: archive
# and image. A drive's free bytes, and a filler that leaves only <bytes> of them (host request).
archive_bytes() { cat "$E2E_WORK"/disks/disk*/Tidemark.00? | wc -c; }
image_bytes() { tail -c4 "$(setup_of)" | od -An -tu4 | tr -d ' '; }
host_fill() { fallocate -l $(($(df -B1 --output=avail "$(hostpath "$1:")" | tail -1) - $2)) "$(hostpath "$1:")/filler"; }

# Two copies at once: a second setup program started while the first shows its destination page
# says that setup is already running, in a box captioned FileTidemark with no owner and no
# backdrop or page of its own, and ends with exit code 0 (a run that never began). The first goes
# on: a folder on a drive without room for the run is refused before anything is made, with a
# message over the page naming the drive and the space needed and free, and the page stays with
# the entry. The same drive holds an earlier installation in G:\TIDE, whose files free their room
# as the new ones replace them: G:\TIDE is accepted and installed, where G:\OTHER is not.
scenario_fault_two_copies_no_space() {
  tmpfs_drive G 32m
  local old=$(hostpath 'G:\TIDE') && mkdir "$old" && cp "$E2E_PRODUCT"/* "$old" && rm "$old/FILETIDE.HLP"
  # Between what the reinstall needs (archive and image) and what a new one needs (the image
  # and every file split out of it).
  host_fill G $((($(archive_bytes) + 3 * $(image_bytes)) / 2))
  robot <<'STEPS'
start
wait "Destination Directory"
also
wait "FileTidemark" 65535~"FileTidemark is already running" owner=none alone "!Destination Directory"
click 1
exit 0 5000
back
wait "Destination Directory"
set 104 G:\OTHER
key enter
wait "FileTidemark" 65535~"not enough free space on drive G: to install FileTidemark." 65535~"Space needed: " 65535~"MB\r\nSpace free: " owner=#32770
click 1
wait "Destination Directory"
stays 300 104=G:\OTHER
set 104 G:\TIDE
key enter
wait "License Agreement"
click 1
@disks 2 3
@finish
STEPS
  expect_no_file 'G:\OTHER'
  expect_installed 'G:\TIDE'
}

# The destination drive fills up after the destination page measured it (another program
# writes to it; here the scenario, on the licence page): "Application Error" with the I/O error
# "Disk full", naming the drive and saying that a further run completes the installation, exit
# code 1. While the volumes are copied (D: left room for volume 1, not volume 2), the partial
# archive stays, since the clean-up of a stopped run does not follow an error. While the image
# is split (E: left room for the archive and the image, not for the product files besides), the
# files split so far stay, each complete; no Tidemark.Exe, no temporary file, no archive.
scenario_fault_full_drive() {
  tmpfs_drive D 16m
  tmpfs_drive E 16m
  local v1=$(stat -c %s "$E2E_DISKS/disk1/Tidemark.001")
  robot <<STEPS
@to_licence 'D:\TIDE'
host fill D $((v1 + 65536))
click 1
@disks 2
@application_error IoError "Disk full. Drive D: has no room left" "run the setup program again"
host disk disk1
@to_licence 'E:\TIDE'
host fill E $(($(archive_bytes) + $(image_bytes) + 262144))
click 1
@disks 2 3
@application_error IoError "Disk full. Drive E: has no room left"
@entry -absent
STEPS
  local split=0 size=$(stat -c %s "$(hostpath 'D:\TIDE\Tidemark._LF')" 2>/dev/null || echo 0)
  verdict "the partial archive on D: holds volume 1 and part of volume 2 ($size bytes)" '[ "$size" -gt "$v1" ]'
  expect_no_file 'D:\TIDE\Tidemark.Exe'
  for f in "$E2E_PRODUCT"/*; do
    [ -e "$(hostpath "E:\\TIDE\\${f##*/}")" ] && expect_file "E:\\TIDE\\${f##*/}" "$f" && split=$((split + 1))
  done
  verdict "$split product files split on E: before it filled" '[ "$split" -gt 0 ]'
  expect_no_file 'E:\TIDE\Tidemark.Exe' 'E:\TIDE\Tidemark.~IM' 'E:\TIDE\Tidemark.~SP' 'E:\TIDE\Tidemark._LF'
}
