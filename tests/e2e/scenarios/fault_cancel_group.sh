# Cancel on the program group page, the last page: it only skips the shortcut.
sees "Cancel on \"Program Group\" closes it at once, without a question; no terminated message;" \
     "the closing prompt still comes; No ends the run with exit code 0"
leaves "the whole product installed, the uninstall entry written, no FileTidemark.LNK"
needs_disks
robot <<'STEPS'
start
wait "Destination Directory"
key enter
wait "License Agreement"
key enter
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
host disk disk2
click 1
wait "FileTidemark" 60000 65535="Please Insert Disk number 3"
host disk disk3
click 1
wait "Program Group" 120000
set 102 "Never Used"
click 2
gone
absent "Exit FileTidemark" 300
wait "FileTidemark" 30000 65535="FileTidemark has been successfully installed.\r\n\r\nDo you wish to run FileTidemark?"
click 7
exit 0
STEPS
expect_installed 'C:\Program Files\FileTidemark'
expect_reg HKLM 'Software\Microsoft\Windows\CurrentVersion\Uninstall\FileTidemark' DisplayName FileTidemark
programs=$(reg_get HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs)
expect_no_file "$programs\\FileTidemark.LNK"
expect_no_file "$programs\\Never Used.LNK"
