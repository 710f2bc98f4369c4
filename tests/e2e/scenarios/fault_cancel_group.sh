# Cancel on the program group page, the last page: it only skips the shortcut.
sees "Cancel on \"Program Group\" closes it at once, without a question; no terminated message;" \
     "the closing prompt still comes; No ends the run with exit code 0"
leaves "the whole product installed, the uninstall entry written, no FileTidemark.LNK"
needs_disks
robot <<'STEPS'
@install_all_disks
wait "Program Group" 120000
set 102 "Never Used"
click 2
gone
absent "Exit FileTidemark" 300
@closing
STEPS
expect_installed 'C:\Program Files\FileTidemark'
expect_uninstall_entry
programs=$(reg_get HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs)
expect_no_file "$programs\\FileTidemark.LNK"
expect_no_file "$programs\\Never Used.LNK"
