# A quit request (WM_QUIT) reaches the setup program while it copies disk 2: it is swallowed.
sees "a normal installation: the copying goes on, every page follows, the closing prompt comes"
leaves "the whole product installed, the uninstall entry"
needs_disks
robot <<'STEPS'
@to_copying
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
host disk disk2
# The click ends the prompt and copying resumes; the quit request is queued behind it, so the
# copy loop's draining meets it.
click 1
quit
@disks 3
@finish
STEPS
expect_installed 'C:\Program Files\FileTidemark'
expect_uninstall_entry
