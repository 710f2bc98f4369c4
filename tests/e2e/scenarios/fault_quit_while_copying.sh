# A quit request (WM_QUIT) reaches the setup program while it copies disk 2: it is swallowed.
sees "a normal installation: the copying goes on, every page follows, the closing prompt comes"
leaves "the whole product installed, the uninstall entry"
needs_disks
robot <<'STEPS'
start
wait "Destination Directory"
key enter
wait "License Agreement"
key enter
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
host disk disk2
# The click ends the prompt and copying resumes; the quit request is queued behind it, so the
# copy loop's draining meets it.
click 1
quit
wait "FileTidemark" 60000 65535="Please Insert Disk number 3"
host disk disk3
click 1
wait "Program Group" 120000
key enter
wait "FileTidemark" 30000 65535="FileTidemark has been successfully installed.\r\n\r\nDo you wish to run FileTidemark?"
click 7
exit 0
STEPS
expect_installed 'C:\Program Files\FileTidemark'
expect_reg HKLM 'Software\Microsoft\Windows\CurrentVersion\Uninstall\FileTidemark' DisplayName FileTidemark
