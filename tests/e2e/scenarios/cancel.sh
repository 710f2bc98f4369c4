# Cancel while installing: on a disk prompt, while copying, while decoding. Each run ends with the
# terminated message over the backdrop and exit code 0; the archive and image this run began
# are removed, nothing is split out, and an earlier installation's files stay.

# Cancel on the prompt for disk 3 (after the archive is written, before anything is unpacked)
# stops at once, with no exit question; a second run does the same on the prompt that follows
# a damaged disk 3, whose file is there.
scenario_cancel_on_prompt() {
  for f in "$dest\\Tidemark.Exe" "$dest\\README.TXT" "$dest\\TIDEMARK.LIB" "$dest\\tidemark.dtp"; do place_file "$f" "an earlier installation's $f"; done
  flip_byte "$E2E_WORK/disks/disk3/Tidemark.003"
  robot <<'STEPS'
@to_copying
@disks 2
wait "FileTidemark" 60000 65535="Please Insert Disk number 3" owner=#32770
click 2
# An exit question here would hold the terminated message back, failing the wait for it.
@terminated
host disk disk1
@to_copying
@disks 2 3
@damaged_disk 3
click 2
@terminated
@entry -absent
STEPS
  expect_no_file "$dest\\Tidemark._LF" "$dest\\TMCORE.DLL"
}

# Cancel while the volumes are copied; volume 1 is made long (sparse junk appended, a setup
# program never stamped takes it as it is) so that the copy is still running when the robot
# acts. First the meter is pictured at about 30 % of the disk set, the setup program held still
# for the picture; then Cancel, No (the copy goes on), Cancel, Yes. No disk prompt ever.
scenario_cancel_copying() {
  place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
  unstamped_setup
  truncate -s +400M "$E2E_WORK/disks/disk1/Tidemark.001"
  robot <<'STEPS'
@to_copying
@meter_held 1000000 1500000
click 2
@declined "Please Stand By..." '65535="Installing the FileTidemark files."'
click 2
@confirm_exit owner=none
STEPS
  expect_no_file "$dest\\Tidemark._LF" "$dest\\UnInstal.Exe"
  expect_not_seen 'Please Insert Disk' "disk prompt"
  check_meter meter 3390000  # unstamped, the meter runs against the shipped ExpectedArchiveSize
}

# Cancel confirmed while the archive is decoded, made long for this run: the last volume gets
# 64 MB of zeros and the trailer of a setup program never stamped claims 256 MB more unpacked
# bytes, in its last file. While the exit question is up, decoding waits with its partial image (under a
# temporary name) and the archive; after Yes both are gone.
scenario_cancel_decoding() {
  place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
  unstamped_setup
  truncate -s +64M "$E2E_WORK/disks/disk3/Tidemark.003"
  local setup length claimed at
  setup=$(setup_of) && length=$(stat -c %s "$setup")
  # The last entry's size and the unpacked size grow alike, so that the table stays well-formed.
  for at in $((length - 9)) $((length - 4)); do
    claimed=$(($(od -An -tu4 -j $at -N4 "$setup") + 256 * 1024 * 1024))
    printf "$(printf '\\%03o' $((claimed & 255)) $((claimed >> 8 & 255)) $((claimed >> 16 & 255)) $((claimed >> 24 & 255)))" |
      dd of="$setup" bs=1 seek=$at conv=notrunc status=none
  done
  host_partial_image() {
    local size
    size=$(stat -c %s "$(hostpath "$dest\\Tidemark.~IM")") && [ "$size" -lt "$claimed" ] &&
      [ -f "$(hostpath "$dest\\Tidemark._LF")" ]
  }
  robot <<'STEPS'
@install_all_disks
wait "Please Stand By..." 60000 65535="Uncompressing the FileTidemark files."
click 2
wait "Exit FileTidemark" owner=none
host partial_image
click 6
@terminated
@entry -absent
STEPS
  expect_no_file "$dest\\Tidemark.~IM" "$dest\\Tidemark._LF"
  expect_nothing_split
}
