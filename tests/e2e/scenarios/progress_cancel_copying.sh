# Cancel while the volumes are being copied; volume 1 is made long (junk appended to this run's
# copy of the disk, with a setup program never stamped, which takes it as it is) so that the copy
# is still running when the robot acts. First the meter is
# photographed once the archive holds about 30 % of the disk set, with the setup program held
# still for the moment of the picture; then Cancel, No (the copy goes on), Cancel, Yes.
sees "the copying page with its red and white bar and percentage; the exit question twice;" \
     "after Yes the terminated message over the backdrop"
leaves "no Tidemark._LF (the partial archive is removed), the earlier installation's" \
       "Tidemark.Exe untouched, no product file"
place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
unstamped_setup
# Sparse: it costs no disk space here, and the copy still reads it block by block.
truncate -s +400M "$E2E_WORK/disks/disk1/Tidemark.001"

robot <<'STEPS'
@to_licence
host watch_archive 1000000 meter
click 1
wait "Please Stand By..." 65535="Installing the FileTidemark files."
client
host await_watch
click 2
wait "Exit FileTidemark"
click 7
wait "Please Stand By..." 65535="Installing the FileTidemark files."
click 2
wait "Exit FileTidemark"
owner none
click 6
@terminated
STEPS
# The watcher ends on its own; should the robot have failed early, it is not left waiting.
kill "$(cat "$E2E_WORK/watch.pid" 2>/dev/null)" 2>/dev/null
expect_no_file "$dest\\Tidemark._LF"
expect_unchanged "$dest\\Tidemark.Exe"
expect_no_file "$dest\\UnInstal.Exe"
expect_not_seen '"ev":"window".*Please Insert Disk' "disk prompt"

# Unstamped, the meter runs against the shipped ExpectedArchiveSize.
check_meter meter 3390000
