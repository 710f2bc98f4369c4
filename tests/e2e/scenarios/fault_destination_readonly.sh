# A destination whose parent cannot be written (a read-only drive): the folder cannot be created.
sees "OK on R:\\TIDE does nothing visible, the page stays with the entry; Cancel and Yes end the" \
     "run with the terminated message"
leaves "nothing: no folder, no file, no uninstall entry"
tmpfs_drive R 1m ro
robot <<'STEPS'
start
wait "Destination Directory"
set 104 R:\TIDE
command 1
stays 500
text 104 R:\TIDE
click 2
wait "Exit FileTidemark"
click 6
wait "FileTidemark" 65535="The Installation process has been terminated."
click 1
exit 0
STEPS
expect_no_folder 'R:\TIDE'
expect_no_reg HKLM 'Software\Microsoft\Windows\CurrentVersion\Uninstall\FileTidemark' DisplayName
